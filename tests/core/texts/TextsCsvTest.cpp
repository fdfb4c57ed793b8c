// Text groups as CSV: export, import and everything the import refuses.
#include "TextsFixture.h"
#include "texts/TextsCsv.h"
#include "util/Charset.h"

namespace {
const std::string kHeader = "Liste;Listenname;DB;DW;Bit;Protokoll-Nr;Protokoll-BA;Text\n";
}

TEST_F(TextsFixture, CsvExportQuotesWhereNeeded)
{
    auto root = OpenRoot();
    CTextgruppe* g = NewGroup(*root, "EXP", "E");
    CTextliste* a = AddList(*g, "PMP", 10, PadRight(Utf8ToCp1252("Pumpen; Zulauf"), 32));
    AddText(*a, 0, 1, Utf8ToCp1252("Pumpe 2 @001 gestört"), 1, 2);
    AddText(*a, 0, 0, "Sagt \"Hallo\"", 31, 0);
    AddText(*a, 3, 4, " Rand ");
    a->ChildChanged(nullptr);
    AddList(*g, "LEE", 200, PadRight("Leer", 32));
    EXPECT_EQ(ExportTextGroupCsv(*g, false),
              kHeader +
                  "PMP;\"Pumpen; Zulauf\";10;0;0;31;0;\"Sagt \"\"Hallo\"\"\"\n"
                  "PMP;\"Pumpen; Zulauf\";10;0;1;1;2;Pumpe 2 @001 gestört\n"
                  "PMP;\"Pumpen; Zulauf\";10;3;4;0;0;\" Rand \"\n"
                  "LEE;Leer;200;;;;;\n");
}

TEST_F(TextsFixture, CsvImportCreatesTheGroupAndRoundTrips)
{
    auto root = OpenRoot();
    std::string csv = kHeader +
                      "B02;Zweite;7;4;0;0;0;\"mit \"\"Zitat\"\"; und Semikolon\"\r\n"
                      "B01;Erste;5;9;1;5;1;Gebläse @005 aus\r\n"
                      "B01;Erste;5;2;15;0;0;\"zwei; Felder \"\r\n"
                      "\r\n"
                      "B03;Leer;1;;;;;\r\n";
    std::string message;
    ASSERT_TRUE(ImportTextGroupCsv(*root, "neu", csv, "Neue Gruppe", false, message)) << message;
    CTextgruppe* g = Group(*root, "TNEU");
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->GetIdentifier(), "neu");
    EXPECT_EQ(g->m_name, PadRight("Neue Gruppe", 32));
    EXPECT_FALSE(g->m_modified);
    ASSERT_TRUE(dir.Exists("TNEU.920"));

    auto again = OpenRoot();
    CTextgruppe* g2 = Group(*again, "TNEU");
    ASSERT_TRUE(g2 && g2->Load());
    ASSERT_EQ(g2->GetChildCount(), 3);
    auto* b01 = static_cast<CTextliste*>(g2->GetChild(0));
    EXPECT_EQ(b01->m_name, PadRight("Erste", 32));
    EXPECT_EQ(b01->m_db, 5);
    ASSERT_EQ(b01->GetChildCount(), 2);
    auto* first = static_cast<CMeldetext*>(b01->GetChild(0));
    EXPECT_EQ(first->m_text, "zwei; Felder ");
    auto* second = static_cast<CMeldetext*>(b01->GetChild(1));
    EXPECT_EQ(second->m_text, Utf8ToCp1252("Gebläse @005 aus"));
    EXPECT_EQ(second->m_protocolNumber, 5);
    EXPECT_EQ(second->m_protocolMode, 1);
    EXPECT_EQ(g2->ComputeTypeCode(), 10);
    EXPECT_EQ(static_cast<CTextliste*>(g2->GetChild(2))->GetChildCount(), 0);

    // Exported and imported again, the group file stays byte for byte the same.
    std::vector<uint8_t> before = dir.Read("TNEU.920");
    std::string exported = ExportTextGroupCsv(*g2, false);
    ASSERT_TRUE(ImportTextGroupCsv(*again, "TNEU", exported, "", false, message)) << message;
    EXPECT_EQ(dir.Read("TNEU.920"), before);
    EXPECT_EQ(ExportTextGroupCsv(*g2, false), exported);
}

