#include "LinkFixture.h"
#include "transfer/ModuleDirectory.h"
#include "transfer/Transfer.h"
#include "util/Charset.h"

namespace {

// A plain list file node of a given type (enough for the transfer walk).
class FakeList : public CFileList {
public:
    FakeList(CNode* parent, int type, std::string file) : CFileList(parent, std::move(file)), m_type(type) {}
    int GetType() const override { return m_type; }
    bool Load() override { return (m_loaded = 1) != 0; }
    int GetColumnCount() const override { return 5; }
    int GetColumnWidth(int) const override { return 8; }
    std::string GetColumnHeaders() const override { return {}; }
    int m_type;
};

// A container whose Load fills it (or fails).
class FakeFolder : public CListNode {
public:
    FakeFolder(int type, std::vector<std::pair<int, std::string>> children, bool loadable = true)
        : CListNode(nullptr, 0, "folder"), m_type(type), m_pending(std::move(children)), m_loadable(loadable)
    {
    }
    int GetType() const override { return m_type; }
    std::string GetColumnText(int) const override { return {}; }
    bool Load() override
    {
        ++loads;
        if (!m_loadable) return false;
        for (auto& [t, f] : m_pending) AddChild(new FakeList(this, t, f));
        m_loaded = 1;
        return true;
    }
    int GetColumnCount() const override { return 5; }
    int GetColumnWidth(int) const override { return 8; }
    std::string GetColumnHeaders() const override { return {}; }
    int loads = 0;

private:
    int m_type;
    std::vector<std::pair<int, std::string>> m_pending;
    bool m_loadable;
};

std::vector<std::string> Walk(CTransferSequence& seq)
{
    std::vector<std::string> names;
    while (CFileList* l = seq.Next()) {
        names.push_back(l->GetFileName());
        seq.Completed();
    }
    return names;
}

}  // namespace

TEST(TransferWalk, ContainersExpandChildByChildInSelectionOrder)
{
    FakeFolder texts(NT_CAT_TEXTGRUPPEN, {{NT_TEXTGRUPPE, "TA.920"}, {NT_TEXTGRUPPE, "TB.920"}});
    FakeFolder empty(NT_CAT_BILDER, {});
    FakeFolder composite(NT_COMPOSITE_LIST, {{NT_COMPOSITE_ENTRY, "B1.920"}});
    FakeList sdat(nullptr, NT_SYSDATA, "SDAT.920");
    CTransferSequence seq({&sdat, &texts, &empty, &composite});
    EXPECT_EQ(Walk(seq), (std::vector<std::string> {"SDAT.920", "TA.920", "TB.920", "B1.920"}));
    EXPECT_EQ(texts.loads, 1);
    EXPECT_EQ(empty.loads, 1);
    EXPECT_FALSE(seq.LoadFailed());

    CTransferSequence none({});
    EXPECT_EQ(none.Next(), nullptr);

    FakeFolder broken(NT_CAT_PROTOKOLLE, {}, false);
    CTransferSequence failing({&sdat, &broken, &texts});
    EXPECT_EQ(Walk(failing), (std::vector<std::string> {"SDAT.920"}));
    EXPECT_TRUE(failing.LoadFailed());

    CTransferSequence cancelled({&texts});
    ASSERT_NE(cancelled.Next(), nullptr);
    cancelled.Cancel();
    cancelled.Completed();  // the running list finishes
    EXPECT_EQ(cancelled.Next(), nullptr);
}

TEST(TransferWalk, DeleteCollectsListsAndTheListsOfContainers)
{
    FakeFolder options(NT_CAT_OPTIONEN, {{NT_OPTION_LIST, "ERST.920"}, {NT_OPTION_LIST, "CSKA.920"}});
    FakeFolder composite(NT_COMPOSITE_LIST, {{NT_COMPOSITE_ENTRY, "B1.920"}});  // entries are not lists to delete
    FakeList picture(nullptr, NT_BILD, "B001.920");
    FakeList element(nullptr, NT_VFELD, "x");  // not a list file
    CModulListe moduleEntry(nullptr, "T001", "920");
    auto got = CollectForModuleDelete({&picture, &element, &options, &composite, &moduleEntry});
    std::vector<CNode*> expected {&picture, options.GetChild(0), options.GetChild(1), &moduleEntry};
    EXPECT_EQ(got, expected);
    EXPECT_TRUE(CollectForModuleDelete({&element, &composite}).empty());
}

class ModuleDirectory : public LinkFixture {
protected:
    void SetUp() override { App().SetUi(&ui); }
    void TearDown() override
    {
        LinkFixture::TearDown();
        App().SetUi(nullptr);
    }
    CSilentUserInteraction ui;
};

