// The checks of the text dialogs, in their order, without a window.
#include "TextsFixture.h"
#include "model/DocumentLink.h"
#include "texts/TextDialogRules.h"
#include "util/Charset.h"
#include "util/StringTable.h"

namespace {
std::string Cp(const char* utf8) { return Utf8ToCp1252(utf8); }

MeldetextForm Form(std::string dw, std::string bit, int mode, std::string number, std::string text = "Text",
                   std::string db = "5")
{
    MeldetextForm f;
    f.db = db;
    f.dw = dw;
    f.bit = bit;
    f.modeIndex = mode;
    f.protocolNumber = number;
    f.text = text;
    return f;
}
}  // namespace

TEST(TextDialogRules, IntegersAsTheDialogsReadThem)
{
    struct Case {
        std::string text;
        bool ok;
        long value;
    } cases[] = {
        {"12", true, 12}, {" 7 ", true, 7}, {"-3", true, -3}, {"+4", true, 4}, {"", false, 0},
        {"1a", false, 0}, {"-", false, 0}, {"1 2", false, 0}, {"99999999999", false, 0},
    };
    for (const Case& c : cases) {
        long v = 0;
        EXPECT_EQ(ParseDialogInt(c.text, v), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(v, c.value) << c.text;
        }
    }
    EXPECT_EQ(MsgIntegerRange(1, 255), "Geben Sie bitte eine ganze Zahl zwischen 1 und 255 ein.");
    EXPECT_EQ(MsgMaxChars(80), "Geben Sie bitte nicht mehr als 80 Zeichen ein.");
}

TEST_F(TextsFixture, MessageTextDialogChecksInOrder)
{
    auto root = OpenRoot();
    CTextgruppe* g = NewGroup(*root, "DLG");
    CTextliste* l = AddList(*g, "L01", 5);
    CMeldetext* existing = AddText(*l, 5, 3, "da");
    const std::string range0to255 = MsgIntegerRange(0, 255);
    struct Case {
        const char* what;
        MeldetextForm form;
        unsigned maxDw;
        int control;  // 0: passes
        std::string message;
    } cases[] = {
        {"DB 0", Form("1", "0", 0, "0", "t", "0"), 255, textctl::DB, MsgIntegerRange(1, 255)},
        {"DW no number before a long text", Form("x", "0", 0, "0", std::string(81, 'a')), 255, textctl::DW, MsgNotAnInteger()},
        {"81 characters before a bad bit", Form("1", "16", 0, "0", std::string(81, 'a')), 255, textctl::Text, MsgMaxChars(80)},
        {"80 characters", Form("1", "0", 0, "0", std::string(80, 'a')), 255, 0, ""},
        {"protocol number 32 before a bad bit", Form("1", "16", 2, "32"), 255, textctl::ProtocolNumber, MsgIntegerRange(0, 31)},
        {"bit 16 before a bad DW", Form("300", "16", 0, "0"), 255, textctl::Bit, MsgIntegerRange(0, 15)},
        {"DW 256", Form("256", "0", 0, "0"), 255, textctl::DW, range0to255},
        {"DW 256 with MAX DW 1000", Form("256", "0", 0, "0"), 1000, 0, ""},
        {"DW -1", Form("-1", "0", 0, "0"), 255, textctl::DW, range0to255},
        {"BA1 needs a number 1..30", Form("1", "0", 2, "0"), 255, textctl::ProtocolNumber, MsgIntegerRange(1, 30)},
        {"BA4 with 31", Form("1", "0", 5, "31"), 255, textctl::ProtocolNumber, MsgIntegerRange(1, 30)},
        {"BA0 shows 31", Form("1", "0", 1, "31"), 255, 0, ""},
        {"address in use", Form("5", "3", 0, "0"), 255, textctl::DW,
         Cp("Fehler 94: Text mit dieser DW/Bit existiert bereits,\nwählen Sie eine noch nicht vergebene DW/Bit!")},
    };
    for (const Case& c : cases) {
        CMeldetext out(nullptr);
        DialogCheck r = CheckMeldetextForm(c.form, l, nullptr, c.maxDw, out);
        EXPECT_EQ(r.ok, c.control == 0) << c.what;
        EXPECT_EQ(r.control, c.control) << c.what;
        EXPECT_EQ(r.message, c.message) << c.what;
    }
    // The edited text itself does not count as a conflict.
    CMeldetext out(nullptr);
    EXPECT_TRUE(CheckMeldetextForm(Form("5", "3", 0, "0", "neu"), l, existing, 255, out).ok);
}