TEST_F(TextsFixture, CsvImportRefusesAndWritesNothing)
{
    App().Settings().maxDwNumber = 300;
    struct Case {
        std::string csv;
        std::string message;  // beginning of the message
    } cases[] = {
        {"Liste;Name;DB;DW;Bit;Protokoll-Nr;Protokoll-BA;Text\n", "Zeile 1: Kopfzeile erwartet"},
        {"", "Zeile 1: Kopfzeile erwartet"},
        {kHeader + "L01;n;1;1;1;0;0;a\nL01;n;1;301;0;0;0;b\n", "Zeile 3, DW: Geben Sie bitte eine ganze Zahl zwischen 0 und 300 ein."},
        {kHeader + "L01;n;0;1;1;0;0;a\n", "Zeile 2, DB: Geben Sie bitte eine ganze Zahl zwischen 1 und 255 ein."},
        {kHeader + "L01;n;1;1;16;0;0;a\n", "Zeile 2, Bit: Geben Sie bitte eine ganze Zahl zwischen 0 und 15 ein."},
        {kHeader + "L01;n;1;1;1;32;0;a\n", "Zeile 2, Protokoll-Nr: Geben Sie bitte eine ganze Zahl zwischen 0 und 31 ein."},
        {kHeader + "L01;n;1;1;1;0;2;a\n", "Zeile 2, Protokoll-Nr: Geben Sie bitte eine ganze Zahl zwischen 1 und 30 ein."},
        {kHeader + "L01;n;1;1;1;3;5;a\n", "Zeile 2, Protokoll-BA: Geben Sie bitte eine ganze Zahl zwischen 0 und 4 ein."},
        {kHeader + "L01;n;1;x;1;0;0;a\n", "Zeile 2, DW: Geben Sie bitte eine ganze Zahl ein."},
        {kHeader + "L01;n;1;1;1;0;0;" + std::string(81, 'a') + "\n", "Zeile 2, Text: Geben Sie bitte nicht mehr als 80 Zeichen ein."},
        {kHeader + "L01;n;1;1;1;0;0;Haken \xE2\x9C\x93\n", "Zeile 2, Text: Zeichen"},
        {kHeader + "L01;n;1;1;1;0;0;a\x1b" "b\n", "Zeile 2, Text: Zeichen"},
        {kHeader + "L01;n;1;1;1;0;0;\xC3\n", "Zeile 2, Text: Zeichen"},
        {kHeader + "L01;n;1;1;1;0;0\n", "Zeile 2: 8 Felder erwartet, 7 gefunden."},
        {kHeader + "L01;n;1;1;1;0;0;\"a\nb\nL02;n;1;1;1;0;0;c\n", "Zeile 2: "},
        {kHeader + "L.1;n;1;1;1;0;0;a\n", "Zeile 2, Liste: Fehler 92"},
        {kHeader + "L1;n;1;1;1;0;0;a\n", "Zeile 2, Liste: Fehler 9:"},
        {kHeader + "L01;n;1;1;1;0;0;a\nL01;anders;1;2;1;0;0;a\n", "Zeile 3: Listenname oder DB weicht"},
        {kHeader + "L01;" + std::string(33, 'n') + ";1;1;1;0;0;a\n", "Zeile 2, Listenname: Geben Sie bitte nicht mehr als 32"},
        {kHeader + "L01;n;1;1;1;0;0;a\n\"x\ny\";n;1;1;1;0;0;a\nL02;n;1;1;1;0;0;a;zu viel\n", "Zeile 3: Zeichen"},  // a line break is no character of the module
        {kHeader + "L01;n;1;1;1;0;0;a\n\"L02\";n;1;1;1;0;0;\"a\";b\n", "Zeile 3: 8 Felder erwartet, 9 gefunden."},
        {kHeader + "abc;n;1;1;1;0;0;a\nABC;n;1;1;1;0;0;a\n", "Fehler 99"},
        {kHeader + "L01;n;1;1;1;0;0;a\nL01;n;1;1;1;0;0;b\n", "Fehler 96: Die Liste NL01 ist fehlerhaft.\nFehler 95"},
    };
    dir.Write("TOLD.920", {9, 17, 0, 5, 'D', 'e', 'm', 'o', 'O', 'L', 'D', 2, 'x', 1, 'L', '0', '1', 9, 0, 1, 3, 0, 0});
    for (const Case& c : cases) {
        auto root = OpenRoot();
        std::vector<uint8_t> before = dir.Read("TOLD.920");
        std::string message;
        EXPECT_FALSE(ImportTextGroupCsv(*root, "TOLD", c.csv, "", false, message)) << c.message;
        EXPECT_EQ(message.substr(0, Utf8ToCp1252(c.message).size()), Utf8ToCp1252(c.message)) << message;
        EXPECT_EQ(dir.Read("TOLD.920"), before) << c.message;
        EXPECT_FALSE(ImportTextGroupCsv(*root, "NEW", c.csv, "", false, message)) << c.message;
        EXPECT_FALSE(dir.Exists("TNEW.920")) << c.message;
        EXPECT_EQ(Group(*root, "TNEW"), nullptr);
        // The existing group keeps its list in memory too.
        CTextgruppe* old = Group(*root, "TOLD");
        ASSERT_TRUE(old && old->Load());
        EXPECT_EQ(old->GetChildCount(), 1);
    }
    App().Settings().maxDwNumber = 255;
}