TEST_F(ModuleDirectory, LoadReadsSectionsThenTheFixedLists)
{
    StartModule();
    sim->PutList("TABC", LongHeaderList(9, "ABC", "Kessel"));
    sim->PutList("PPRT", LongHeaderList(11, "PRT", "Protokoll"));
    sim->PutList("XTEX", ShortHeaderList(128, 50));
    CInhaltsverzeichnis directory(comm, "SYS");
    ASSERT_TRUE(directory.Load());
    EXPECT_EQ(comm.State(), LinkState::Closed);
    ASSERT_EQ(directory.GetChildCount(), 6);  // five sections and XTEX (no SDAT, no ASYM)
    const char* titles[] = {"Bilder", "Textgruppen", "Schrittketten-Gruppen", "Protokolle", "Optionen"};
    for (int i = 0; i < 5; ++i) {
        auto* s = static_cast<CVerzeichnisAbschnitt*>(directory.GetChild(i));
        EXPECT_EQ(s->GetType(), NT_DEVICE_FOLDER);
        EXPECT_EQ(s->CategoryText(), titles[i]);
        EXPECT_EQ(s->GetColumnText(1), std::string(1, "BTGPC"[i]) + "*");
        EXPECT_EQ(s->m_title, std::string("Inhaltsverzeichnis PX920 ") + titles[i]);
        EXPECT_TRUE(s->m_loaded);
    }
    auto* texts = static_cast<CVerzeichnisAbschnitt*>(directory.GetChild(1));
    ASSERT_EQ(texts->GetChildCount(), 1);
    EXPECT_EQ(static_cast<CFileList*>(texts->GetChild(0))->GetFileName(), "TABC.SYS");
    auto* xtex = static_cast<CModulListe*>(directory.GetChild(5));
    EXPECT_EQ(xtex->GetColumnText(0), "Standard-Textliste");
    int total = static_cast<int>(sim->ListImage("TABC").size() + sim->ListImage("PPRT").size() +
                                 sim->ListImage("XTEX").size());
    EXPECT_EQ(directory.TotalLength(), total);
    EXPECT_EQ(Cp1252ToUtf8(directory.GetSummaryText()), "Gesamtlänge: " + std::to_string(total) + " Byte");
    EXPECT_EQ(directory.GetStatusText(3), directory.GetSummaryText());
    EXPECT_EQ(sim->Received().back(), Bytes {0x00});  // closed with the closing telegram
    // The total follows entries that leave the directory (a delete in the module).
    texts->DeleteChild(texts->GetChild(0));
    EXPECT_EQ(directory.TotalLength(), total - static_cast<int>(sim->ListImage("TABC").size()));
}

TEST_F(ModuleDirectory, FailureKeepsWhatWasReadAndReportsTheFirstError)
{
    // Frame 3 is the directory request of the second section.
    opt.faults.push_back({SimFault::badAnswer, 3});
    StartModule();
    sim->PutList("B001", LongHeaderList(2, "001", "Bild"));
    CInhaltsverzeichnis directory(comm);
    EXPECT_FALSE(directory.Load());
    EXPECT_FALSE(directory.m_loaded);
    EXPECT_EQ(ui.m_lastText, "Fehler 68: Unerwartetes Telegramm von PX920, Fkt.-Nr. = 7Eh");
    ASSERT_EQ(directory.GetChildCount(), 5);  // the sections created; nothing read after the failure
    EXPECT_EQ(static_cast<CListNode*>(directory.GetChild(0))->GetChildCount(), 1);
    EXPECT_FALSE(static_cast<CListNode*>(directory.GetChild(1))->m_loaded);
    EXPECT_EQ(comm.State(), LinkState::Closed);
}

TEST_F(ModuleDirectory, BusyLinkIsReportedWithoutOpening)
{
    StartModule();
    ASSERT_TRUE(OpenLink());
    CInhaltsverzeichnis directory(comm);
    EXPECT_FALSE(directory.Load());
    EXPECT_EQ(ui.m_lastText, "Fehler 61: Eine andere Online-Verbindung ist bereits aktiv");
    EXPECT_EQ(directory.GetChildCount(), 0);
}

TEST(ModuleDirectoryCommands, EnablingOfTheDirectoryAndItsSections)
{
    App().Settings().online = true;
    CComm comm;
    CInhaltsverzeichnis directory(comm);
    CVerzeichnisAbschnitt section(&directory, "B*", 63349, "920");
    struct Case {
        int command, selected;
        bool directoryAnswer, sectionAnswer;
    };
    const Case cases[] = {
        {CMD_OPEN, 1, true, false},       {CMD_PROPERTIES, 1, true, true}, {CMD_PROPERTIES, 2, false, false},
        {CMD_CLOSE, 0, true, true},       {CMD_EPROM, 0, true, true},      {CMD_PAKDAT, 1, true, true},
        {CMD_PAKDAT, 0, false, false},    {CMD_NEW, 1, false, false},      {CMD_DELETE, 1, false, false},
        {CMD_PRINT, 1, false, false},     {CMD_COPY, 1, false, false},     {CMD_DEVICE_DELETE, 1, true, true},
        {CMD_DEVICE_DELETE, 0, false, false}, {CMD_DEVICE_READ, 1, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        EXPECT_EQ(directory.IsCommandEnabled(c.command, c.selected, 0), c.directoryAnswer);
        EXPECT_EQ(section.IsCommandEnabled(c.command, c.selected, 0), c.sectionAnswer);
    }
    EXPECT_EQ(directory.GetColumnWidth(0), 40);
    EXPECT_EQ(directory.GetColumnWidth(4), 7);
    EXPECT_EQ(directory.GetColumnWidth(9), 1);
}