TEST_F(TextsFixture, ProtocolModeIndexAndStoredValues)
{
    struct Case {
        int number, mode;
        int index;
        std::string shown;
        int storedNumber, storedMode;
    } cases[] = {
        {0, 0, 0, "0", 0, 0},
        {5, 0, 1, "31", 31, 0},  // only from a file: opens as BA0 and is stored back with 31
        {31, 0, 1, "31", 31, 0},
        {17, 1, 2, "17", 17, 1},
        {17, 2, 3, "17", 17, 2},
        {9, 4, 5, "9", 9, 4},
        {9, 6, -1, "9", 9, 6},  // a mode the box has no item for is kept
    };
    auto root = OpenRoot();
    CTextgruppe* g = NewGroup(*root, "MOD");
    CTextliste* l = AddList(*g, "L01");
    for (const Case& c : cases) {
        CMeldetext* t = AddText(*l, 1, 0, "x", c.number, c.mode);
        MeldetextForm f = MeldetextFormFrom(*t, l);
        EXPECT_EQ(f.modeIndex, c.index) << c.number << "/" << c.mode;
        EXPECT_EQ(f.protocolNumber, c.shown) << c.number << "/" << c.mode;
        EXPECT_EQ(ProtocolNumberEnabled(f.modeIndex), c.index >= 2);
        CMeldetext out(nullptr);
        ASSERT_TRUE(CheckMeldetextForm(f, l, t, 255, out).ok) << c.number << "/" << c.mode;
        EXPECT_EQ(out.m_protocolNumber, c.storedNumber);
        EXPECT_EQ(out.m_protocolMode, c.storedMode);
        l->DeleteChild(t);
    }
    EXPECT_EQ(ProtocolModeItems().size(), 6u);
    EXPECT_EQ(ProtocolModeItems()[3], "BA2 (speichem + direkt)");
    // BA2 with 17, then "ohne Protokollierung", then BA2 again: 1, not 17.
    std::string field = "17";
    field = ProtocolNumberAfterModeChange(0, true, field);
    EXPECT_EQ(field, "0");
    field = ProtocolNumberAfterModeChange(3, false, field);
    EXPECT_EQ(field, "1");
    EXPECT_EQ(ProtocolNumberAfterModeChange(4, true, "12"), "12");
    EXPECT_EQ(ProtocolNumberAfterModeChange(1, true, "12"), "31");
}

TEST_F(TextsFixture, MessageTextDialogStoresAndResorts)
{
    auto root = OpenRoot();
    CTextgruppe* g = NewGroup(*root, "STO");
    CTextliste* l = AddList(*g, "L01");
    CMeldetext* a = AddText(*l, 1, 0, "a");
    AddText(*l, 2, 0, "b");
    l->ChildChanged(nullptr);
    g->m_modified = 0;
    CMeldetext out(nullptr);
    // Trailing blanks stay; an "@" with digits stays in the at-sign form.
    ASSERT_TRUE(CheckMeldetextForm(Form("9", "2", 3, "12", "@5 Motor  "), l, a, 255, out).ok);
    ApplyMeldetext(*a, out, l);
    EXPECT_EQ(a->m_text, "@5 Motor  ");
    EXPECT_EQ(a->m_protocolMode, 2);
    EXPECT_EQ(a->m_protocolNumber, 12);
    EXPECT_EQ(l->GetChild(1), a);  // now after DW 2
    EXPECT_EQ(a->m_lineNumber, 2);
    EXPECT_TRUE(g->m_modified);
    EXPECT_EQ(l->m_recordLength, l->ComputeRecordLength());

    // Cyrillic letters typed in either case are stored as device codes.
    App().Settings().cyrillic = true;
    ASSERT_TRUE(CheckMeldetextForm(Form("9", "3", 0, "0", "\xC1\xE1"), l, nullptr, 255, out).ok);
    EXPECT_EQ(out.m_text, "bb");
    EXPECT_EQ(MeldetextFormFrom(out, l).text, "\xC1\xC1");
}

