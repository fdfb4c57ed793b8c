#include <gtest/gtest.h>

#include "TestLists.h"
#include "app/Application.h"
#include "eprom/OptionsListe.h"
#include "eprom/VerbundListe.h"
#include "model/DocumentLink.h"
#include "util/ErrorInfo.h"
#include "util/StringTable.h"
#include "util/UserInteraction.h"

namespace {
std::vector<std::string> ColumnOf(const CListNode& list, int column)
{
    std::vector<std::string> out;
    for (CNode* c : list.m_children) out.push_back(c->GetColumnText(column));
    return out;
}

std::string Str(const std::vector<uint8_t>& v) { return std::string(v.begin(), v.end()); }
}  // namespace

TEST(ProjectRoot, ExtensionFollowsTheSystemDataFile)
{
    struct Case {
        std::vector<std::string> files;
        bool valid;
        std::string ext;
    } cases[] = {
        {{"SDAT.920", "SDAT.SYS"}, true, "920"},
        {{"SDAT.SYS"}, true, "SYS"},
        {{"sdat.920"}, true, "920"},
        {{}, false, "SYS"},
    };
    for (const Case& c : cases) {
        TempDir dir;
        for (const std::string& f : c.files) dir.Write(f, SdatHeaderBytes("Anlage  "));
        CProjekt root(dir.path());
        EXPECT_EQ(root.m_valid != 0, c.valid) << c.files.size();
        EXPECT_EQ(root.GetExtension(), c.ext);
        if (c.valid) {
            EXPECT_EQ(root.m_name, "Anlage  ");
            EXPECT_FALSE(root.GetDate().empty());
        }
    }
}

TEST(ProjectRoot, DamagedSystemDataHeaderIsNoProject)
{
    TempDir dir;
    dir.Write("SDAT.920", {2, 5, 0, 1});  // wrong type
    EXPECT_FALSE(CProjekt(dir.path()).m_valid);
    dir.Write("SDAT.920", {1, 5, 0, 90, 'x'});  // name length byte out of range
    EXPECT_FALSE(CProjekt(dir.path()).m_valid);
    dir.Write("SDAT.920", {1, 5});  // cut
    EXPECT_FALSE(CProjekt(dir.path()).m_valid);
    std::string name;
    EXPECT_FALSE(TestProject(dir.path(), name));
    EXPECT_EQ(name, "");
}

TEST_F(ProjectTreeFixture, RootShowsCategoriesCompositesAndFixedLists)
{
    dir.Write("LDAT2.920", {});
    auto root = OpenRoot();
    std::vector<std::string> names = ColumnOf(*root, 0);
    ASSERT_GE(names.size(), 6u);
    EXPECT_EQ(names[0], "Bilder");
    EXPECT_EQ(names[1], "Textgruppen");
    EXPECT_EQ(names[2], "Schrittketten-Gruppen");
    EXPECT_EQ(names[3], "Protokolle");
    EXPECT_EQ(names[4], "Optionen");
    EXPECT_EQ(names[5], "Lade-Verbund-Datei 2");
    EXPECT_EQ(ColumnOf(*root, 1)[3], "P@??");
    EXPECT_EQ(root->GetComposite(1), root->GetChild(5));
    EXPECT_EQ(root->GetComposite(0), nullptr);
    EXPECT_EQ(root->GetColumnHeaders(), LoadString(64007));
}

