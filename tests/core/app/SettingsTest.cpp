#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

#include "app/Settings.h"
#include "../util/TempDir.h"

namespace {
bool UsLocale() { return true; }
bool MetricLocale() { return false; }

// Reads settings from the given file text through a real file.
struct SettingsFixture {
    TempDir dir;
    CSettings s;
    explicit SettingsFixture(const std::string& text, bool usLocale = false)
    {
        dir.WriteText("PX920Win.ini", text);
        s.usMeasurement = usLocale ? &UsLocale : &MetricLocale;
        s.Read(dir / "PX920Win.ini");
    }
    CIniFile Written(bool nameChanged = false)
    {
        EXPECT_TRUE(s.WriteAtExit(nameChanged));
        CIniFile ini;
        EXPECT_TRUE(ini.Load(dir / "PX920Win.ini"));
        return ini;
    }
};

// Sets an environment variable for the scope and restores it afterwards.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : m_name(name)
    {
        if (const char* old = std::getenv(name)) m_old = old;
        if (value) setenv(name, value, 1);
        else unsetenv(name);
    }
    ~ScopedEnv()
    {
        if (m_old) setenv(m_name, m_old->c_str(), 1);
        else unsetenv(m_name);
    }

private:
    const char* m_name;
    std::optional<std::string> m_old;
};
}  // namespace

TEST(Settings, EmptyFileGivesTheDefaults)
{
    ScopedEnv home("HOME", "/home/tester");
    SettingsFixture f("");
    const CSettings& s = f.s;
    EXPECT_EQ(s.comPort, 1);
    EXPECT_EQ(s.lptPort, 1);
    EXPECT_EQ(s.projectExtension, "920");
    EXPECT_TRUE(s.online);
    EXPECT_FALSE(s.oldFirmware);
    EXPECT_FALSE(s.cyrillic);
    EXPECT_EQ(s.fontStandard, "Courier New");
    EXPECT_EQ(s.fontCyrillic, "Courier New Cyr");
    EXPECT_EQ(s.fontHeight, 15);
    EXPECT_EQ(s.maxDwNumber, 255);
    EXPECT_EQ(s.editSequence, "WSCBV");
    EXPECT_EQ(s.listSequence, "VSWCB");
    EXPECT_EQ(s.helpFileName, "PX920Win.htm");
    EXPECT_EQ(s.lastProjectPath, "/home/tester/");
    EXPECT_FALSE(s.autoSize);
    EXPECT_EQ(s.minRowCount, 5);
    EXPECT_EQ(s.maxRowCount, 30);
    EXPECT_EQ(s.reportHeight, 20);
    EXPECT_EQ(s.leftMargin, 1800);
    EXPECT_EQ(s.topMargin, 1440);
    EXPECT_EQ(s.rightMargin, 1800);
    EXPECT_EQ(s.bottomMargin, 1440);
    EXPECT_EQ(s.pageWidth, 11900);
    EXPECT_EQ(s.pageHeight, 16832);
    EXPECT_TRUE(s.metric);
    EXPECT_EQ(s.printFontHeight, 160);  // -20 * -8 points
    EXPECT_EQ(s.printFontWeight, 0);
    EXPECT_EQ(s.printFontCharSet, 1);
    EXPECT_EQ(s.printFontPitchAndFamily, 1);
    EXPECT_EQ(s.printFontFaceName, "Courier New");
    EXPECT_EQ(s.prommerType, 0);
    EXPECT_EQ(s.cardType, 0);
    EXPECT_TRUE(s.recentFiles.empty());
}

