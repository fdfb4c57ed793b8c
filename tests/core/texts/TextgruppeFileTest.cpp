// The text group file: byte layout, reading, writing and damaged input.
#include "TextsFixture.h"
#include "util/StringTable.h"

namespace {
// A text group as the module receives it: two lists, runs of equal DW, an
// embedded standard text and one protocol number (hence type 10).
std::vector<uint8_t> KesselGroup()
{
    return {
        0x0A, 64, 0,                          // type 10, total length 64
        5, 'D', 'e', 'm', 'o',                // project name
        'A', 'B', 'C',                        // identifier
        7, 'K', 'e', 's', 's', 'e', 'l',      // name
        2,                                    // two text lists
        // list L01, record length 36
        'L', '0', '1', 36, 0, 4, 'N', 'o', 't', 5, 2, 0,
        5, 0, 2,                              //   DW 5: two texts
        0, 0x00, 'A', 'u', 's', 0,            //     bit 0, no protocol, "Aus"
        3, 0x41, 'E', 'i', 'n', 27, 5, 0, 0,  //     bit 3, protocol 1 mode 2, "Ein@005"
        7, 0, 1,                              //   DW 7: one text
        15, 0x00, 0,                          //     bit 15, empty
        // list L02, record length 9, DB 200, no texts
        'L', '0', '2', 9, 0, 1, 200, 0, 0,
    };
}

// Offset of the first list record in KesselGroup().
constexpr size_t kL01 = 19;

std::vector<std::string> Texts(const CTextliste& l)
{
    std::vector<std::string> out;
    for (CNode* c : l.m_children) {
        auto* t = static_cast<CMeldetext*>(c);
        out.push_back(std::to_string(t->m_lineNumber) + ":" + std::to_string(t->m_dw) + "." + std::to_string(t->m_bit) +
                      ":" + std::to_string(t->m_protocolNumber) + "/" + std::to_string(t->m_protocolMode) + ":" + t->m_text);
    }
    return out;
}

std::vector<std::string> ListIds(const CTextgruppe& g)
{
    std::vector<std::string> out;
    for (CNode* c : g.m_children) out.push_back(static_cast<CTextliste*>(c)->m_identifier);
    return out;
}
}  // namespace

TEST_F(TextsFixture, GroupFileReadsAndWritesByteForByte)
{
    dir.Write("TABC.920", KesselGroup());
    auto root = OpenRoot();
    CTextgruppe* g = Group(*root, "TABC");
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->m_name, "Kessel");
    EXPECT_EQ(g->m_fileLength, 64);
    EXPECT_EQ(g->GetColumnText(1), "TABC");
    ASSERT_TRUE(g->Load());
    ASSERT_EQ(g->GetChildCount(), 2);
    auto* l1 = static_cast<CTextliste*>(g->GetChild(0));
    auto* l2 = static_cast<CTextliste*>(g->GetChild(1));
    EXPECT_EQ(l1->m_identifier, "L01");
    EXPECT_EQ(l1->m_name, "Not");
    EXPECT_EQ(l1->m_db, 5);
    EXPECT_EQ(l1->m_recordLength, 36);
    EXPECT_EQ(Texts(*l1), (std::vector<std::string> {"1:5.0:0/0:Aus", "2:5.3:1/2:Ein@005", "3:7.15:0/0:"}));
    EXPECT_EQ(l2->m_db, 200);
    EXPECT_EQ(l2->m_recordLength, 9);
    EXPECT_EQ(g->ComputeTotalLength(), 64u);

    g->m_modified = 1;
    ASSERT_TRUE(g->Save());
    EXPECT_EQ(dir.Read("TABC.920"), KesselGroup());
    EXPECT_FALSE(g->m_modified);
    EXPECT_EQ(g->m_fileLength, 64);
}

