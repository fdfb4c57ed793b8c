#include "support/TestMain.h"

#include <QApplication>
#include <QTest>
#include <cstring>
#include <memory>

#include "app/DesktopApp.h"
#include "support/UiTestSupport.h"

std::map<std::string, UiTestFactory>& UiTests()
{
    static std::map<std::string, UiTestFactory> tests;
    return tests;
}

bool RegisterUiTest(const std::string& name, UiTestFactory factory)
{
    UiTests()[name] = std::move(factory);
    return true;
}

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    InitUiTestEnvironment(app);
    std::string only = argc > 1 && argv[1][0] != '-' ? argv[1] : std::string();
    int failures = 0;
    int ran = 0;
    for (auto& [name, factory] : UiTests()) {
        if (!only.empty() && name != only) continue;
        std::unique_ptr<QObject> test(factory());
        // QtTest options after the class name pass through.
        std::vector<char*> args {argv[0]};
        for (int i = only.empty() ? 1 : 2; i < argc; ++i) args.push_back(argv[i]);
        failures += QTest::qExec(test.get(), static_cast<int>(args.size()), args.data());
        ++ran;
    }
    if (ran == 0) {
        fprintf(stderr, "no test class named %s\n", only.c_str());
        return 1;
    }
    ShutdownUiTestEnvironment();
    return failures == 0 ? 0 : 1;
}
