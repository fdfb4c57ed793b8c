#include <gtest/gtest.h>

#include "app/Application.h"

TEST(ApplicationDirs, InstallationRootIsTheParentOfABinDirectory)
{
    struct Case {
        const char* exeDir;
        const char* root;
        const char* help;
    } cases[] = {
        {"/opt/px920win/bin", "/opt/px920win/", "/opt/px920win/HLP/"},
        {"/opt/px920win/BIN/", "/opt/px920win/", "/opt/px920win/HLP/"},
        {"/opt/px920win/Bin/", "/opt/px920win/", "/opt/px920win/HLP/"},
        {"/usr/local/lib/px", "", "/usr/local/lib/px/HLP/"},
        {"/cabin/", "", "/cabin/HLP/"},  // "bin" must be a directory of its own
        {"bin/", "", "bin/HLP/"},        // too short to have a parent
    };
    CWinPX920App app;
    for (const Case& c : cases) {
        app.SetExecutableDir(c.exeDir);
        EXPECT_EQ(app.InstallRoot(), c.root) << c.exeDir;
        EXPECT_EQ(app.HelpDir(), c.help) << c.exeDir;
    }
    app.SetExecutableDir("/opt/px920win/bin/");
    EXPECT_EQ(app.TemplateDir(), "/opt/px920win/920/");
}
