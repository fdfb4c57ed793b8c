#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>

#include "RunProcess.h"
#include "TempDir.h"

namespace {
std::vector<std::string> Split(const std::string& line)
{
    std::vector<std::string> cells;
    size_t start = 0;
    for (;;) {
        size_t tab = line.find('\t', start);
        cells.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
        if (tab == std::string::npos) break;
        start = tab + 1;
    }
    return cells;
}

class PxCli : public ::testing::Test {
protected:
    void SetUp() override
    {
        project = tmp.path() + "demo";
        auto r = RunProgram("px920", {"demo", project});
        ASSERT_EQ(r.exitCode, 0) << r.err;
    }
    ProcessResult Px(std::vector<std::string> args) { return RunProgram("px920", args, {"PX920WIN_INI=" + tmp.path() + "x.ini"}); }
    TempDir tmp;
    std::string project;
};
}  // namespace

TEST_F(PxCli, LsShowsRootCategoriesAndFixedLists)
{
    auto r = Px({"ls", project});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    auto lines = Lines(r.out);
    ASSERT_GE(lines.size(), 7u);
    EXPECT_EQ(lines[0], "Bezeichnung\tKennung\tExt\tDatum\tL\xC3\xA4nge");  // UTF-8 on the terminal
    std::vector<std::string> names;
    for (size_t i = 1; i < lines.size(); ++i) names.push_back(Split(lines[i])[0]);
    EXPECT_EQ(std::vector<std::string>(names.begin(), names.begin() + 5),
              (std::vector<std::string> {"Bilder", "Textgruppen", "Schrittketten-Gruppen", "Protokolle", "Optionen"}));
    EXPECT_NE(std::find(names.begin(), names.end(), "Systemdaten-Liste"), names.end());
    for (size_t i = 1; i < lines.size(); ++i) EXPECT_EQ(Split(lines[i]).size(), 5u) << lines[i];
}

TEST_F(PxCli, LsFollowsPathsByRowNameAndIdentifier)
{
    auto byName = Px({"ls", project, "optionen"});
    auto byRow = Px({"ls", project, "5"});
    ASSERT_EQ(byName.exitCode, 0);
    EXPECT_EQ(byName.out, byRow.out);
    auto lines = Lines(byName.out);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(Split(lines[3])[1], "ERST");
    auto composite = Px({"ls", project, "LDAT1"});
    ASSERT_EQ(composite.exitCode, 0);
    EXPECT_EQ(Lines(composite.out)[0], "Kennung\tExt\tBezeichnung\tV\tDatum\tL\xC3\xA4nge");
    auto bad = Px({"ls", project, "Optionen/XYZ"});
    EXPECT_EQ(bad.exitCode, 2);
    EXPECT_NE(bad.err.find("XYZ"), std::string::npos);
}

TEST_F(PxCli, UnreadableListReportsFileError)
{
    // A text group whose header the scan accepts but whose body is cut off.
    std::vector<uint8_t> bytes = {9, 20, 0, 2, 'X', 'B', 'A', 'D', 5, 'K', 'a', 'p', 'u'};
    TempDir::WriteTo(project + "/TBAD.920", bytes);
    auto listing = Px({"ls", project, "Textgruppen"});
    ASSERT_EQ(listing.exitCode, 0);
    ASSERT_NE(listing.out.find("TBAD"), std::string::npos) << "the probe should accept the header";
    auto r = Px({"ls", project, "Textgruppen/TBAD"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "Fehler 42: Fehler bei Dateizugriff\n");
    auto v = Px({"validate", project});
    EXPECT_EQ(v.exitCode, 1);
    EXPECT_NE(v.err.find("TBAD: Fehler 42: Fehler bei Dateizugriff"), std::string::npos) << v.err;
}

TEST_F(PxCli, InfoNewAndValidate)
{
    auto info = Px({"info", project});
    ASSERT_EQ(info.exitCode, 0);
    auto cells = Split(Lines(info.out)[0]);
    ASSERT_EQ(cells.size(), 3u);
    EXPECT_EQ(cells[0], "Kl\xC3\xA4ranlage Nord");
    EXPECT_EQ(cells[1], "920");
    EXPECT_EQ(Px({"info", tmp.path()}).exitCode, 1);

    EXPECT_EQ(Px({"validate", project}).exitCode, 0);

    auto again = Px({"new", project, "X"});
    EXPECT_EQ(again.exitCode, 1);
    EXPECT_NE(again.err.find("Kl\xC3\xA4ranlage Nord"), std::string::npos);
    auto blank = Px({"new", tmp.path() + "n", "   "});
    EXPECT_EQ(blank.err, "Fehler 11: Bitte geben Sie einen Projektnamen ein.\n");
    auto sys = Px({"new", tmp.path() + "n//", "Wasserwerk", "--ext", "SYS"});
    ASSERT_EQ(sys.exitCode, 0) << sys.err;
    EXPECT_EQ(Split(Lines(Px({"info", tmp.path() + "n"}).out)[0])[1], "SYS");
    EXPECT_EQ(Px({"new", tmp.path() + "m", "A", "--ext", "TXT"}).exitCode, 2);
    EXPECT_EQ(Px({"frobnicate"}).exitCode, 2);
    auto longName = Px({"new", tmp.path() + "l", std::string(33, 'x')});
    EXPECT_EQ(longName.exitCode, 1);
    EXPECT_EQ(longName.err, "Der Projektname darf h\xC3\xB6""chstens 32 Zeichen lang sein.\n");
}