TEST_F(ProjectTreeFixture, CategoryScanKeepsOnlyMatchingAcceptedFiles)
{
    dir.Write("B002.920", TestListBytes("002", "Zwei"));
    dir.Write("b001.920", TestListBytes("001", "Eins"));  // lower case: shown upper-cased
    dir.Write("B0001.920", TestListBytes("000", "lang"));  // 9-character name
    dir.Write("B003.920", TestListBytes("00X", "falsch"));  // identifier differs from the name
    dir.Write("B004.SYS", TestListBytes("004", "andere Erweiterung"));
    dir.Write("P@01.920", TestListBytes("@01", "Prot", {}, LTC_PROTOCOL));
    dir.Write("P@02.920", TestListBytes("@03", "Prot", {}, LTC_PROTOCOL));
    auto root = OpenRoot();
    CCategory* pics = root->GetCategory(NT_CAT_BILDER);
    EXPECT_EQ(ColumnOf(*pics, 1), (std::vector<std::string> {"B001", "B002"}));
    EXPECT_EQ(ColumnOf(*pics, 0), (std::vector<std::string> {"Eins", "Zwei"}));
    EXPECT_EQ(pics->m_totalLength, static_cast<CFileList*>(pics->GetChild(0))->m_fileLength +
                                       static_cast<CFileList*>(pics->GetChild(1))->m_fileLength);
    EXPECT_EQ(pics->GetColumnText(4), std::to_string(pics->m_totalLength));
    EXPECT_EQ(ColumnOf(*root->GetCategory(NT_CAT_PROTOKOLLE), 1), (std::vector<std::string> {"P@01"}));
    // An identifier that matches ignoring case is accepted.
    dir.Write("B005.920", TestListBytes("005", "klein"));
    dir.Write("BABC.920", TestListBytes("abc", "klein"));
    pics->Load();
    EXPECT_EQ(ColumnOf(*pics, 1), (std::vector<std::string> {"B001", "B002", "B005", "BABC"}));
}

TEST_F(ProjectTreeFixture, OptionsCategoryShowsOptionListsAndErst)
{
    auto option = [](uint8_t code, uint8_t version, const char* text) {
        std::vector<uint8_t> v = {code};
        AppendU16(v, 20);
        Append(v, {version, 0, 0, 0, 0});
        AppendText(v, text);
        v.resize(20, 0);
        return v;
    };
    dir.Write("ERST.920", option(3, 0x22, "3.60"));
    dir.Write("CPRO.920", option(5, 0x31, "xxxx"));
    dir.Write("CSKA.920", option(4, 0x40, "4.0\0"));
    dir.Write("CXYZ.920", option(99, 0x40, "9.99"));
    auto root = OpenRoot();
    CCategory* opts = root->GetCategory(NT_CAT_OPTIONEN);
    EXPECT_EQ(ColumnOf(*opts, 1), (std::vector<std::string> {"CPRO", "CSKA", "CXYZ", "ERST"}));
    EXPECT_EQ(ColumnOf(*opts, 0), (std::vector<std::string> {"Protokollierung V 3.1", "Schrittk.-Diagnose V 4.0", "",
                                                              "Erstellbetrieb V <2.3"}));
    EXPECT_EQ(ColumnOf(*opts, 4)[0], "20");
    EXPECT_FALSE(opts->IsCommandEnabled(CMD_NEW, 0, -1));
    EXPECT_TRUE(opts->IsCommandEnabled(CMD_DEVICE_DIRECTORY, 0, -1));
    EXPECT_FALSE(opts->IsCommandEnabled(CMD_DELETE, 1, 0));
}

TEST_F(ProjectTreeFixture, CompositeLoadSortsDropsAndRewrites)
{
    dir.Write("B001.920", TestListBytes("001", "Eins", {1, 2}));
    dir.Write("ERST.920", {3, 40, 0, 0x36, 0, 0, 0, 0, '3', '.', '6', '0'});
    // 10 bytes: two names, the rest ignored; nothing dropped so no rewrite.
    dir.Write("LDAT1.920", {'E', 'R', 'S', 'T', 'B', '0', '0', '1', 'A', 'S'});
    // A member without a file is dropped and the file rewritten.
    dir.Write("ROMGEN2.920", {'B', '0', '0', '1', 'B', '9', '9', '9', 'E', 'R', 'S', 'T'});
    auto root = OpenRoot();
    auto* l1 = static_cast<CVerbundListe*>(root->GetComposite(0));
    ASSERT_NE(l1, nullptr);
    EXPECT_EQ(ColumnOf(*l1, 0), (std::vector<std::string> {"B001", "ERST"}));
    EXPECT_EQ(dir.Read("LDAT1.920").size(), 10u);
    EXPECT_EQ(l1->m_fileLength, 40 + static_cast<int>(TestListBytes("001", "Eins", {1, 2}).size()));
    EXPECT_EQ(l1->GetColumnText(4), std::to_string(l1->m_fileLength));
    EXPECT_EQ(l1->GetStatusText(3), "Gesamtl\xE4nge: " + std::to_string(l1->m_fileLength) + " Byte");
    EXPECT_EQ(Str(dir.Read("ROMGEN2.920")), "B001ERST");
    // Adding a present name changes nothing; removing never deletes the list file.
    EXPECT_TRUE(l1->Add("b001"));
    EXPECT_FALSE(l1->m_modified);
    EXPECT_TRUE(root->RemoveFromComposite(0, "B001"));
    EXPECT_EQ(Str(dir.Read("LDAT1.920")), "ERST");
    EXPECT_TRUE(dir.Exists("B001.920"));
    // Adding to a missing composite creates it and places it by index.
    EXPECT_TRUE(root->AddToComposite(2, "B001"));
    EXPECT_EQ(Str(dir.Read("LDAT3.920")), "B001");
    EXPECT_EQ(root->GetChild(6), root->GetComposite(2));
    EXPECT_FALSE(root->AddToComposite(2, "B777"));
}

