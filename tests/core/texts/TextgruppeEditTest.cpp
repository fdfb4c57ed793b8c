// Text groups in use: validation, limits, commands, clipboard and deletion.
#include "TextsFixture.h"
#include "model/DocumentLink.h"
#include "util/Charset.h"
#include "util/ErrorInfo.h"
#include "util/StringTable.h"

namespace {
std::string Cp(const char* utf8) { return Utf8ToCp1252(utf8); }

struct TextRow {
    int dw, bit, protNo, protMode;
    std::string text;
    bool operator==(const TextRow&) const = default;
};

std::vector<TextRow> Rows(const CTextliste& l)
{
    std::vector<TextRow> out;
    for (CNode* c : l.m_children) {
        auto* t = static_cast<CMeldetext*>(c);
        out.push_back({t->m_dw, t->m_bit, t->m_protocolNumber, t->m_protocolMode, t->m_text});
    }
    return out;
}
}  // namespace

TEST_F(TextsFixture, GroupValidationReportsTheFirstFailureInOrder)
{
    struct Case {
        const char* what;
        int lists;             // lists "000", "001", ...
        bool sameIds;          // two more lists "abc" and "ABC"
        bool duplicateAddress; // texts 5.3 twice in the first list
        int mode;
        int id;                // expected message, 0 = valid
        std::string argument;
    } cases[] = {
        {"valid", 3, false, false, 1, 0, ""},
        {"255 lists", 255, false, false, 1, 0, ""},
        {"256 lists", 256, true, true, 1, 62097, "TVAL"},
        {"same identifiers", 2, true, true, 1, 62099, "abc"},
        {"duplicate address", 2, false, true, 1, 62096, "N000"},
        {"address check only in mode 1", 2, false, true, 0, 0, ""},
    };
    for (const Case& c : cases) {
        auto root = OpenRoot();
        CTextgruppe* g = NewGroup(*root, "VAL", "V");
        for (int i = 0; i < c.lists; ++i) {
            char id[16];
            std::snprintf(id, sizeof id, "%03d", i);
            AddList(*g, id);
        }
        if (c.sameIds) {
            AddList(*g, "abc");
            AddList(*g, "ABC");
        }
        if (c.duplicateAddress) {
            auto* first = static_cast<CTextliste*>(g->GetChild(0));
            AddText(*first, 5, 3, "a");
            AddText(*first, 5, 3, "b");
        }
        CErrorInfo err;
        bool ok = g->Validate(err, c.mode);
        EXPECT_EQ(ok, c.id == 0) << c.what;
        EXPECT_EQ(err.Id(), c.id) << c.what;
        EXPECT_EQ(err.Text(), c.argument) << c.what;
    }
}

TEST_F(TextsFixture, ValidationMessagesReadAsTheUserSeesThem)
{
    auto root = OpenRoot();
    CTextgruppe* g = NewGroup(*root, "MSG", "M");
    CTextliste* l = AddList(*g, "L01");
    AddText(*l, 5, 3, "a");
    AddText(*l, 7, 0, "b");
    AddText(*l, 5, 3, "c");
    l->ChildChanged(nullptr);
    CErrorInfo err;
    EXPECT_FALSE(l->Validate(err, 1));
    EXPECT_EQ(err.Format(), "Fehler 95: Mehrere Texte in der Liste haben die gleiche Adresse: 5.3 .");
    EXPECT_FALSE(g->Validate(err, 1));
    EXPECT_EQ(err.Format(), "Fehler 96: Die Liste NL01 ist fehlerhaft.");
    AddList(*g, "l01");
    EXPECT_FALSE(g->Validate(err, 1));
    EXPECT_EQ(err.Format(), "Fehler 99: Mehrere Listen in der Gruppe haben die gleiche Kennung: L01.");
    for (int i = 0; i < 255; ++i) AddList(*g, "X" + std::to_string(10 + i % 90));
    EXPECT_FALSE(g->Validate(err, 1));
    EXPECT_EQ(err.Format(), Cp("Fehler 97: Die Gruppe TMSG enthält zu viele Listen."));
}