TEST_F(TextsFixture, StandardTextDialogChecks)
{
    struct Case {
        std::string number, text;
        int control;
        std::string message;
    } cases[] = {
        {"1", std::string(75, 'a'), 0, ""},
        {"1", std::string(76, 'a'), textctl::StdText, MsgMaxChars(75)},
        {"0", "a", textctl::StdNumber, MsgIntegerRange(1, 255)},
        {"256", "a", textctl::StdNumber, MsgIntegerRange(1, 255)},
        {"3", "Druck @ hoch", textctl::StdText, "Fehler 91: Unerlaubtes Zeichen '@'"},
        {"3", "@", textctl::StdText, "Fehler 91: Unerlaubtes Zeichen '@'"},
    };
    for (const Case& c : cases) {
        std::string device;
        DialogCheck r = CheckStandardTextForm(c.number, c.text, device);
        EXPECT_EQ(r.control, c.control) << c.text;
        EXPECT_EQ(r.message, c.message) << c.text;
        if (r.ok) {
            EXPECT_EQ(device, c.text);
        }
    }

    auto root = OpenRoot();
    CStandardTextListe x(root.get(), "XTEX.920");
    x.m_valid = x.m_loaded = 1;
    EXPECT_EQ(NewStandardTextNumber(x, -1), 1);
    for (int i = 0; i < 5; ++i) x.AddChild(new CStandardText(&x));
    EXPECT_EQ(NewStandardTextNumber(x, -1), 6);
    EXPECT_EQ(NewStandardTextNumber(x, 2), 4);
}

TEST_F(TextsFixture, TextGroupAndTextListDialogChecks)
{
    auto root = OpenRoot();
    CTextgruppe* existing = NewGroup(*root, "ABC");
    CTextgruppe* g = NewGroup(*root, "XYZ");
    AddList(*g, "ABC");
    CTextliste* l = AddList(*g, "L01");
    const std::string forbidden = Cp("Fehler 92: Listen-Kennung oder -Name enthalten \nein oder mehrere unzulässige Zeichen..");
    const std::string notThree = Cp("Fehler 9: Die Listen-Kennung  muß 3 Zeichen lang sein.");
    const std::string taken = "Fehler 8: Listen-Kennung bereits vorhanden.";

    struct GroupCase {
        std::string id, name;
        int control;
        std::string message;
    } groupCases[] = {
        {"A.B", std::string(33, 'n'), textctl::GroupName, MsgMaxChars(32)},
        {"ABCD", "n", textctl::GroupId, MsgMaxChars(3)},
        {"A.B", "n", textctl::GroupId, forbidden},
        {"a?", "n", textctl::GroupId, forbidden},
        {"AB", "n", textctl::GroupId, notThree},
        {"abc", "n", textctl::GroupId, taken},  // upper-case base names compared
        {"xyz", std::string(32, 'n'), 0, ""},  // its own name is no conflict
        {"NEU", "n", 0, ""},
    };
    for (const GroupCase& c : groupCases) {
        TextgruppeForm f = TextgruppeFormFrom(*g);
        EXPECT_EQ(f.prefix, "T");
        f.identifier = c.id;
        f.name = c.name;
        DialogCheck r = CheckTextgruppeForm(f, *g, Groups(*root));
        EXPECT_EQ(r.control, c.control) << c.id;
        EXPECT_EQ(r.message, c.message) << c.id;
    }
    (void)existing;

    struct ListCase {
        std::string id, db, name;
        int control;
        std::string message;
    } listCases[] = {
        {"A.B", "0", std::string(33, 'n'), textctl::ListName, MsgMaxChars(32)},
        {"A.B", "0", "n", textctl::ListDb, MsgIntegerRange(1, 255)},
        {"L01", "256", "n", textctl::ListDb, MsgIntegerRange(1, 255)},
        {"L01", "x", "n", textctl::ListDb, MsgNotAnInteger()},
        {"A.B", "1", "n", textctl::ListId, forbidden},
        {"AB", "1", "n", textctl::ListId, notThree},
        {"ABC", "1", "n", textctl::ListId, taken},
        {"abc", "1", "n", 0, ""},  // letter case counts here
        {"L01", "255", "n", 0, ""},
    };
    for (const ListCase& c : listCases) {
        TextlisteForm f = TextlisteFormFrom(*l);
        EXPECT_EQ(f.prefix, "N");
        f.identifier = c.id;
        f.db = c.db;
        f.name = c.name;
        long db = 0;
        DialogCheck r = CheckTextlisteForm(f, *l, g, db);
        EXPECT_EQ(r.control, c.control) << c.id << " " << c.db;
        EXPECT_EQ(r.message, c.message) << c.id << " " << c.db;
    }
}