TEST(Settings, ExitWritesEveryKeyOfAnEmptyFile)
{
    SettingsFixture f("");
    CIniFile ini = f.Written();
    const std::vector<std::pair<std::string, std::vector<std::string>>> expected = {
        {"Font", {"Standard", "Cyrillic", "Height"}},
        {"Configuration", {"ComPort", "LptPort", "ProjectExtension", "Connect", "PX920 Firmware", "Charset"}},
        {"PX920 Settings", {"MAX DW Number", "EditSequence", "ListSequence"}},
        {"Printer1", {"Name", "String1", "String2", "String3", "String4", "String5", "String6", "String7", "String8",
                      "String9", "String10", "String11"}},
        {"Help", {"File Name"}},
        {"Project", {"Last project path"}},
        {"ReportSettings", {"AutoSize", "MinRowCount", "MaxRowCount", "Height"}},
        {"PrintSettings",
         {"LeftMargin", "TopMargin", "RightMargin", "BottomMargin", "PageWidth", "PageHeight", "Units"}},
        {"PrintFont", {"Height", "Weight", "Italic", "Underline", "PitchAndFamily", "CharSet", "FaceName"}},
    };
    for (const auto& [section, keys] : expected) {
        SCOPED_TRACE(section);
        EXPECT_EQ(ini.Keys(section), keys);
    }
    EXPECT_EQ(ini.GetString("Configuration", "Connect", ""), "Online");
    EXPECT_EQ(ini.GetString("Configuration", "PX920 Firmware", ""), ">=V3.6");
    EXPECT_EQ(ini.GetString("Configuration", "Charset", ""), "Standard");
    EXPECT_EQ(ini.GetString("PrintSettings", "Units", ""), "METRIC");
    EXPECT_EQ(ini.GetString("PrintFont", "Height", ""), "8");
    EXPECT_EQ(ini.GetString("ReportSettings", "AutoSize", ""), "0");
    EXPECT_EQ(ini.GetString("Printer1", "Name", ""), "Example");
    // Every byte as "%02X ", the blank after the last one included.
    std::string text = f.dir.ReadText("PX920Win.ini");
    for (const char* line : {"\nString1=1B 45 \n", "\nString2=0D \n", "\nString3=0A \n", "\nString4=0D \n",
                             "\nString5=1B 28 73 31 42 \n", "\nString6=1B 28 73 30 42 \n", "\nString7=1B 26 64 44 \n",
                             "\nString8=1B 26 64 40 \n", "\nString9=1B 26 6B 30 53 \n", "\nString10=1B 26 6B 34 53 \n",
                             "\nString11=1B 26 6B 32 53 \n"})
        EXPECT_NE(text.find(line), std::string::npos) << line;
    EXPECT_FALSE(ini.HasSection("Recent File List"));

    // Read back, the written file gives the same values.
    CSettings again;
    again.usMeasurement = &UsLocale;  // Units is in the file now: the locale no longer matters
    again.Read(f.dir / "PX920Win.ini");
    EXPECT_TRUE(again.metric);
    EXPECT_EQ(again.printFontHeight, -160);
    EXPECT_EQ(again.editSequence, "WSCBV");
}

TEST(Settings, RowCountsAreClamped)
{
    struct Case {
        const char* key;
        int value;
        int expected;
    } cases[] = {
        {"MinRowCount", 31, 5}, {"MinRowCount", 30, 30}, {"MinRowCount", 3, 3},
        {"MaxRowCount", 31, 30}, {"MaxRowCount", 30, 30}, {"MaxRowCount", 12, 12},
        {"Height", 40, 30}, {"Height", 30, 30}, {"Height", 10, 10},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.key) + "=" + std::to_string(c.value));
        SettingsFixture f(std::string("[ReportSettings]\n") + c.key + "=" + std::to_string(c.value) + "\n");
        int got = std::string(c.key) == "MinRowCount"   ? f.s.minRowCount
                  : std::string(c.key) == "MaxRowCount" ? f.s.maxRowCount
                                                        : f.s.reportHeight;
        EXPECT_EQ(got, c.expected);
    }
}

TEST(Settings, SequencesAreValidated)
{
    struct Case {
        const char* edit;
        const char* expectedEdit;
        const char* list;
        const char* expectedList;
    } cases[] = {
        {"vbcsw", "VBCSW", "bcwsv", "BCWSV"},  // other order and lower case: used in upper case
        {"WSCB", "WSCBV", "VSWC", "VSWCB"},      // one letter missing
        {"WSCBX", "WSCBV", "VSWCX", "VSWCB"},    // one letter replaced
        {"WSCBVV", "WSCBV", "VVSWCB", "VSWCB"},  // too long
        {"WSCBB", "WSCBV", "VSWCC", "VSWCB"},    // a letter twice instead of another
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.edit);
        SettingsFixture f(std::string("[PX920 Settings]\nEditSequence=") + c.edit + "\nListSequence=" + c.list + "\n");
        EXPECT_EQ(f.s.editSequence, c.expectedEdit);
        EXPECT_EQ(f.s.listSequence, c.expectedList);
    }
}

TEST(Settings, ExitRepairsOnlyInvalidSequences)
{
    SettingsFixture f("[PX920 Settings]\nEditSequence=vbcsw\nListSequence=VSWCX\n");
    CIniFile ini = f.Written();
    EXPECT_EQ(ini.GetString("PX920 Settings", "EditSequence", ""), "vbcsw");  // valid: left as it is
    EXPECT_EQ(ini.GetString("PX920 Settings", "ListSequence", ""), "VSWCB");
}

