#include <gtest/gtest.h>

#include "TestLists.h"
#include "app/Application.h"
#include "eprom/VerbundListe.h"
#include "util/ErrorInfo.h"
#include "util/UserInteraction.h"

namespace {
// A container: 64 directory entries of 6 bytes, then 128-byte blocks.
std::vector<uint8_t> Container(const std::vector<std::pair<std::string, std::vector<uint8_t>>>& lists)
{
    std::vector<uint8_t> dir(384, 0), blocks;
    int block = 3;
    for (size_t i = 0; i < lists.size(); ++i) {
        const auto& [id, bytes] = lists[i];
        int n = static_cast<int>((bytes.size() + 127) / 128);
        for (int k = 0; k < 3; ++k) dir[i * 6 + k] = static_cast<uint8_t>(id[k]);
        dir[i * 6 + 3] = static_cast<uint8_t>(block & 0xFF);
        dir[i * 6 + 4] = static_cast<uint8_t>(block >> 8);
        dir[i * 6 + 5] = static_cast<uint8_t>(n);
        std::vector<uint8_t> padded = bytes;
        padded.resize(n * 128, 0);
        blocks.insert(blocks.end(), padded.begin(), padded.end());
        block += n;
    }
    dir.resize(3 * 128, 0);
    dir.insert(dir.end(), blocks.begin(), blocks.end());
    return dir;
}

struct RecordingUi : IUserInteraction {
    std::vector<std::string> texts;
    int MessageBox(const std::string& t, unsigned) override
    {
        texts.push_back(t);
        return IDOK;
    }
};
}  // namespace

TEST_F(ProjectTreeFixture, LisaConversionWritesEachStepSequenceGroup)
{
    auto g1 = TestListBytes("S01", "Kette 1", {1, 2}, LTC_STEPSEQUENCE);
    auto g2 = TestListBytes("S02", "Kette 2", {}, LTC_STEPSEQUENCE);
    dir.Write("LISA.SYS", Container({{"S01", g1}, {"S02", g2}}));
    CErrorInfo err;
    CProjekt root(dir.path());
    ASSERT_TRUE(root.ConvertContainer("LISA.SYS", LTC_STEPSEQUENCE, 'G', err));
    EXPECT_EQ(dir.Read("GS01.SYS"), g1);  // exactly the length field's bytes
    EXPECT_EQ(dir.Read("GS02.SYS"), g2);
    EXPECT_FALSE(dir.Exists("LISA.SYS"));
}

TEST_F(ProjectTreeFixture, ContainerWithWrongTypeStopsAndStays)
{
    auto g1 = TestListBytes("S01", "Kette 1", {}, LTC_STEPSEQUENCE);
    auto p2 = TestListBytes("S02", "Protokoll", {}, LTC_PROTOCOL);
    dir.Write("LISA.SYS", Container({{"S01", g1}, {"S02", p2}}));
    RecordingUi ui;
    App().SetUi(&ui);
    auto root = OpenRoot();
    App().SetUi(nullptr);
    EXPECT_TRUE(dir.Exists("GS01.SYS"));
    EXPECT_TRUE(dir.Exists("LISA.SYS"));
    ASSERT_EQ(ui.texts.size(), 1u);
    EXPECT_EQ(ui.texts[0], "Fehler 12: Ung\xFCltige Daten in Datei  \"LISA.SYS\".");
}

TEST_F(ProjectTreeFixture, ContainerRefusesDamagedDirectories)
{
    auto g1 = TestListBytes("S01", "Kette", {}, LTC_STEPSEQUENCE);
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
    } cases[] = {
        {"short directory", std::vector<uint8_t>(100, 0)},
        {"path in identifier", Container({{"../", g1}})},
        {"block beyond the end", [&] { auto c = Container({{"S01", g1}}); c[3] = 200; return c; }()},
        {"length beyond the blocks", [&] { auto c = Container({{"S01", g1}}); c[384 + 1] = 0xFF; c[384 + 2] = 0x7F; return c; }()},
    };
    for (const Case& c : cases) {
        dir.Write("PROP.SYS", c.bytes);
        CErrorInfo err;
        CProjekt root(dir.path());
        EXPECT_FALSE(root.ConvertContainer("PROP.SYS", LTC_STEPSEQUENCE, 'P', err)) << c.what;
        EXPECT_EQ(err.Id(), 62012) << c.what;
        EXPECT_TRUE(dir.Exists("PROP.SYS"));
    }
    EXPECT_FALSE(fsx::IsRegularFile(dir.path() + "../P...SYS"));
}

TEST_F(ProjectTreeFixture, PinhvFillsTheCompositeLists)
{
    dir.Write("B001.920", TestListBytes("001", "Eins"));
    dir.Write("B002.920", TestListBytes("002", "Zwei"));
    std::vector<uint8_t> v(847, 0);
    v[35] = 810 & 0xFF;
    v[36] = 810 >> 8;
    auto table = [&](std::vector<std::string> names) {
        AppendU16(v, static_cast<unsigned>(81 * (names.size() + 2)));
        for (int i = 0; i < 2 + static_cast<int>(names.size()); ++i) {
            std::string text = i < 2 ? "Kopf" : "    " + names[i - 2] + "  Bild";
            std::vector<uint8_t> rec(81, ' ');
            rec[0] = static_cast<uint8_t>(text.size());
            std::copy(text.begin(), text.end(), rec.begin() + 1);
            v.insert(v.end(), rec.begin(), rec.end());
        }
    };
    table({"XXXX"});
    table({"YYYY"});
    table({"B001"});        // ROMGEN1
    table({});              // ROMGEN2
    table({});              // ROMGEN3
    table({"B002", "B001"});  // LDAT1
    table({});
    table({});
    dir.Write("PINHV.SYS", v);
    auto root = OpenRoot();
    EXPECT_FALSE(dir.Exists("PINHV.SYS"));
    auto l1 = dir.Read("LDAT1.920");
    EXPECT_EQ(std::string(l1.begin(), l1.end()), "B001B002");
    auto r1 = dir.Read("ROMGEN1.920");
    EXPECT_EQ(std::string(r1.begin(), r1.end()), "B001");
    EXPECT_NE(root->GetComposite(0), nullptr);
    EXPECT_EQ(root->GetComposite(4), nullptr);

    // A damaged fixed block is refused and the file stays.
    std::vector<uint8_t> bad(847, 0);
    dir.Write("PINHV.SYS", bad);
    CErrorInfo err;
    EXPECT_FALSE(root->ConvertPinhv(err));
    EXPECT_EQ(err.Id(), 62012);
    EXPECT_TRUE(dir.Exists("PINHV.SYS"));
}