TEST_F(ProjectTreeFixture, RenameRewritesExactlyTheCompositesThatNameTheList)
{
    dir.Write("B001.920", TestListBytes("001", "Eins", {5}));
    dir.Write("B002.920", TestListBytes("002", "Zwei"));
    dir.Write("LDAT1.920", {'B', '0', '0', '2'});
    dir.Write("LDAT2.920", {'B', '0', '0', '1'});
    dir.Write("ROMGEN2.920", {'B', '0', '0', '1', 'B', '0', '0', '2'});
    auto root = OpenRoot();
    CCategory* pics = root->GetCategory(NT_CAT_BILDER);
    auto* list = static_cast<CFileList*>(pics->GetChild(0));
    ASSERT_TRUE(list->SetProperties("b010", "Neu"));
    EXPECT_FALSE(dir.Exists("B001.920"));
    EXPECT_TRUE(dir.Exists("B010.920"));
    EXPECT_EQ(Str(dir.Read("LDAT1.920")), "B002");
    EXPECT_EQ(Str(dir.Read("LDAT2.920")), "B010");
    EXPECT_EQ(Str(dir.Read("ROMGEN2.920")), "B002B010");
    EXPECT_EQ(ColumnOf(*pics, 1), (std::vector<std::string> {"B002", "B010"}));
    EXPECT_FALSE(list->m_loaded);
    // The renamed file keeps its entries and carries the new identifier and name.
    CTestList reread(pics, "B010.920");
    EXPECT_TRUE(reread.m_valid);
    EXPECT_EQ(reread.m_name, "Neu");
    ASSERT_TRUE(reread.Load());
    EXPECT_EQ(reread.GetChildCount(), 1);
    // A name with a path character is refused before anything is written.
    for (const char* bad : {"../X", "B/01", "B.01", ""}) {
        EXPECT_FALSE(list->SetProperties(bad, "Boese")) << bad;
        EXPECT_EQ(list->GetBaseName(), "B010");
    }
    // Same base name: saved, nothing deleted.
    ASSERT_TRUE(list->SetProperties("B010", "Wieder"));
    EXPECT_TRUE(dir.Exists("B010.920"));
}

TEST_F(ProjectTreeFixture, DeletingAListRemovesFileAndCompositeEntries)
{
    dir.Write("B001.920", TestListBytes("001", "Eins"));
    dir.Write("LDAT1.920", {'B', '0', '0', '1'});
    auto root = OpenRoot();
    CCategory* pics = root->GetCategory(NT_CAT_BILDER);
    int before = pics->m_totalLength;
    EXPECT_EQ(pics->DeleteChild(pics->GetChild(0)), 1);
    EXPECT_FALSE(dir.Exists("B001.920"));
    EXPECT_EQ(Str(dir.Read("LDAT1.920")), "");
    EXPECT_EQ(pics->m_totalLength, before - static_cast<int>(TestListBytes("001", "Eins").size()));
}

namespace {
struct ScriptedProjectUi : IProjectUi {
    bool answer = false;
    std::string title;
    size_t usages = 0;
    bool ConfirmDeleteWithUsages(const std::string& t, const std::vector<CKennungVerwendung>& u) override
    {
        title = t;
        usages = u.size();
        return answer;
    }
};
}  // namespace