TEST(Settings, StringOptionsFallBackToTheirDocumentedMeaning)
{
    struct Case {
        const char* connect;
        bool online;
        const char* firmware;
        bool oldFirmware;
        const char* charset;
        bool cyrillic;
    } cases[] = {
        {"offline", false, "<v3.6", true, "cyrillic", true},
        {"OFFLINE", false, "<V3.6", true, "CYRILLIC", true},
        {"Aus", true, "V3.5", false, "Kyrillisch", false},
        {"Offline ", false, ">=V3.6", false, "Standard", false},  // trailing blanks are not part of a value
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.connect);
        SettingsFixture f(std::string("[Configuration]\nConnect=") + c.connect + "\nPX920 Firmware=" + c.firmware +
                          "\nCharset=" + c.charset + "\n");
        EXPECT_EQ(f.s.online, c.online);
        EXPECT_EQ(f.s.oldFirmware, c.oldFirmware);
        EXPECT_EQ(f.s.cyrillic, c.cyrillic);
        CIniFile ini = f.Written();
        EXPECT_EQ(ini.GetString("Configuration", "Connect", ""), c.online ? "Online" : "Offline");
        EXPECT_EQ(ini.GetString("Configuration", "PX920 Firmware", ""), c.oldFirmware ? "<V3.6" : ">=V3.6");
        EXPECT_EQ(ini.GetString("Configuration", "Charset", ""), c.cyrillic ? "Cyrillic" : "Standard");
    }
}

