#include <gtest/gtest.h>

#include "app/IniFile.h"
#include "../util/TempDir.h"

TEST(IniFile, LookupIgnoresCaseAndBlanks)
{
    CIniFile ini;
    ini.Parse("[Configuration]\r\n  ComPort = 2 \r\nConnect=Offline\n[Font]\nStandard=\"Courier New\"\n");
    EXPECT_EQ(ini.GetInt("configuration", "COMPORT", 1), 2);
    EXPECT_EQ(ini.GetString("CONFIGURATION", "connect", "x"), "Offline");
    EXPECT_EQ(ini.GetString("Font", "Standard", ""), "Courier New");  // quotes are not part of the value
    EXPECT_EQ(ini.GetString("Font", "Missing", "def"), "def");
    EXPECT_EQ(ini.GetString("Nowhere", "Key", "def"), "def");
    EXPECT_TRUE(ini.HasSection("font"));
    EXPECT_FALSE(ini.HasSection("Printer1"));
    EXPECT_TRUE(ini.HasKey("Font", "standard"));
}

TEST(IniFile, ProfileIntegerRules)
{
    struct Case {
        const char* value;
        int expected;
    } cases[] = {
        {"42", 42}, {"  42", 42}, {"-8", -8}, {"+5", 5}, {"12abc", 12}, {"abc", 0},
        {"-", 0}, {"4294967295", -1}, {"", 77},  // an empty value reads as missing
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        CIniFile ini;
        ini.Parse(std::string("[S]\nK=") + c.value + "\n");
        EXPECT_EQ(ini.GetInt("S", "K", 77), c.expected);
    }
    CIniFile ini;
    EXPECT_EQ(ini.GetInt("S", "K", 77), 77);
}

TEST(IniFile, StringsAreCutTo254Characters)
{
    CIniFile ini;
    ini.SetString("S", "K", std::string(300, 'a'));
    EXPECT_EQ(ini.GetString("S", "K", "").size(), 254u);
    EXPECT_EQ(ini.GetString("S", "Missing", std::string(300, 'b')).size(), 254u);
}

TEST(IniFile, RewriteKeepsCommentsUnknownSectionsAndOrder)
{
    const std::string text =
        "; settings\n"
        "[Configuration]\n"
        "ComPort=1\n"
        "; a comment inside\n"
        "\n"
        "[Mine]\n"
        "Foo=bar\n";
    CIniFile ini;
    ini.Parse(text);
    EXPECT_EQ(ini.ToText(), text);

    ini.SetInt("configuration", "ComPort", 3);
    ini.SetString("Configuration", "LptPort", "2");
    ini.SetString("New Section", "Key", "v");
    EXPECT_EQ(ini.ToText(),
              "; settings\n"
              "[Configuration]\n"
              "ComPort=3\n"
              "; a comment inside\n"
              "LptPort=2\n"
              "\n"
              "[Mine]\n"
              "Foo=bar\n"
              "[New Section]\n"
              "Key=v\n");

    ini.DeleteKey("MINE", "foo");
    ini.DeleteSection("configuration");
    EXPECT_EQ(ini.ToText(), "; settings\n[Mine]\n[New Section]\nKey=v\n");
    EXPECT_EQ(ini.Keys("New Section"), std::vector<std::string>{"Key"});
}

TEST(IniFile, ValuesCannotBreakLines)
{
    CIniFile ini;
    ini.SetString("S", "K", "a\nb\r[X]");
    CIniFile back;
    back.Parse(ini.ToText());
    EXPECT_FALSE(back.HasSection("X"));
    EXPECT_EQ(back.GetString("S", "K", ""), "a b [X]");
}

TEST(IniFile, LoadAndSave)
{
    TempDir dir;
    CIniFile ini;
    EXPECT_FALSE(ini.Load(dir / "missing.ini"));
    ini.SetInt("S", "N", -5);
    ASSERT_TRUE(ini.Save(dir / "a.ini"));
    EXPECT_EQ(dir.ReadText("a.ini"), "[S]\nN=-5\n");
    CIniFile back;
    ASSERT_TRUE(back.Load(dir / "a.ini"));
    EXPECT_EQ(back.GetInt("S", "N", 0), -5);
    EXPECT_FALSE(ini.Save(dir / "no/such/dir.ini"));
}