TEST_F(TextsFixture, TotalLengthLimitIsExactly65535)
{
    auto root = OpenRoot();  // project "Demo"
    CTextgruppe* g = NewGroup(*root, "LEN", "G");
    CTextliste* l = AddList(*g, "L01", 1, "");
    // 9 + 4 + 1 for the header and count, 9 + 3 + 3 + n for the list.
    CMeldetext* t = AddText(*l, 1, 0, std::string(65535 - 29, 'x'));
    l->ChildChanged(nullptr);
    ASSERT_EQ(g->ComputeTotalLength(), 65535u);
    CErrorInfo err;
    EXPECT_TRUE(g->Validate(err, 1));
    ASSERT_TRUE(g->Save());
    EXPECT_EQ(dir.Read("TLEN.920").size(), 65535u);
    auto again = OpenRoot();
    CTextgruppe* g2 = Group(*again, "TLEN");
    ASSERT_TRUE(g2 && g2->Load());
    EXPECT_EQ(static_cast<CMeldetext*>(static_cast<CTextliste*>(g2->GetChild(0))->GetChild(0))->m_text.size(), 65535u - 29);

    t->m_text += 'x';
    l->ChildChanged(t);
    EXPECT_FALSE(g->Validate(err, 1));
    EXPECT_EQ(err.Id(), 62098);
    EXPECT_EQ(err.Format(), Cp("Fehler 98: Die Liste TLEN ist zu groß."));
    EXPECT_FALSE(g->Save());
    EXPECT_EQ(dir.Read("TLEN.920").size(), 65535u);
}

TEST_F(TextsFixture, OverlongDwRunIsRefusedBeforeAnythingIsWritten)
{
    // Only pasted foreign data can hold 256 texts with one DW (bits beyond 15).
    auto root = OpenRoot();
    CTextgruppe* g = NewGroup(*root, "RUN", "R");
    CTextliste* l = AddList(*g, "L01");
    for (int bit = 0; bit < 256; ++bit) AddText(*l, 9, bit);
    l->ChildChanged(nullptr);
    CErrorInfo err;
    EXPECT_FALSE(l->Validate(err, 1));
    EXPECT_EQ(err.Id(), 62098);
    EXPECT_EQ(err.Text(), "NL01");
    EXPECT_FALSE(g->Validate(err, 1));
    EXPECT_EQ(err.Id(), 62096);
    // 255 of them fit.
    l->DeleteChild(l->GetChild(255));
    l->ChildChanged(nullptr);
    EXPECT_TRUE(g->Validate(err, 1));
    EXPECT_TRUE(g->Save());
}