TEST(Settings, ProjectExtensionIsOneOfTheTwo)
{
    struct Case {
        const char* value;
        const char* expected;
    } cases[] = {{"SYS", "SYS"}, {"sys", "SYS"}, {"920", "920"}, {"../x", "920"}, {"TXT", "920"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        SettingsFixture f(std::string("[Configuration]\nProjectExtension=") + c.value + "\n");
        EXPECT_EQ(f.s.projectExtension, c.expected);
    }
}

TEST(Settings, UnitsDefaultFollowsTheLocale)
{
    EXPECT_FALSE(SettingsFixture("", true).s.metric);
    EXPECT_TRUE(SettingsFixture("", false).s.metric);
    EXPECT_TRUE(SettingsFixture("[PrintSettings]\nUnits=metric\n", true).s.metric);
    EXPECT_FALSE(SettingsFixture("[PrintSettings]\nUnits=Zoll\n", false).s.metric);

    SettingsFixture us("", true);
    EXPECT_EQ(us.Written().GetString("PrintSettings", "Units", ""), "INCHES");
}

TEST(Settings, PrintFont)
{
    {
        SettingsFixture f("[PrintFont]\nHeight=10\nWeight=700\nItalic=1\nPitchAndFamily=2\nCharSet=0\nFaceName=" +
                          std::string(40, 'F') + "\n");
        EXPECT_EQ(f.s.printFontHeight, -200);
        EXPECT_EQ(f.s.printFontWeight, 700);
        EXPECT_EQ(f.s.printFontItalic, 1);
        EXPECT_EQ(f.s.printFontCharSet, 0);
        EXPECT_EQ(f.s.printFontPitchAndFamily, 1);  // always fixed pitch
        EXPECT_EQ(f.s.printFontFaceName, std::string(31, 'F'));
        CIniFile ini = f.Written();
        EXPECT_EQ(ini.GetInt("PrintFont", "Height", 0), 10);
        EXPECT_EQ(ini.GetInt("PrintFont", "Weight", 0), 700);
        EXPECT_EQ(ini.GetInt("PrintFont", "PitchAndFamily", 0), 1);
    }
    {
        // Height 0: the default font; the other keys are neither read nor written.
        SettingsFixture f("[PrintFont]\nHeight=0\nWeight=700\nFaceName=Arial\n");
        EXPECT_EQ(f.s.printFontHeight, 0);
        EXPECT_EQ(f.s.printFontWeight, 0);
        EXPECT_EQ(f.s.printFontFaceName, "Courier New");
        f.dir.WriteText("PX920Win.ini", "");
        CIniFile ini = f.Written();
        EXPECT_EQ(ini.Keys("PrintFont"), std::vector<std::string>{"Height"});
        EXPECT_EQ(ini.GetInt("PrintFont", "Height", -1), 0);
    }
}

TEST(Settings, Printer1IsCreatedOnlyWhenMissing)
{
    SettingsFixture f("[printer1]\nName=Mine\nString1=1B \n");
    CIniFile ini = f.Written();
    EXPECT_EQ(ini.GetString("Printer1", "Name", ""), "Mine");
    EXPECT_EQ(ini.Keys("Printer1").size(), 2u);
}

TEST(Settings, RecentFileList)
{
    SettingsFixture f("[Recent File List]\nFile1=/p/a/Alpha\nFile2=/p/b/Beta\n");
    EXPECT_EQ(f.s.recentFiles, (std::vector<std::string>{"/p/a/Alpha", "/p/b/Beta"}));
    f.s.AddRecentFile("/p/c/Gamma");
    f.s.AddRecentFile("/p/d/Delta");
    f.s.AddRecentFile("/P/B/BETA");  // the same entry ignoring case moves to the front
    f.s.AddRecentFile("/p/e/Eps");
    EXPECT_EQ(f.s.recentFiles, (std::vector<std::string>{"/p/e/Eps", "/P/B/BETA", "/p/d/Delta", "/p/c/Gamma"}));

    CIniFile kept = f.Written(false);
    EXPECT_EQ(kept.Keys("Recent File List"), (std::vector<std::string>{"File1", "File2", "File3", "File4"}));
    EXPECT_EQ(kept.GetString("Recent File List", "File2", ""), "/P/B/BETA");

    // A changed project name drops the whole section: its entries end with old names.
    CIniFile dropped = f.Written(true);
    EXPECT_FALSE(dropped.HasSection("Recent File List"));
}

TEST(Settings, RecentFileEntryReplacesSeparatorsInTheName)
{
    EXPECT_EQ(RecentFileEntry("/data/proj/", "Anlage 1/2\\3      "), "/data/proj/Anlage 1 2 3");
    EXPECT_EQ(RecentFileEntry("/data/proj/", "Name"), "/data/proj/Name");
    // The directory is what lies before the last '/'.
    std::string entry = RecentFileEntry("/data/proj/", "A/B");
    EXPECT_EQ(entry.substr(0, entry.rfind('/') + 1), "/data/proj/");
}

TEST(Settings, ExitKeepsKeysWrittenMeanwhile)
{
    SettingsFixture f("[Configuration]\nComPort=2\n");
    f.dir.WriteText("PX920Win.ini", "[Configuration]\nComPort=2\n[Printer2]\nName=Added\n");
    f.s.comPort = 3;
    CIniFile ini = f.Written();
    EXPECT_EQ(ini.GetInt("Configuration", "ComPort", 0), 3);
    EXPECT_EQ(ini.GetString("Printer2", "Name", ""), "Added");
}

TEST(Settings, LptPortIsWrittenAtOnce)
{
    SettingsFixture f("");
    EXPECT_EQ(f.s.WriteLptPort(3), 0);
    EXPECT_EQ(f.s.ReadLptPort(), 3);
    CIniFile ini;
    ASSERT_TRUE(ini.Load(f.dir / "PX920Win.ini"));
    EXPECT_EQ(ini.GetInt("Configuration", "LptPort", 0), 3);
}

TEST(Settings, PortDevices)
{
    SettingsFixture f("[Ports]\nCOM2=/dev/pts/7\nLPT1=/dev/usb/lp0\n");
    EXPECT_EQ(f.s.ComDevice(1), "/dev/ttyS0");
    EXPECT_EQ(f.s.ComDevice(2), "/dev/pts/7");
    EXPECT_EQ(f.s.ComDevice(4), "/dev/ttyS3");
    EXPECT_EQ(f.s.LptDevice(1), "/dev/usb/lp0");
    EXPECT_EQ(f.s.LptDevice(2), "/dev/lp1");
}

TEST(Settings, DefaultSettingsPath)
{
    TempDir dir;
    {
        ScopedEnv ini("PX920WIN_INI", (dir / "custom.ini").c_str());
        EXPECT_EQ(DefaultSettingsPath(dir.Path()), dir / "custom.ini");
    }
    ScopedEnv noIni("PX920WIN_INI", nullptr);
    ScopedEnv xdg("XDG_CONFIG_HOME", (dir / "config").c_str());
    // A writable executable directory holds the file.
    EXPECT_EQ(DefaultSettingsPath(dir.Path()), dir / "PX920Win.ini");
    // Elsewhere (here: a directory that cannot be written because it does not exist).
    std::string expected = dir / "config/px920win/PX920Win.ini";
    EXPECT_EQ(DefaultSettingsPath(dir / "missing/bin/"), expected);

    // Writing there creates the directory.
    CSettings s;
    s.usMeasurement = &MetricLocale;
    s.Read(expected);
    ASSERT_TRUE(s.WriteAtExit(false));
    CIniFile back;
    EXPECT_TRUE(back.Load(expected));
    EXPECT_TRUE(back.HasSection("Configuration"));
}