TEST_F(TextsFixture, GroupRowsAndColumns)
{
    dir.Write("TABC.920", KesselGroup());
    auto root = OpenRoot();
    CTextgruppe* g = Group(*root, "TABC");
    ASSERT_TRUE(g->Load());
    auto* l1 = static_cast<CTextliste*>(g->GetChild(0));
    EXPECT_EQ(g->GetColumnHeaders(), LoadString(64015));
    std::vector<std::string> row;
    for (int c = 0; c < g->GetColumnCount(); ++c) row.push_back(l1->GetColumnText(c));
    EXPECT_EQ(row, (std::vector<std::string> {"Not", "NL01", "920", "5", "36", g->m_fileDate}));
    row.clear();
    for (int c = 0; c < l1->GetColumnCount(); ++c) row.push_back(l1->GetChild(1)->GetColumnText(c));
    EXPECT_EQ(row, (std::vector<std::string> {"2", "5", "3", "1", "2", "Ein@005"}));
    EXPECT_EQ(l1->GetStatusText(1), "TABC");
    EXPECT_EQ(l1->GetStatusText(3), "NL01");
    EXPECT_EQ(l1->GetStatusText(5), "DB: 5");
    int widths[6];
    for (int c = 0; c < 6; ++c) widths[c] = l1->GetColumnWidth(c);
    EXPECT_EQ(std::vector<int>(widths, widths + 6), (std::vector<int> {10, 6, 6, 13, 13, 80}));
}

TEST_F(TextsFixture, TypeCodeFollowsTheProtocolNumbers)
{
    auto root = OpenRoot();
    CTextgruppe* g = NewGroup(*root, "Abc", PadRight("Kessel", 32));
    CTextliste* l = AddList(*g, "L01");
    CMeldetext* t = AddText(*l, 4, 1, "Druck");
    l->ChildChanged(nullptr);
    ASSERT_TRUE(g->Save());
    std::vector<uint8_t> file = dir.Read("TABC.920");
    ASSERT_GT(file.size(), 3u);
    EXPECT_EQ(file[0], 9);
    EXPECT_EQ(GetU16(&file[1]), file.size());
    // "BA0 (direkte Ausgabe)" stores protocol number 31.
    t->m_protocolNumber = 31;
    ASSERT_TRUE(g->Save());
    file = dir.Read("TABC.920");
    EXPECT_EQ(file[0], 10);
    // The identifier keeps the letter case it was typed in.
    EXPECT_EQ(std::string(file.begin() + 8, file.begin() + 11), "Abc");
}

TEST_F(TextsFixture, EditingFormBecomesEscapesInTheFile)
{
    struct Case {
        std::string editing;
        std::vector<uint8_t> stored;  // bytes of the text in the file, NUL included
        std::string reread;
    } cases[] = {
        {"@005 Alarm", {27, 5, 0, ' ', 'A', 'l', 'a', 'r', 'm', 0}, "@005 Alarm"},
        {"@5", {27, 5, 0, 0}, "@005"},
        {"@256", {27, 0, 1, 0}, "@256"},
        {"@1234", {27, 123, 0, '4', 0}, "@1234"},
        {"@x@", {'@', 'x', '@', 0}, "@x@"},
        {"a\x1b" "b", {'a', '?', 'b', 0}, "a?b"},  // a raw ESC cannot swallow the record
    };
    for (const Case& c : cases) {
        auto root = OpenRoot();
        CTextgruppe* g = NewGroup(*root, "ESC", "E");
        CTextliste* l = AddList(*g, "L01", 1, "L");
        AddText(*l, 1, 0, c.editing);
        l->ChildChanged(nullptr);
        ASSERT_TRUE(g->Save()) << c.editing;
        std::vector<uint8_t> file = dir.Read("TESC.920");
        // header 9 + 4 + 1, list head 9 + 1, run 3, bit and protocol 2
        std::vector<uint8_t> text(file.begin() + 14 + 10 + 3 + 2, file.end());
        EXPECT_EQ(text, c.stored) << c.editing;
        EXPECT_EQ(l->m_recordLength, 9 + 1 + 3 + 3 + c.stored.size() - 1) << c.editing;

        auto again = OpenRoot();
        CTextgruppe* g2 = Group(*again, "TESC");
        ASSERT_TRUE(g2 && g2->Load());
        EXPECT_EQ(static_cast<CMeldetext*>(static_cast<CTextliste*>(g2->GetChild(0))->GetChild(0))->m_text, c.reread);
    }
}