TEST_F(ProjectTreeFixture, DeletingAReferencedTextGroupAsksFirst)
{
    dir.Write("TABC.920", TestListBytes("ABC", "Meldungen", {}, LTC_TEXTGROUP));
    dir.Write("LDAT1.920", {'T', 'A', 'B', 'C'});
    SetTextGroupReferenceFinder([](CCategory&, const std::string& g, const std::string&, std::vector<CKennungVerwendung>& r) {
        if (g == "TABC") r.push_back({"B001", "Kessel", NT_FENSTER, 1, 2});
    });
    ScriptedProjectUi ui;
    App().SetProjectUi(&ui);
    auto root = OpenRoot();
    CCategory* groups = root->GetCategory(NT_CAT_TEXTGRUPPEN);
    ASSERT_EQ(groups->GetChildCount(), 1);
    EXPECT_EQ(groups->DeleteChild(groups->GetChild(0)), 0);
    EXPECT_EQ(ui.title, "L\xF6schen Textgruppe TABC");
    EXPECT_EQ(ui.usages, 1u);
    EXPECT_TRUE(dir.Exists("TABC.920"));
    EXPECT_EQ(Str(dir.Read("LDAT1.920")), "TABC");
    ui.answer = true;
    EXPECT_EQ(groups->DeleteChild(groups->GetChild(0)), 1);
    EXPECT_FALSE(dir.Exists("TABC.920"));
    App().SetProjectUi(nullptr);
    SetTextGroupReferenceFinder(nullptr);
}

TEST_F(ProjectTreeFixture, OutsideWriteRescansOnlyLoadedCategoriesAndKeepsLoadedLists)
{
    auto root = OpenRoot();
    CCategory* pics = root->GetCategory(NT_CAT_BILDER);
    dir.Write("B007.920", TestListBytes("007", "Neu"));
    root->RefreshAfterOutsideWrite("B007");
    EXPECT_EQ(ColumnOf(*pics, 1), (std::vector<std::string> {"B007"}));
    // A loaded list is left alone, an unloaded one is replaced.
    auto* node = static_cast<CFileList*>(pics->GetChild(0));
    ASSERT_TRUE(node->Load());
    dir.Write("B007.920", TestListBytes("007", "Anders"));
    root->RefreshAfterOutsideWrite("B007");
    EXPECT_EQ(pics->GetChild(0), node);
    EXPECT_EQ(node->m_name, "Neu");
    node->Unload();
    root->RefreshAfterOutsideWrite("b007");
    EXPECT_EQ(pics->GetChild(0)->m_name, "Anders");
    pics->Unload();
    dir.Write("B008.920", TestListBytes("008", "Acht"));
    root->RefreshAfterOutsideWrite("B008");
    EXPECT_EQ(pics->GetChildCount(), 0);
}

TEST_F(ProjectTreeFixture, CommandRulesOfRootAndCategories)
{
    auto root = OpenRoot();
    CCategory* pics = root->GetCategory(NT_CAT_BILDER);
    for (int sep : {CMD_SEP_6, CMD_SEP_12, CMD_SEP_17, CMD_SEP_22, CMD_SEP_33}) {
        EXPECT_FALSE(root->IsCommandEnabled(sep, 1, 0)) << sep;
        EXPECT_FALSE(pics->IsCommandEnabled(sep, 1, 0)) << sep;
    }
    EXPECT_FALSE(root->IsCommandEnabled(CMD_PASTE, 1, 0));
    EXPECT_FALSE(root->IsCommandEnabled(CMD_DELETE, 1, 0));   // a category
    EXPECT_TRUE(root->IsCommandEnabled(CMD_CLOSE_PROJECT, 0, -1));
    EXPECT_TRUE(pics->IsCommandEnabled(CMD_NEW, 0, -1));
    EXPECT_TRUE(pics->IsCommandEnabled(CMD_DELETE, 2, 0));
    EXPECT_FALSE(pics->IsCommandEnabled(CMD_OPEN, 2, 0));
    App().Settings().online = false;
    EXPECT_FALSE(pics->IsCommandEnabled(CMD_DEVICE_LOAD, 1, 0));
    App().Settings().online = true;
    EXPECT_TRUE(pics->IsCommandEnabled(CMD_DEVICE_LOAD, 1, 0));
    EXPECT_FALSE(pics->IsCommandEnabled(CMD_DEVICE_LOAD, 0, -1));
    EXPECT_FALSE(pics->IsCommandEnabled(CMD_ONLINE_PICTURE, 0, -1));
}
