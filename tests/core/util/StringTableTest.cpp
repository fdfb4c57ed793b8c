#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "util/Charset.h"
#include "util/StringTable.h"

namespace {
struct RawEntry {
    int id;
    const char* text;
};
// The table source itself, so that duplicates the lookup map would hide are seen.
const RawEntry kRaw[] = {
#include "util/StringTableData.inc"
};
}  // namespace

TEST(StringTable, ImportantTextsAreExact)
{
    const std::map<int, const char*> expected = {
        {62001, "Fehler 1: Interner Fehler, Datei %s, Zeile %d."},
        {62002, "Meldung 2: Kein Fehler."},
        {62042, "Fehler 42: Fehler bei Dateizugriff"},
        {62061, "Fehler 61: Eine andere Online-Verbindung ist bereits aktiv"},
        {62012, "Fehler 12: Ungültige Daten in Datei  \"%s\"."},
        {62167, "Fehler 167: Sie benotigen Administrator-Rechte, um die Schnittstelle des Eprom-Programmiergerätes zu ändern."},
        {62092, "Fehler 92: Listen-Kennung oder -Name enthalten \nein oder mehrere unzulässige Zeichen.."},
        {62021, "Fehler 21: TEVOWIN nicht in PX920WIN\\BIN gefunden."},
        {63349, "Bilder"},
        {63350, "Textgruppen"},
        {63351, "Schrittketten-Gruppen"},
        {63352, "Protokolle"},
        {63353, "Optionen"},
        {63354, "Bezeichnung\nKennung\nExt\nDatum\nLänge"},
        {63258, "Systemdaten-Liste"},
        {64007, "Bezeichnung\nKennung\nExt\nDatum\nLänge"},
        {64314, " %-20.20s %-25.25s"},
        {64316, " %-20.20s %-5d%-5d%-15d"},
    };
    for (const auto& [id, text] : expected) {
        SCOPED_TRACE(id);
        ASSERT_TRUE(HasString(id));
        EXPECT_EQ(Cp1252ToUtf8(LoadString(id)), text);
    }
    // Texts are handed out as Windows-1252 bytes.
    EXPECT_EQ(LoadString(63354), "Bezeichnung\nKennung\nExt\nDatum\nL\xE4nge");
    EXPECT_FALSE(HasString(61000));
    EXPECT_EQ(LoadString(61000), "");
}

TEST(StringTable, EntriesAreUniqueInRangeAndRepresentable)
{
    std::set<int> seen;
    for (const RawEntry& e : kRaw) {
        SCOPED_TRACE(e.id);
        EXPECT_TRUE(seen.insert(e.id).second) << "duplicate id";
        EXPECT_GE(e.id, 61346);
        EXPECT_LE(e.id, 64522);
        EXPECT_STRNE(e.text, "");
        // Every text must survive the trip to the display code page.
        EXPECT_EQ(Cp1252ToUtf8(Utf8ToCp1252(e.text)), e.text);
    }
    EXPECT_GT(seen.size(), 250u);
}

TEST(StringTable, MessagesCarryTheirOwnNumber)
{
    // Messages 62001..62167 read "Fehler n: " or "Meldung n: " with n = id - 62000;
    // the key-name texts of the operator keyboard share the id space above 62167.
    for (const RawEntry& e : kRaw) {
        if (e.id < 62001 || e.id > 62167) continue;
        SCOPED_TRACE(e.id);
        std::string n = std::to_string(e.id - 62000);
        std::string text = e.text;
        EXPECT_TRUE(text.rfind("Fehler " + n + ":", 0) == 0 || text.rfind("Meldung " + n + ":", 0) == 0) << text;
    }
}