TEST_F(TextsFixture, CsvImportOfNewGroupChecksItsIdentifier)
{
    auto root = OpenRoot();
    NewGroup(*root, "ABC");
    std::string message;
    EXPECT_FALSE(ImportTextGroupCsv(*root, "A:", kHeader, "", false, message));
    EXPECT_EQ(message, Utf8ToCp1252("Fehler 92: Listen-Kennung oder -Name enthalten \nein oder mehrere unzulässige Zeichen.."));
    EXPECT_FALSE(ImportTextGroupCsv(*root, "AB", kHeader, "", false, message));
    EXPECT_EQ(message, Utf8ToCp1252("Fehler 9: Die Listen-Kennung  muß 3 Zeichen lang sein."));
    EXPECT_FALSE(ImportTextGroupCsv(*root, "NEU", kHeader, std::string(33, 'n'), false, message));
    EXPECT_EQ(message, "Geben Sie bitte nicht mehr als 32 Zeichen ein.");
}

TEST_F(TextsFixture, CsvImportWithCyrillicCharacterSet)
{
    App().Settings().cyrillic = true;
    auto root = OpenRoot();
    std::string message;
    // Б and б both become the device code 0x62; ё has none.
    EXPECT_FALSE(ImportTextGroupCsv(*root, "CYR", kHeader + "L01;n;1;1;1;0;0;\xD1\x91\n", "", true, message));
    EXPECT_EQ(message.substr(0, 22), "Zeile 2, Text: Zeichen");
    ASSERT_TRUE(ImportTextGroupCsv(*root, "CYR", kHeader + "L01;\xD0\x91;1;1;1;0;0;\xD0\x91\xD0\xB1 1\n", "", true, message))
        << message;
    CTextgruppe* g = Group(*root, "TCYR");
    ASSERT_NE(g, nullptr);
    auto* l = static_cast<CTextliste*>(g->GetChild(0));
    EXPECT_EQ(static_cast<CMeldetext*>(l->GetChild(0))->m_text, "bb 1");
    EXPECT_EQ(l->m_name, PadRight("b", 32));
    EXPECT_EQ(ExportTextGroupCsv(*g, true), kHeader + "L01;\xD0\x91;1;1;1;0;0;\xD0\x91\xD0\x91 1\n");
}
