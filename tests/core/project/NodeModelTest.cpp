#include <gtest/gtest.h>

#include "TestLists.h"
#include "model/Clipboard.h"
#include "model/DocumentLink.h"
#include "util/ErrorInfo.h"

namespace {
struct CountingDocument : IDocumentLink {
    int refreshes = 0;
    std::string title;
    void RefreshViews(int) override { ++refreshes; }
    void SetTitle(const std::string& t) override { title = t; }
};

std::vector<int> Keys(const CListNode& list)
{
    std::vector<int> out;
    for (CNode* c : list.m_children) out.push_back(static_cast<CTestEntry*>(c)->m_key);
    return out;
}

class NodeModel : public ProjectTreeFixture {
protected:
    void SetUp() override
    {
        ProjectTreeFixture::SetUp();
        dir.Write("B001.920", TestListBytes("001", "Eins", {1, 2, 3, 4, 5}));
        dir.Write("B002.920", TestListBytes("002", "Zwei", {}));
        root = OpenRoot();
        pics = root->GetCategory(NT_CAT_BILDER);
        a = static_cast<CTestList*>(pics->GetChild(0));
        b = static_cast<CTestList*>(pics->GetChild(1));
        ASSERT_TRUE(a->Load());
        ASSERT_TRUE(b->Load());
    }
    std::unique_ptr<CProjekt> root;
    CCategory* pics = nullptr;
    CTestList* a = nullptr;
    CTestList* b = nullptr;
};
}  // namespace

TEST_F(NodeModel, ChildChangedSortsOnlyWhenOutOfPlace)
{
    CountingDocument doc;
    a->m_document = &doc;
    EXPECT_EQ(a->ChildChanged(a->GetChild(2)), 0);
    EXPECT_EQ(doc.refreshes, 1);
    CTestEntry stranger(nullptr, 9);
    EXPECT_EQ(a->ChildChanged(&stranger), -1);
    EXPECT_EQ(doc.refreshes, 1);
    static_cast<CTestEntry*>(a->GetChild(0))->m_key = 10;
    a->ChildChanged(a->GetChild(0));
    EXPECT_EQ(Keys(*a), (std::vector<int> {2, 3, 4, 5, 10}));
    a->m_document = nullptr;
}

TEST_F(NodeModel, SortIsStableForEqualKeys)
{
    a->DestroyChildren();
    for (int k : {3, 1, 3, 2, 1}) a->AddChild(new CTestEntry(a, k));
    CNode* firstThree = a->GetChild(0);
    for (int i = 0; i < 3; ++i) a->Sort();
    EXPECT_EQ(Keys(*a), (std::vector<int> {1, 1, 2, 3, 3}));
    EXPECT_EQ(a->GetChild(3), firstThree);
}

TEST_F(NodeModel, InsertChildAfterAppendsOutsideTheRange)
{
    for (int index : {-1, -2, 99}) {
        auto* e = new CTestEntry(a, 50 + index);
        // -2 stands for the last index at the time of the call.
        a->InsertChildAfter(e, index == -2 ? a->GetChildCount() - 1 : index);
        EXPECT_EQ(a->m_children.back(), e) << index;
    }
    auto* mid = new CTestEntry(a, 77);
    a->InsertChildAfter(mid, 0);
    EXPECT_EQ(a->GetChild(1), mid);
}

TEST_F(NodeModel, KennungColumnShowsBaseNameWhenIdentifierIsEmpty)
{
    EXPECT_EQ(a->GetColumnText(1), "B001");
    EXPECT_EQ(a->GetColumnText(2), "920");
    EXPECT_EQ(a->GetStatusText(1), "B001");
    EXPECT_EQ(a->GetStatusText(2), "Eins");
    EXPECT_EQ(a->GetStatusText(0), "Demo");
}

