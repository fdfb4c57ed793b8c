// The standard text list XTEX: file body, numbering, limits, clipboard.
#include "TextsFixture.h"
#include "util/Charset.h"
#include "util/ErrorInfo.h"
#include "util/StringTable.h"

namespace {
// Three texts, the second one empty: end offsets 5, 5, 11.
std::vector<uint8_t> ThreeTexts()
{
    return {
        128, 27, 0,                    // type 128, total length 27
        5, 'D', 'e', 'm', 'o',         // project name
        3, 0,                          // three texts
        5, 0, 5, 0, 11, 0,             // end offsets
        'P', 'u', 'm', 'p', 'e',       // 1
        'V', 'e', 'n', 't', 'i', 'l',  // 3 (2 is empty)
    };
}

std::vector<std::string> Entries(const CStandardTextListe& x)
{
    std::vector<std::string> out;
    for (CNode* c : x.m_children) out.push_back(c->GetColumnText(0) + ":" + c->GetColumnText(1));
    return out;
}

CStandardTextListe* Xtex(CProjekt& root) { return static_cast<CStandardTextListe*>(root.FindFixedList(NT_STANDARD_TEXTS)); }

CStandardText* Entry(CStandardTextListe& x, const std::string& text)
{
    auto* t = new CStandardText(&x);
    t->SetText(text);
    return t;
}
}  // namespace

TEST_F(TextsFixture, StandardTextFileReadsAndWritesByteForByte)
{
    dir.Write("XTEX.920", ThreeTexts());
    auto root = OpenRoot();
    CStandardTextListe* x = Xtex(*root);
    ASSERT_NE(x, nullptr);
    EXPECT_EQ(x->m_name, "Standard-Textliste");
    EXPECT_EQ(x->m_fileLength, 27);
    ASSERT_TRUE(x->Load());
    EXPECT_EQ(Entries(*x), (std::vector<std::string> {"1:Pumpe", "2:", "3:Ventil"}));
    EXPECT_EQ(static_cast<CStandardText*>(x->GetChild(2))->m_length, 6);
    EXPECT_EQ(x->GetColumnHeaders(), "Nr.\nText");
    EXPECT_EQ(x->GetColumnWidth(0), 7);
    EXPECT_EQ(x->GetColumnWidth(1), 50);
    x->m_modified = 1;
    ASSERT_TRUE(x->Save());
    EXPECT_EQ(dir.Read("XTEX.920"), ThreeTexts());
    EXPECT_FALSE(x->m_modified);

    // An empty list is the header and the count 0.
    while (x->GetChildCount()) x->DeleteChild(x->GetChild(0));
    ASSERT_TRUE(x->Save());
    EXPECT_EQ(dir.Read("XTEX.920"), (std::vector<uint8_t> {128, 10, 0, 5, 'D', 'e', 'm', 'o', 0, 0}));
}

TEST_F(TextsFixture, DamagedStandardTextFilesDoNotLoad)
{
    std::vector<std::pair<std::string, std::vector<uint8_t>>> damaged;
    std::vector<uint8_t> full = ThreeTexts();
    for (size_t n = 0; n < full.size(); ++n) damaged.push_back({"cut at " + std::to_string(n), {full.begin(), full.begin() + n}});
    std::vector<uint8_t> backwards = full;
    backwards[12] = 4;  // second end offset before the first
    damaged.push_back({"offsets backwards", backwards});
    std::vector<uint8_t> beyond = full;
    beyond[14] = 200;  // last text past the end of the file
    damaged.push_back({"offset beyond the end", beyond});
    std::vector<uint8_t> manyTexts = full;
    manyTexts[8] = 0xFF;  // far more offsets than the file holds
    manyTexts[9] = 0xFF;
    damaged.push_back({"count 65535", manyTexts});
    std::vector<uint8_t> wrongType = full;
    wrongType[0] = 129;
    damaged.push_back({"type 129", wrongType});

    auto root = OpenRoot();
    for (auto& [what, bytes] : damaged) {
        dir.Write("XTEX.920", bytes);
        CStandardTextListe x(root.get(), "XTEX.920");
        EXPECT_FALSE(x.Load()) << what;
        EXPECT_EQ(x.GetChildCount(), 0) << what;
        x.m_modified = 1;
        EXPECT_FALSE(x.Save()) << what;
        EXPECT_EQ(dir.Read("XTEX.920"), bytes) << what;
    }
}

TEST_F(TextsFixture, StandardTextsAreRenumberedOnInsertAndDelete)
{
    dir.Write("XTEX.920", ThreeTexts());
    auto root = OpenRoot();
    CStandardTextListe* x = Xtex(*root);
    ASSERT_TRUE(x->Load());
    x->AddChild(Entry(*x, "D"));
    x->AddChild(Entry(*x, "E"));
    // After entry 3 of five: the new one is 4, the old 4 and 5 become 5 and 6.
    x->InsertChildAfter(Entry(*x, "Neu"), 2);
    x->ChildChanged(nullptr);
    EXPECT_EQ(Entries(*x), (std::vector<std::string> {"1:Pumpe", "2:", "3:Ventil", "4:Neu", "5:D", "6:E"}));
    EXPECT_TRUE(x->m_modified);
    x->DeleteChild(x->GetChild(0));
    EXPECT_EQ(Entries(*x), (std::vector<std::string> {"1:", "2:Ventil", "3:Neu", "4:D", "5:E"}));
}

