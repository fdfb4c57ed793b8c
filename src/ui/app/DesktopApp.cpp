#include "app/DesktopApp.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <clocale>
#include <cstring>
#include <memory>

#include "app/Application.h"
#include "app/MainFrame.h"
#include "app/QtClipboard.h"
#include "app/QtUserInteraction.h"
#include "app/Resources.h"
#include "project/ListKinds.h"
#include "util/FileSystem.h"
#include "views/NodeCommands.h"

void InitDesktopServices(QApplication& app)
{
    static CQtUserInteraction ui;
    static CQtClipboard clipboard;
    App().SetUi(&ui);
    App().SetClipboard(&clipboard);
    // "Ja", "Nein", "Abbrechen": the German texts of Qt's standard buttons.
    auto* translator = new QTranslator(&app);
    if (translator->load(QStringLiteral("qtbase_de"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(translator);
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    RegisterBuiltInListKinds();
    RegisterUiHandlers();
    res::Init();
}

int RunDesktop(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("PX920Win"));
    QApplication::setDesktopFileName(QStringLiteral("px920win"));
    // List dates follow the user's locale ("%c").
    std::setlocale(LC_TIME, "");

    std::string exeDir = fsx::WithSlash(QCoreApplication::applicationDirPath().toStdString());
    App().SetExecutableDir(exeDir);
    QDir::setCurrent(QString::fromStdString(exeDir));
    App().Settings().Read(DefaultSettingsPath(exeDir));

    InitDesktopServices(app);

    auto frame = std::make_unique<CMainFrame>();
    frame->showMaximized();

    // A project handed over by the shell ("--open FILE|DIR"). A bare file
    // name on the command line opens nothing, as it always did.
    QStringList args = QCoreApplication::arguments();
    for (int i = 1; i + 1 < args.size(); ++i) {
        if (args[i] == QLatin1String("--open")) {
            QString target = QDir(args[i + 1]).absolutePath();
            if (QFileInfo(target).isDir()) target += QStringLiteral("/");
            frame->OpenDocumentFile(target.toStdString());
            break;
        }
    }

    int rc = app.exec();
    frame.reset();
    App().Settings().WriteAtExit(App().m_nameChanged);
    App().SetUi(nullptr);
    App().SetClipboard(nullptr);
    return rc;
}