TEST_F(NodeModel, ClipboardBlockLayoutAndPastePositions)
{
    CMemoryClipboard clip;
    CErrorInfo err;
    ASSERT_TRUE(a->CopyToClipboard(clip, {0, 2, 4}, err));
    std::vector<uint8_t> block;
    ASSERT_TRUE(clip.GetData("PX920_TEST", block));
    std::vector<uint8_t> expected;
    AppendU16(expected, 3);
    for (int key : {1, 3, 5}) {
        AppendU16(expected, 6);
        AppendU16(expected, static_cast<unsigned>(key));
        Append(expected, {0xAA, 0xAA, 0, 0});  // record padding, then nested size 0
    }
    EXPECT_EQ(block, expected);

    b->DestroyChildren();
    for (int k : {10, 20, 30, 40, 50, 60}) b->AddChild(new CTestEntry(b, k));
    // Pasting with row 4 selected inserts after row 4, the next after the
    // first pasted one; an unsorted list shows the insertion order.
    struct CUnsorted : CTestList {
        using CTestList::CTestList;
        void Sort() override {}
    };
    CUnsorted plain(pics, "B002.920");
    for (int k : {10, 20, 30, 40, 50, 60}) plain.AddChild(new CTestEntry(&plain, k));
    EXPECT_NE(plain.PasteFromClipboard(clip, 4), nullptr);
    EXPECT_EQ(Keys(plain), (std::vector<int> {10, 20, 30, 40, 50, 1, 3, 5, 60}));
    plain.PasteFromClipboard(clip, -1);
    EXPECT_EQ(Keys(plain), (std::vector<int> {10, 20, 30, 40, 50, 1, 3, 5, 60, 1, 3, 5}));
    // The sorting list puts the pasted entries in order.
    b->PasteFromClipboard(clip, 4);
    EXPECT_EQ(Keys(*b), (std::vector<int> {1, 3, 5, 10, 20, 30, 40, 50, 60}));
    EXPECT_TRUE(b->ClipboardHasFormat(clip));
}

TEST_F(NodeModel, ClipboardRefusesBlocksOf65536Bytes)
{
    CMemoryClipboard clip;
    CErrorInfo err;
    a->DestroyChildren();
    // 2 + n * (size + 2): two records of 32765 bytes give exactly 65536.
    a->AddChild(new CTestEntry(a, 1, 32765));
    a->AddChild(new CTestEntry(a, 2, 32765));
    EXPECT_FALSE(a->CopyToClipboard(clip, {0, 1}, err));
    EXPECT_EQ(err.Id(), 62006);
    EXPECT_EQ(err.Format(), "Fehler 6: In die Zwischenablage k\xF6nnen nicht mehr als 65535 Byte kopiert werden.");
    static_cast<CTestEntry*>(a->GetChild(1))->m_recordSize = 32764;
    err.Clear();
    EXPECT_TRUE(a->CopyToClipboard(clip, {0, 1}, err));
    std::vector<uint8_t> block;
    clip.GetData("PX920_TEST", block);
    EXPECT_EQ(block.size(), 65535u);
}

TEST_F(NodeModel, PasteOfDamagedBlockStopsWithoutReadingBeyondIt)
{
    CMemoryClipboard clip;
    CErrorInfo err;
    ASSERT_TRUE(a->CopyToClipboard(clip, {0, 1}, err));
    std::vector<uint8_t> block;
    clip.GetData("PX920_TEST", block);
    for (size_t cut = 0; cut < block.size(); ++cut) {
        CMemoryClipboard damaged;
        damaged.SetData("PX920_TEST", std::vector<uint8_t>(block.begin(), block.begin() + cut));
        int before = b->GetChildCount();
        b->PasteFromClipboard(damaged, -1);
        EXPECT_LE(b->GetChildCount(), before + 2) << cut;
    }
    // A count far larger than the data, and a record size word of 0.
    CMemoryClipboard lying;
    lying.SetData("PX920_TEST", {0xFF, 0xFF, 0, 0, 1, 0});
    b->PasteFromClipboard(lying, -1);
}

TEST_F(NodeModel, LoadOfAChangedFileFailsAndLeavesNothingLoaded)
{
    a->Unload();
    dir.Write("B001.920", TestListBytes("001", "Eins", {1}, LTC_PROTOCOL));
    EXPECT_FALSE(a->Load());
    EXPECT_EQ(a->GetChildCount(), 0);
    EXPECT_FALSE(a->m_loaded);
    EXPECT_EQ(pics->GetChild(0), a);  // still shown: the probe accepted it earlier
}

TEST_F(NodeModel, SaveWithOverlongProjectNameFailsAndKeepsOldFile)
{
    std::vector<uint8_t> before = dir.Read("B001.920");
    root->m_name = std::string(81, 'x');
    a->m_modified = 1;
    EXPECT_FALSE(a->Save());
    EXPECT_TRUE(a->m_modified);
    EXPECT_EQ(dir.Read("B001.920"), before);
    // And no temporary file is left behind.
    EXPECT_EQ(fsx::FindFiles(dir.path(), ".px920-*").size(), 0u);
}