TEST_F(TextsFixture, CommandAvailabilityOfGroupAndListViews)
{
    auto root = OpenRoot();
    CTextgruppe* g = NewGroup(*root, "CMD", "C");
    CTextliste* l = AddList(*g, "L01");
    struct Case {
        int cmd, s;
        bool group, list;
    } cases[] = {
        {CMD_NEW, 0, true, true},        {CMD_OPEN, 1, true, true},       {CMD_OPEN, 2, false, false},
        {CMD_PROPERTIES, 1, true, true}, {CMD_CLOSE, 0, true, true},      {CMD_SAVE, 0, true, false},
        {CMD_DELETE, 0, false, false},   {CMD_DELETE, 2, true, true},     {CMD_COPY, 1, true, true},
        {CMD_CUT, 3, true, true},        {CMD_EPROM, 0, true, true},      {CMD_CLOSE_PROJECT, 0, true, true},
        {CMD_DEVICE_LOAD, 1, false, false}, {CMD_DEVICE_DELETE, 1, false, false}, {CMD_PAKDAT, 1, false, false},
        {CMD_ROMGEN, 1, false, false},   {CMD_PASTE, 0, false, false},    {CMD_SEP_6, 1, false, false},
        {CMD_TEVOWIN, 0, true, true},    {CMD_PRINT, 1, true, true},      {CMD_PRINT, 0, false, false},
        {CMD_WORK_LIST, 1, false, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(g->IsCommandEnabled(c.cmd, c.s, c.s ? 0 : -1), c.group) << c.cmd << "/" << c.s;
        EXPECT_EQ(l->IsCommandEnabled(c.cmd, c.s, c.s ? 0 : -1), c.list) << c.cmd << "/" << c.s;
    }
    // Paste follows the clipboard's format: each view accepts only its own.
    AddText(*l, 1, 0, "t");
    CErrorInfo err;
    ASSERT_TRUE(l->CopyToClipboard(clipboard, {0}, err));
    EXPECT_TRUE(l->IsCommandEnabled(CMD_PASTE, 0, -1));
    EXPECT_FALSE(g->IsCommandEnabled(CMD_PASTE, 0, -1));
    ASSERT_TRUE(g->CopyToClipboard(clipboard, {0}, err));
    EXPECT_TRUE(g->IsCommandEnabled(CMD_PASTE, 0, -1));
    EXPECT_FALSE(l->IsCommandEnabled(CMD_PASTE, 0, -1));
}

TEST_F(TextsFixture, TextListWithItsTextsTravelsBetweenGroups)
{
    auto root = OpenRoot();
    CTextgruppe* a = NewGroup(*root, "AAA", "A");
    CTextliste* src = AddList(*a, "L01", 7, "Pumpen");
    AddText(*src, 9, 1, Cp("Pumpe 1 gestört"), 3, 1);
    AddText(*src, 2, 0, "@005 Druck");
    AddText(*src, 2, 4, "");
    src->ChildChanged(nullptr);
    AddList(*a, "L02");

    CErrorInfo err;
    ASSERT_TRUE(a->CopyToClipboard(clipboard, {0}, err));
    std::vector<uint8_t> block;
    ASSERT_TRUE(clipboard.GetData("PX920_TEXTLISTE", block));
    // count 1; the list record (size 14, DB 7, "L01", "Pumpen", NUL, spare),
    // the nested size and count, then the first text record.
    std::vector<uint8_t> head = {1, 0, 14, 0, 7, 'L', '0', '1', 'P', 'u', 'm', 'p', 'e', 'n', 0, 0};
    unsigned nested = 2 + (10 + 16) + (0 + 16) + (15 + 16);
    AppendU16(head, nested);
    Append(head, {3, 0, 26, 0, 0, 0, 1, 0, 0, 0, 2, 0, 0, 0, 0});
    AppendText(head, "@005 Druck");
    Append(head, {0, 0, 0});
    ASSERT_GE(block.size(), head.size());
    EXPECT_EQ(std::vector<uint8_t>(block.begin(), block.begin() + head.size()), head);
    EXPECT_EQ(block.size(), 2 + 14 + 2 + nested);

    CTextgruppe* b = NewGroup(*root, "BBB", "B");
    AddList(*b, "M01");
    AddList(*b, "A01");
    b->ChildChanged(nullptr);
    b->m_modified = 0;
    CNode* pasted = b->PasteFromClipboard(clipboard, 0);
    ASSERT_NE(pasted, nullptr);
    EXPECT_TRUE(b->m_modified);
    ASSERT_EQ(b->GetChildCount(), 3);
    EXPECT_EQ(b->GetChild(1), pasted);  // sorted between A01 and M01
    auto* copy = static_cast<CTextliste*>(pasted);
    EXPECT_EQ(copy->m_identifier, "L01");
    EXPECT_EQ(copy->m_db, 7);
    EXPECT_EQ(copy->m_name, PadRight("Pumpen", 32));
    EXPECT_EQ(Rows(*copy), Rows(*src));
    EXPECT_EQ(static_cast<CMeldetext*>(copy->GetChild(2))->m_lineNumber, 3);
    EXPECT_EQ(copy->m_recordLength, copy->ComputeRecordLength());

    ASSERT_TRUE(b->Save());
    auto again = OpenRoot();
    CTextgruppe* b2 = Group(*again, "TBBB");
    ASSERT_TRUE(b2 && b2->Load());
    EXPECT_EQ(Rows(*static_cast<CTextliste*>(b2->GetChild(1))), Rows(*src));
}

TEST_F(TextsFixture, MessageTextsPasteAfterTheSelectionAndAreSortedAgain)
{
    auto root = OpenRoot();
    CTextgruppe* g = NewGroup(*root, "PST", "P");
    CTextliste* l = AddList(*g, "L01");
    AddText(*l, 1, 0, "eins");
    AddText(*l, 3, 0, "drei");
    l->ChildChanged(nullptr);
    CErrorInfo err;
    ASSERT_TRUE(l->CopyToClipboard(clipboard, {0, 1}, err));
    CTextliste* other = AddList(*g, "L02");
    AddText(*other, 2, 0, "zwei");
    other->ChildChanged(nullptr);
    // Pasted texts are neither limited nor checked for duplicates.
    other->PasteFromClipboard(clipboard, 0);
    other->PasteFromClipboard(clipboard, -1);
    std::vector<std::string> order;
    for (CNode* c : other->m_children) order.push_back(c->GetColumnText(0) + " " + c->GetColumnText(5));
    EXPECT_EQ(order, (std::vector<std::string> {"1 eins", "2 eins", "3 zwei", "4 drei", "5 drei"}));
    EXPECT_FALSE(g->Validate(err, 1));
    EXPECT_EQ(err.Text(), "NL02");
}

TEST_F(TextsFixture, TwoHundredFiftyFiveListsAreTheLimit)
{
    auto root = OpenRoot();
    CTextgruppe* src = NewGroup(*root, "SRC", "S");
    AddList(*src, "N01");
    AddList(*src, "N02");
    CErrorInfo err;
    ASSERT_TRUE(src->CopyToClipboard(clipboard, {0, 1}, err));

    CTextgruppe* g = NewGroup(*root, "FUL", "F");
    for (int i = 0; i < 254; ++i) {
        char id[4];
        std::snprintf(id, sizeof id, "%03d", i);
        AddList(*g, id);
    }
    EXPECT_TRUE(g->IsCommandEnabled(CMD_NEW, 0, -1));
    EXPECT_TRUE(g->IsCommandEnabled(CMD_PASTE, 0, -1));
    g->PasteFromClipboard(clipboard, -1);
    EXPECT_EQ(g->GetChildCount(), 255);
    ASSERT_EQ(ui.texts.size(), 1u);
    EXPECT_EQ(ui.texts[0], Cp("Fehler 86: Maximal 255 Einträge in dieser Liste erlaubt."));
    EXPECT_TRUE(g->FindList("N01"));
    EXPECT_FALSE(g->FindList("N02"));
    EXPECT_FALSE(g->IsCommandEnabled(CMD_NEW, 0, -1));
    EXPECT_FALSE(g->IsCommandEnabled(CMD_PASTE, 0, -1));
    EXPECT_TRUE(g->Validate(err, 1));
}

TEST_F(TextsFixture, ForeignClipboardRecordsAreCheckedBeforeUse)
{
    auto root = OpenRoot();
    CTextgruppe* g = NewGroup(*root, "FOR", "F");
    struct Case {
        const char* what;
        std::vector<uint8_t> record;
        bool created;
    } cases[] = {
        {"empty identifier", {9, 0, 1, 0, 0, 0, 'N', 0, 0}, false},
        {"short identifier", {9, 0, 1, 'A', 'B', 0, 'N', 0, 0}, false},
        {"name without terminator", {9, 0, 1, 'A', 'B', 'C', 'N', 'N', 'N'}, false},
        {"too short", {6, 0, 1, 'A', 'B', 'C'}, false},
        {"good", {9, 0, 1, 'A', 'B', 'C', 'N', 0, 0}, true},
    };
    for (const Case& c : cases) {
        int before = g->GetChildCount();
        CNode* n = g->CreateChildFromRecord(-1, c.record);
        EXPECT_EQ(n != nullptr, c.created) << c.what;
        EXPECT_EQ(g->GetChildCount(), before + (c.created ? 1 : 0)) << c.what;
    }
    auto* l = static_cast<CTextliste*>(g->GetChild(0));
    EXPECT_EQ(l->m_name, PadRight("N", 32));
    // A message text record whose text runs to the end without a terminator.
    std::vector<uint8_t> t = {16, 0, 0, 0, 1, 0, 0, 0, 4, 0, 2, 0x3F, 0xFF, 'a', 'b', 'c'};
    EXPECT_EQ(l->CreateChildFromRecord(-1, t), nullptr);
    t[15] = 0;
    auto* m = static_cast<CMeldetext*>(l->CreateChildFromRecord(-1, t));
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->m_text, "ab");
    EXPECT_EQ(m->m_protocolNumber, 31);  // five bits
    EXPECT_EQ(m->m_protocolMode, 7);     // three bits
}