TEST_F(TextsFixture, LoadSortsListsAndTextsAndNumbersThem)
{
    // Lists ZZZ, abc, ABD; in ZZZ the runs DW 9, DW 2 (bits 5, 3) and DW 9 again.
    std::vector<uint8_t> v = {9, 0, 0, 5, 'D', 'e', 'm', 'o', 'S', 'R', 'T', 2, 'S'};
    auto list = [&](const char* id, std::vector<std::vector<int>> runs) {
        std::vector<uint8_t> rec;
        AppendText(rec, id);
        AppendU16(rec, 0);
        Append(rec, {1, 7});
        AppendU16(rec, static_cast<unsigned>(runs.size()));
        for (auto& r : runs) {  // DW, then bits; each text is "t" + bit
            AppendU16(rec, static_cast<unsigned>(r[0]));
            rec.push_back(static_cast<uint8_t>(r.size() - 1));
            for (size_t k = 1; k < r.size(); ++k) Append(rec, {r[k], 0, 't', '0' + r[k], 0});
        }
        PutU16(&rec[3], static_cast<uint16_t>(rec.size()));
        v.insert(v.end(), rec.begin(), rec.end());
    };
    v.push_back(3);
    list("ZZZ", {{9, 1}, {2, 5, 3}, {9, 0}});
    list("abc", {});
    list("ABD", {{1, 2}});
    PutU16(&v[1], static_cast<uint16_t>(v.size()));
    dir.Write("TSRT.920", v);

    auto root = OpenRoot();
    CTextgruppe* g = Group(*root, "TSRT");
    ASSERT_TRUE(g && g->Load());
    EXPECT_EQ(ListIds(*g), (std::vector<std::string> {"abc", "ABD", "ZZZ"}));
    auto* zzz = static_cast<CTextliste*>(g->GetChild(2));
    EXPECT_EQ(Texts(*zzz), (std::vector<std::string> {"1:2.3:0/0:t3", "2:2.5:0/0:t5", "3:9.0:0/0:t0", "4:9.1:0/0:t1"}));
    // Two runs once sorted: 9 + empty name + 2 * 3 + 4 * (3 + 2).
    EXPECT_EQ(zzz->m_recordLength, 35);
    EXPECT_EQ(zzz->ComputeRecordLength(), 35u);
    // Saving writes the sorted form with merged runs.
    g->m_modified = 1;
    ASSERT_TRUE(g->Save());
    auto again = OpenRoot();
    CTextgruppe* g2 = Group(*again, "TSRT");
    ASSERT_TRUE(g2 && g2->Load());
    EXPECT_EQ(Texts(*static_cast<CTextliste*>(g2->GetChild(2))), Texts(*zzz));
    EXPECT_EQ(static_cast<size_t>(g2->m_fileLength), g->ComputeTotalLength());
}

TEST_F(TextsFixture, StatedRecordLengthBeyondTheContentsIsSkipped)
{
    std::vector<uint8_t> v = KesselGroup();
    // L01 claims 3 more bytes than it uses; they follow its last text.
    v[kL01 + 3] = 39;
    v.insert(v.begin() + kL01 + 36, {0xEE, 0xEE, 0xEE});
    PutU16(&v[1], static_cast<uint16_t>(v.size()));
    dir.Write("TABC.920", v);
    auto root = OpenRoot();
    CTextgruppe* g = Group(*root, "TABC");
    ASSERT_TRUE(g && g->Load());
    ASSERT_EQ(g->GetChildCount(), 2);
    EXPECT_EQ(Texts(*static_cast<CTextliste*>(g->GetChild(0))).size(), 3u);
    EXPECT_EQ(static_cast<CTextliste*>(g->GetChild(1))->m_db, 200);
    // Recomputed from the contents, not the stated length.
    EXPECT_EQ(static_cast<CTextliste*>(g->GetChild(0))->m_recordLength, 36);
}