TEST_F(TextsFixture, StandardTextListHoldsAtMost255Texts)
{
    dir.Write("XTEX.920", ThreeTexts());
    auto root = OpenRoot();
    CStandardTextListe* x = Xtex(*root);
    ASSERT_TRUE(x->Load());
    CErrorInfo err;
    ASSERT_TRUE(x->CopyToClipboard(clipboard, {0, 2}, err));
    while (x->GetChildCount() < 254) x->AddChild(Entry(*x, "t"));
    EXPECT_TRUE(x->IsCommandEnabled(CMD_NEW, 0, -1));
    EXPECT_TRUE(x->IsCommandEnabled(CMD_PASTE, 0, -1));
    x->PasteFromClipboard(clipboard, 0);
    EXPECT_EQ(x->GetChildCount(), 255);
    EXPECT_EQ(Entries(*x)[1], "2:Pumpe");
    ASSERT_EQ(ui.texts.size(), 1u);
    EXPECT_EQ(ui.texts[0], Utf8ToCp1252("Fehler 86: Maximal 255 Einträge in dieser Liste erlaubt."));
    EXPECT_FALSE(x->IsCommandEnabled(CMD_NEW, 0, -1));
    EXPECT_FALSE(x->IsCommandEnabled(CMD_PASTE, 0, -1));
    // Insertion into a full list is refused; the list keeps its 255 texts.
    x->InsertChildAfter(Entry(*x, "zu viel"), 0);
    x->AddChild(Entry(*x, "zu viel"));
    EXPECT_EQ(x->GetChildCount(), 255);
    EXPECT_EQ(ui.texts.size(), 3u);
    EXPECT_TRUE(x->Validate(err, 1));
    ASSERT_TRUE(x->Save());
    auto again = OpenRoot();
    ASSERT_TRUE(Xtex(*again)->Load());
    EXPECT_EQ(Entries(*Xtex(*again)), Entries(*x));
}

TEST_F(TextsFixture, StandardTextListLengthLimit)
{
    dir.Write("XTEX.920", ThreeTexts());
    auto root = OpenRoot();
    CStandardTextListe* x = Xtex(*root);
    ASSERT_TRUE(x->Load());
    // 27 bytes so far; one more text adds 2 + its length.
    CStandardText* big = Entry(*x, std::string(65535 - 27 - 2, 'x'));
    x->AddChild(big);
    CErrorInfo err;
    EXPECT_EQ(x->ComputeTotalLength(), 65535u);
    EXPECT_TRUE(x->Validate(err, 1));
    big->SetText(big->m_text + "x");
    EXPECT_FALSE(x->Validate(err, 1));
    EXPECT_EQ(err.Format(), Utf8ToCp1252("Fehler 98: Die Liste XTEX ist zu groß."));
    EXPECT_FALSE(x->Save());
    EXPECT_EQ(dir.Read("XTEX.920"), ThreeTexts());
}

TEST_F(TextsFixture, StandardTextCommandsAndClipboardRecord)
{
    dir.Write("XTEX.920", ThreeTexts());
    auto root = OpenRoot();
    CStandardTextListe* x = Xtex(*root);
    ASSERT_TRUE(x->Load());
    struct Case {
        int cmd, s;
        bool enabled;
    } cases[] = {
        {CMD_NEW, 0, true},     {CMD_OPEN, 1, true},          {CMD_PROPERTIES, 2, false}, {CMD_SAVE, 0, true},
        {CMD_CLOSE, 0, true},   {CMD_CLOSE_PROJECT, 0, true}, {CMD_DELETE, 1, true},      {CMD_DELETE, 0, false},
        {CMD_COPY, 2, true},    {CMD_CUT, 1, true},           {CMD_EPROM, 0, false},      {CMD_DEVICE_LOAD, 1, false},
        {CMD_PAKDAT, 1, false}, {CMD_PASTE, 0, false},        {CMD_PRINTER_FONT, 0, true},
    };
    for (const Case& c : cases) EXPECT_EQ(x->IsCommandEnabled(c.cmd, c.s, c.s ? 0 : -1), c.enabled) << c.cmd;

    CErrorInfo err;
    ASSERT_TRUE(x->CopyToClipboard(clipboard, {2}, err));
    std::vector<uint8_t> block;
    ASSERT_TRUE(clipboard.GetData("PX920_XTEXT", block));
    EXPECT_EQ(block, (std::vector<uint8_t> {1, 0, 10, 0, 'V', 'e', 'n', 't', 'i', 'l', 0, 0, 0, 0}));
    // A record whose text has no terminator inside it creates nothing.
    EXPECT_EQ(x->CreateChildFromRecord(-1, std::vector<uint8_t> {5, 0, 'a', 'b', 'c'}), nullptr);
    EXPECT_EQ(x->GetChildCount(), 3);
}

TEST_F(TextsFixture, StandardTextListProbe)
{
    struct Case {
        std::vector<uint8_t> bytes;
        bool shown;
    } cases[] = {
        {ThreeTexts(), true},
        {{128, 6, 0, 1, 0, 0}, true},
        {{129, 6, 0, 1, 0, 0}, false},
        {{128, 6}, false},
    };
    for (const Case& c : cases) {
        dir.Write("XTEX.920", c.bytes);
        auto root = OpenRoot();
        EXPECT_EQ(Xtex(*root) != nullptr, c.shown) << c.bytes.size();
    }
}