TEST_F(TextsFixture, DeletingATextListAsksAboutPictureReferences)
{
    struct ScriptedProjectUi : IProjectUi {
        bool ConfirmDeleteWithUsages(const std::string& title, const std::vector<CKennungVerwendung>& usages) override
        {
            titles.push_back(title);
            count = usages.size();
            return answer;
        }
        std::vector<std::string> titles;
        size_t count = 0;
        bool answer = false;
    } projectUi;
    std::vector<std::string> searched;
    SetTextGroupReferenceFinder([&](CCategory&, const std::string& group, const std::string& list,
                                    std::vector<CKennungVerwendung>& out) {
        searched.push_back(group + "/" + list);
        if (list == "L01") out.push_back({"BPIC", "Bild", NT_FENSTER, 1, 1});
    });
    App().SetProjectUi(&projectUi);

    auto root = OpenRoot();
    CTextgruppe* g = NewGroup(*root, "DEL", "D");
    CTextliste* used = AddList(*g, "L01");
    CTextliste* unused = AddList(*g, "L02");
    g->m_modified = 0;
    EXPECT_EQ(g->DeleteChild(used), 0);
    EXPECT_EQ(g->GetChildCount(), 2);
    EXPECT_EQ(projectUi.titles, (std::vector<std::string> {Cp("Löschen Textliste NL01")}));
    EXPECT_EQ(projectUi.count, 1u);
    EXPECT_FALSE(g->m_modified);
    projectUi.answer = true;
    EXPECT_EQ(g->DeleteChild(used), 1);
    EXPECT_EQ(g->DeleteChild(unused), 1);
    EXPECT_EQ(projectUi.titles.size(), 2u);  // no question without references
    EXPECT_EQ(searched, (std::vector<std::string> {"TDEL/L01", "TDEL/L01", "TDEL/L02"}));
    EXPECT_EQ(g->GetChildCount(), 0);
    EXPECT_TRUE(g->m_modified);

    SetTextGroupReferenceFinder(nullptr);
    App().SetProjectUi(nullptr);
}

TEST_F(TextsFixture, CyrillicNamesAndTextsShowAsCapitals)
{
    auto root = OpenRoot();
    CTextgruppe* g = NewGroup(*root, "CYR", "C");
    App().Settings().cyrillic = true;
    // Б typed as capital (0xC1) and small (0xE1) letter: both stored as 0x62.
    EXPECT_EQ(ToDeviceCharset("\xC1\xE1"), "bb");
    EXPECT_EQ(ToDeviceCharset("\xB8\xA9"), "??");  // ё and © have no device code
    CTextliste* l = AddList(*g, "L01", 1, ToDeviceCharset("\xC1\xE1"));
    AddText(*l, 1, 0, "ab");
    g->m_name = "ab";
    EXPECT_EQ(l->GetColumnText(0), "\xC1\xC1");
    EXPECT_EQ(l->GetChild(0)->GetColumnText(5), "\xC0\xC1");
    EXPECT_EQ(g->GetColumnText(0), "\xC0\xC1");
    App().Settings().cyrillic = false;
    EXPECT_EQ(l->GetColumnText(0), "bb");
}