TEST_F(TextsFixture, NewTextGroupIsSavedUnderItsIdentifier)
{
    auto root = OpenRoot();
    CCategory* cat = Groups(*root);
    std::unique_ptr<CTextgruppe> g(CTextgruppe::CreateNew(cat, root->GetExtension()));
    EXPECT_EQ(g->GetFileName(), "T.920");
    TextgruppeForm f = TextgruppeFormFrom(*g);
    EXPECT_EQ(f.identifier, "");
    EXPECT_EQ(f.name, "");
    f.identifier = "kes";
    f.name = "Kessel";
    ASSERT_TRUE(CheckTextgruppeForm(f, *g, cat).ok);
    ASSERT_TRUE(ApplyTextgruppeForm(*g, f, true, ui));
    EXPECT_EQ(g->GetFileName(), "TKES.920");
    EXPECT_EQ(g->GetIdentifier(), "kes");
    EXPECT_EQ(g->m_name, PadRight("Kessel", 32));
    EXPECT_FALSE(g->m_modified);
    std::vector<uint8_t> file = dir.Read("TKES.920");
    ASSERT_EQ(file.size(), 9u + 4 + 32);
    EXPECT_EQ(std::string(file.begin() + 8, file.begin() + 11), "kes");
    cat->AddChild(g.release());

    // Reopened, it is shown with its identifier in the letter case typed.
    auto again = OpenRoot();
    CTextgruppe* shown = Group(*again, "TKES");
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->GetColumnText(1), "Tkes");
    EXPECT_EQ(shown->GetColumnText(0), PadRight("Kessel", 32));
}

TEST_F(TextsFixture, IdentifierChangesConsultThePictures)
{
    struct ScriptedProjectUi : IProjectUi {
        bool ConfirmDeleteWithUsages(const std::string& title, const std::vector<CKennungVerwendung>&) override
        {
            titles.push_back(title);
            return answer;
        }
        std::vector<std::string> titles;
        bool answer = true;
    } projectUi;
    std::vector<std::string> searched, renamed;
    SetTextGroupReferenceFinder([&](CCategory&, const std::string& group, const std::string& list,
                                    std::vector<CKennungVerwendung>& out) {
        searched.push_back(group + "/" + list);
        out.push_back({"BPIC", "Bild", NT_FENSTER, 1, 1});
    });
    SetTextReferenceRenamer([&](CCategory&, const std::string& og, const std::string& ng, const std::string& ol,
                                const std::string& nl) { renamed.push_back(og + ">" + ng + " " + ol + ">" + nl); });
    App().SetProjectUi(&projectUi);

    auto root = OpenRoot();
    CTextgruppe* g = NewGroup(*root, "abc", "G");
    ASSERT_TRUE(g->Save());
    CTextliste* l = AddList(*g, "L01");

    // abc -> ABC is a change: the search runs and the file keeps its name.
    ui.answer = IDYES;
    TextgruppeForm gf = TextgruppeFormFrom(*g);
    gf.identifier = "ABC";
    ASSERT_TRUE(ApplyTextgruppeForm(*g, gf, false, ui));
    EXPECT_EQ(searched, (std::vector<std::string> {"TABC/"}));
    EXPECT_EQ(projectUi.titles.back(), "Textgruppen TABC umbenennen");
    EXPECT_EQ(renamed, (std::vector<std::string> {"abc>ABC >"}));
    EXPECT_EQ(g->GetFileName(), "TABC.920");
    EXPECT_TRUE(dir.Exists("TABC.920"));

    // A list rename: answered No, nothing is replaced but the list is renamed.
    ui.answer = IDNO;
    TextlisteForm lf = TextlisteFormFrom(*l);
    lf.identifier = "L02";
    long db = 0;
    ASSERT_TRUE(CheckTextlisteForm(lf, *l, g, db).ok);
    ASSERT_TRUE(ApplyTextlisteForm(*l, g, lf, db, false, ui));
    EXPECT_EQ(searched.back(), "TABC/L01");
    EXPECT_EQ(projectUi.titles.back(), "Textlisten NL01 umbenennen");
    EXPECT_EQ(renamed.size(), 1u);
    EXPECT_EQ(l->m_identifier, "L02");
    EXPECT_EQ(ui.texts.back(), "Wollen Sie die Kennung in allen Bildlisten\naustauschen?");

    // Abbrechen in the where-used dialog keeps everything as it was.
    projectUi.answer = false;
    lf.identifier = "L03";
    EXPECT_FALSE(ApplyTextlisteForm(*l, g, lf, db, false, ui));
    EXPECT_EQ(l->m_identifier, "L02");
    gf.identifier = "NEU";
    EXPECT_FALSE(ApplyTextgruppeForm(*g, gf, false, ui));
    EXPECT_EQ(g->GetIdentifier(), "ABC");
    EXPECT_FALSE(dir.Exists("TNEU.920"));

    // Yes with a new list name replaces it in the pictures.
    projectUi.answer = true;
    ui.answer = IDYES;
    ASSERT_TRUE(ApplyTextlisteForm(*l, g, lf, db, false, ui));
    EXPECT_EQ(renamed.back(), "ABC>ABC L02>L03");

    SetTextGroupReferenceFinder(nullptr);
    SetTextReferenceRenamer(nullptr);
    App().SetProjectUi(nullptr);
}