TEST_F(TextsFixture, DamagedGroupFilesDoNotLoadAndAreNotOverwritten)
{
    std::vector<std::pair<std::string, std::vector<uint8_t>>> damaged;
    std::vector<uint8_t> full = KesselGroup();
    for (size_t n = 0; n < full.size(); ++n) damaged.push_back({"cut at " + std::to_string(n), {full.begin(), full.begin() + n}});
    std::vector<uint8_t> small = full;
    small[kL01 + 3] = 30;  // stated record length smaller than the contents
    damaged.push_back({"record length too small", small});
    std::vector<uint8_t> overrun = full;
    overrun[kL01 + 3] = 14;  // the second run starts beyond the stated end
    damaged.push_back({"run beyond record", overrun});
    std::vector<uint8_t> wrongType = full;
    wrongType[0] = 11;
    damaged.push_back({"type 11", wrongType});
    std::vector<uint8_t> badName = full;
    badName[11] = 90;  // name length byte out of range
    damaged.push_back({"name length 90", badName});

    auto root = OpenRoot();
    for (auto& [what, bytes] : damaged) {
        dir.Write("TABC.920", bytes);
        CTextgruppe g(Groups(*root), "TABC.920");
        EXPECT_FALSE(g.Load()) << what;
        EXPECT_EQ(g.GetChildCount(), 0) << what;
        EXPECT_FALSE(g.m_loaded) << what;
        g.m_modified = 1;
        EXPECT_FALSE(g.Save()) << what;
        EXPECT_EQ(dir.Read("TABC.920"), bytes) << what;
    }
}

TEST_F(TextsFixture, ProbeAcceptsOnlyMatchingTextGroupHeaders)
{
    struct Case {
        std::string file;
        uint8_t type;
        std::string id;
        bool shown;
    } cases[] = {
        {"TABC.920", 9, "ABC", true},
        {"TABC.920", 10, "abc", true},
        {"TABC.920", 9, "ABD", false},
        {"TABC.920", 12, "ABC", false},
        {"tabc.920", 9, "ABC", true},
    };
    for (const Case& c : cases) {
        TempDir d;
        d.Write("SDAT.920", TextsSdatBytes("Demo"));
        std::vector<uint8_t> v = {c.type, 12, 0, 1};
        AppendText(v, c.id);
        Append(v, {4, 'A', 'b', 'c', 0});
        d.Write(c.file, v);
        CProjekt root(d.path());
        root.Load();
        CFileList* g = root.GetCategory(NT_CAT_TEXTGRUPPEN)->FindByBaseName("TABC");
        EXPECT_EQ(g != nullptr, c.shown) << c.file << " " << int(c.type) << " " << c.id;
        if (g) {
            EXPECT_EQ(g->GetType(), NT_TEXTGRUPPE);
            EXPECT_EQ(g->GetIdentifier(), c.id);
            EXPECT_EQ(g->m_fileLength, 12);
            EXPECT_TRUE(g->Load());
        }
    }
}

TEST_F(TextsFixture, SaveRefusesWhatTheFileCannotHold)
{
    auto root = OpenRoot();
    CTextgruppe* g = NewGroup(*root, "BIG", "B");
    CTextliste* l = AddList(*g, "L01");
    // 256 texts with one DW: the run count is a single byte.
    for (int bit = 0; bit < 256; ++bit) AddText(*l, 5, bit, "x");
    l->ChildChanged(nullptr);
    dir.Write("TBIG.920", {1, 2, 3});
    EXPECT_FALSE(g->Save());
    EXPECT_EQ(dir.Read("TBIG.920"), (std::vector<uint8_t> {1, 2, 3}));
    EXPECT_TRUE(g->m_modified);

    // An unloaded group would write itself empty.
    dir.Write("TABC.920", KesselGroup());
    auto again = OpenRoot();
    CTextgruppe* k = Group(*again, "TABC");
    ASSERT_NE(k, nullptr);
    EXPECT_FALSE(k->Save());
    EXPECT_EQ(dir.Read("TABC.920"), KesselGroup());

    // A project name too long for its short string.
    CTextgruppe* ok = NewGroup(*root, "LNG", "x");
    root->m_name = std::string(81, 'P');
    EXPECT_FALSE(ok->Save());
    EXPECT_FALSE(dir.Exists("TLNG.920"));
}
