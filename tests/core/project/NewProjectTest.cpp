#include <gtest/gtest.h>

#include "TestLists.h"
#include "project/NewProject.h"
#include "sysdata/SystemdatenListe.h"
#include "util/ErrorInfo.h"

TEST(NewProject, ChecksInTheirOrder)
{
    TempDir base;
    TempDir install;
    std::string dir;
    CErrorInfo err;
    EXPECT_FALSE(CheckNewProject("   ", base.path() + "p", "", dir, err));
    EXPECT_EQ(err.Id(), 62011);

    ASSERT_TRUE(CheckNewProject("Anlage", base.path() + "p///", "", dir, err));
    EXPECT_EQ(dir, base.path() + "p/");
    EXPECT_EQ(CorrectProjectDirectory("/"), "/");
    EXPECT_EQ(CorrectProjectDirectory(" /x// "), "/x");

    std::string root = install.path();  // ends with '/'
    std::string upper = ToUpper(root);
    EXPECT_FALSE(CheckNewProject("Anlage", root + "projekte/a", root, dir, err));
    EXPECT_EQ(err.Id(), 62013);
    EXPECT_FALSE(CheckNewProject("Anlage", root.substr(0, root.size() - 1), root, dir, err));
    EXPECT_EQ(err.Id(), 62013);
    // The comparison ignores case, as on the original file system.
    EXPECT_FALSE(CheckNewProject("Anlage", upper + "x", root, dir, err));
    EXPECT_EQ(err.Id(), 62013);

    base.Write("SDAT.920", SdatHeaderBytes("Alte Anlage   "));
    EXPECT_FALSE(CheckNewProject("Neu", base.path(), "", dir, err));
    EXPECT_EQ(err.Id(), 63229);
    EXPECT_EQ(err.Text(), "Alte Anlage");
}

TEST(NewProject, TickedSystemDataListIsNewWhateverTheTemplateHolds)
{
    TempDir install, target;
    fsx::MakeDirectories(install.path() + "920");
    // A template SDAT with a foreign name and a different transfer DB.
    {
        CProjekt tmp(install.path() + "920/", "920");
        CSystemdatenListe s(&tmp, "SDAT.920");
        s.SetDefaults();
        s.m_projectName = PadRight("Vorlage", 32);
        s.m_transferDb = 99;
        ASSERT_TRUE(s.Save());
    }
    CErrorInfo err;
    NewProjectRequest r;
    r.name = "Pumpwerk";
    r.newSystemDataList = true;
    std::string dir = target.path() + "a/b/";
    ASSERT_TRUE(CreateNewProject(r, dir, install.path(), "920", err));
    CProjekt root(dir);
    ASSERT_TRUE(root.m_valid);
    EXPECT_EQ(root.m_name, PadRight("Pumpwerk", 32));
    CSystemdatenListe sdat(&root, "SDAT.920");
    ASSERT_TRUE(sdat.Load());
    EXPECT_EQ(sdat.m_transferDb, 20);

    // Unticked: the template is copied with the new name in its header.
    r.newSystemDataList = false;
    r.name = "Kurz";
    std::string dir2 = target.path() + "c/";
    ASSERT_TRUE(CreateNewProject(r, dir2, install.path(), "SYS", err));
    CProjekt root2(dir2);
    ASSERT_TRUE(root2.m_valid);
    EXPECT_EQ(root2.GetExtension(), "SYS");
    CSystemdatenListe sdat2(&root2, "SDAT.SYS");
    ASSERT_TRUE(sdat2.Load());
    EXPECT_EQ(sdat2.m_transferDb, 99);
    EXPECT_EQ(sdat2.m_fileLength, static_cast<int>(target.Read("c/SDAT.SYS").size()));
}

TEST(NewProject, TemplatesAreCopiedOnlyWithAnInstallationRoot)
{
    TempDir install, target;
    fsx::MakeDirectories(install.path() + "920");
    std::vector<uint8_t> erst = {3, 12, 0, 0x36, 0, 0, 0, 0, '3', '.', '6', '0'};
    fsx::WriteFileAtomic(install.path() + "920/erst.sys", erst.data(), erst.size());
    EXPECT_EQ(FindTemplate(install.path() + "920/", "ERST"), install.path() + "920/erst.sys");
    EXPECT_EQ(FindTemplate(install.path() + "920/", "CSKA"), "");

    CErrorInfo err;
    NewProjectRequest r;
    r.name = "Anlage";
    r.creation = true;
    r.service = true;  // missing template: skipped silently
    ASSERT_TRUE(CreateNewProject(r, target.path() + "x/", install.path(), "920", err));
    EXPECT_EQ(target.Read("x/ERST.920"), erst);
    EXPECT_FALSE(target.Exists("x/CSER.920"));
    ASSERT_TRUE(CreateNewProject(r, target.path() + "y/", "", "920", err));
    EXPECT_FALSE(target.Exists("y/ERST.920"));
    EXPECT_TRUE(target.Exists("y/SDAT.920"));
}
