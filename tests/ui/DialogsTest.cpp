// The new-project and open-project dialogs, the configuration sheet, the
// root's new-list dialog, help and the page-setup conversions.
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QApplication>
#include <QTest>
#include <QTimer>
#include <memory>

#include "app/Application.h"
#include "app/ConfigSheet.h"
#include "app/MainFrame.h"
#include "app/PrinterSupport.h"
#include "project/NewProjectDialog.h"
#include "project/OpenProjectDialog.h"
#include "project/Projekt.h"
#include "support/TestMain.h"
#include "support/UiTestSupport.h"
#include "util/FileSystem.h"
#include "project/ListKinds.h"
#include "views/Commands.h"
#include "views/NewListDialog.h"

class DialogsTest : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> m_tmp;
    std::string m_base;

private slots:
    void init()
    {
        ScriptedUi().Reset();
        App().Settings() = CSettings();
        m_tmp = std::make_unique<QTemporaryDir>();
        m_base = fsx::WithSlash(m_tmp->path().toStdString());
    }
    void cleanup()
    {
        App().SetProject(nullptr);
        App().SetExecutableDir(QCoreApplication::applicationDirPath().toStdString());
        m_tmp.reset();
    }

    // ---- new project

    void newProjectRefusals_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("dir");
        QTest::addColumn<QString>("message");
        QTest::newRow("blank name") << "   " << "p1" << "Fehler 11: Bitte geben Sie einen Projektnamen ein.";
        QTest::newRow("below the installation")
            << "X" << "INST/work" << "Fehler 13: Im PX920WIN Verzeichnis oder darunter darf kein Projekt angelegt werden.";
        QTest::newRow("existing project")
            << "X" << "old///" << "Im ausgewählten Verzeichnis ist bereits das Projekt \"Altprojekt\" vorhanden,\nbitte wählen Sie ein anderes Verzeichnis!";
    }
    void newProjectRefusals()
    {
        QFETCH(QString, name);
        QFETCH(QString, dir);
        QFETCH(QString, message);
        // An installation in <tmp>/inst/bin: its root is <tmp>/inst/.
        fsx::MakeDirectories(m_base + "inst/bin");
        App().SetExecutableDir(m_base + "inst/bin/");
        QVERIFY(MakeTestProject(m_base + "old", "Altprojekt", {}, false));
        CNewProjectDialog dlg;
        dlg.NameEdit()->setText(name);
        dlg.DirectoryEdit()->setText(QString::fromStdString(m_base) + dir.replace("INST", "inst"));
        dlg.accept();
        QCOMPARE(dlg.result(), int(QDialog::Rejected));
        QVERIFY(dlg.CreatedDirectory().empty());
        QCOMPARE(ScriptedUi().m_texts, (std::vector<QString> {message}));
        if (message.startsWith("Im ausgew"))  // the corrected directory keeps one slash
            QCOMPARE(dlg.DirectoryEdit()->text(), QString::fromStdString(m_base + "old/"));
    }

    void newProjectCreatesTheDirectoryAfterConfirmation()
    {
        CNewProjectDialog dlg;
        // Without an installation root no template box can be chosen.
        QVERIFY(!dlg.Box(1439)->isEnabled());
        QVERIFY(!dlg.Box(1435)->isEnabled());
        QVERIFY(dlg.Box(1437)->isEnabled());
        QCOMPARE(dlg.Box(1439)->text(), QString("Erstellbetrieb"));
        dlg.NameEdit()->setText("Neue Anlage Ü");
        dlg.DirectoryEdit()->setText(QString::fromStdString(m_base + "a/b/c//"));
        ScriptedUi().m_answers = {IDNO};
        dlg.accept();
        QCOMPARE(ScriptedUi().m_texts.back(),
                 QString::fromStdString("Das Projekt wird im Verzeichnis \"" + m_base + "a/b/c/\" erstellt."));
        QVERIFY(!fsx::IsDirectory(m_base + "a"));
        QCOMPARE(dlg.DirectoryEdit()->text(), QString::fromStdString(m_base + "a/b/c/"));
        ScriptedUi().m_answers = {IDYES};
        dlg.accept();
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        QCOMPARE(dlg.CreatedDirectory(), m_base + "a/b/c/");
        std::string name;
        QVERIFY(TestProject(m_base + "a/b/c/", name));
        QCOMPARE(name, std::string("Neue Anlage \xDC"));
    }

    void newProjectFromTheMainWindowOpensIt()
    {
        CMainFrame frame;
        QTimer::singleShot(0, [this] {
            auto* dlg = qobject_cast<CNewProjectDialog*>(QApplication::activeModalWidget());
            QVERIFY(dlg);
            dlg->NameEdit()->setText("Per Menü");
            dlg->DirectoryEdit()->setText(QString::fromStdString(m_base + "menu"));
            ScriptedUi().m_answers = {IDYES};
            dlg->accept();
        });
        frame.OnCommand(cmd::NEW_PROJECT);
        QVERIFY(App().Project());
        QCOMPARE(App().Project()->GetDirectory(), m_base + "menu/");
    }

    // ---- open project

    void openDialogWalksAndAcceptsOnlyProjects()
    {
        QVERIFY(MakeTestProject(m_base + "plant/p1", "Erstes", {}, false));
        fsx::MakeDirectories(m_base + "plant/empty");
        COpenProjectDialog dlg(QString::fromStdString(m_base + "plant"));
        QCOMPARE(dlg.CurrentDirectory(), QString::fromStdString(m_base + "plant/"));
        QCOMPARE(dlg.PathText(), dlg.CurrentDirectory());
        QVERIFY(dlg.ProjectName().isEmpty());
        // OK on a directory without a project only goes into the selection.
        auto items = dlg.DirectoryList()->findItems("empty", Qt::MatchExactly);
        QCOMPARE(items.size(), 1);
        dlg.DirectoryList()->setCurrentItem(items.front());
        dlg.accept();
        QCOMPARE(dlg.result(), int(QDialog::Rejected));
        QCOMPARE(dlg.CurrentDirectory(), QString::fromStdString(m_base + "plant/empty/"));
        QVERIFY(dlg.ChosenDirectory().isEmpty());
        // Walking shows the project name of the directory reached.
        QVERIFY(dlg.SetDirectory(QString::fromStdString(m_base + "plant/p1")));
        QCOMPARE(dlg.ProjectName(), QString("Erstes"));
        dlg.DirectoryList()->clearSelection();
        dlg.accept();
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        QCOMPARE(dlg.ChosenDirectory(), QString::fromStdString(m_base + "plant/p1/"));
    }

    void openDialogStartsAboveAMissingDirectory()
    {
        COpenProjectDialog dlg(QString::fromStdString(m_base + "gone/deeper"));
        QCOMPARE(dlg.CurrentDirectory(), QString::fromStdString(m_base));
    }

    // ---- configuration

    void configurationWithoutProject()
    {
        App().Settings().projectExtension = "sys";
        App().Settings().comPort = 2;
        std::vector<std::pair<bool, int>> probed;
        CConfigSheet sheet(nullptr, [&](bool lpt, int n) {
            probed.emplace_back(lpt, n);
            return !(lpt == false && n == 2);  // COM 2 is in use elsewhere
        });
        QCOMPARE(int(probed.size()), 8);
        for (int id : {1037, 1038, 1039, 1040, 1041, 1042, 1436, 1437}) QVERIFY(sheet.Button(id)->isEnabled());
        // Not exactly "920": the .SYS button.
        QVERIFY(sheet.Button(1037)->isChecked());
        QVERIFY(!sheet.Button(1034)->isEnabled());
        QCOMPARE(sheet.ChosenComPort(), 0);
        sheet.Button(1040)->setChecked(true);
        sheet.Button(1042)->setChecked(true);
        sheet.Button(1440)->setChecked(true);
        QVERIFY(!sheet.Button(1438)->isChecked());  // one mark per group
        sheet.accept();
        const CSettings& s = App().Settings();
        QCOMPARE(s.projectExtension, std::string("SYS"));
        QCOMPARE(s.comPort, 2);  // no usable button marked: unchanged
        QVERIFY(!s.online);
        QVERIFY(s.cyrillic);
        QVERIFY(!s.oldFirmware);
        QCOMPARE(s.lptPort, 3);
    }

    void configurationWithProjectOpen()
    {
        QVERIFY(MakeTestProject(m_base + "p", "Offen", {}, false));
        App().SetProject(std::make_unique<CProjekt>(m_base + "p/"));
        CConfigSheet sheet(nullptr, [](bool, int) { return true; });
        for (int id : {1037, 1038, 1041, 1042}) QVERIFY(!sheet.Button(id)->isEnabled());
        // The link is closed: on/offline and firmware stay changeable.
        for (int id : {1039, 1040, 1436, 1437}) QVERIFY(sheet.Button(id)->isEnabled());
        QVERIFY(sheet.Button(1033)->isChecked());
        sheet.Button(1036)->setChecked(true);
        sheet.accept();
        QCOMPARE(App().Settings().comPort, 4);
        QCOMPARE(App().Settings().projectExtension, std::string("920"));
    }

    void portProbeOnDevicePaths()
    {
        QVERIFY(!ProbeDevicePath(m_base + "no-such-tty"));
        QVERIFY(ProbeDevicePath("/dev/null"));
    }

    // ---- root: new list

    void newListDialogOffersOnlyWhatIsMissing()
    {
        QVERIFY(MakeTestProject(m_base + "p", "Offen", {}, false));
        CProjekt root(m_base + "p/");
        QVERIFY(root.Load());
        CNewListDialog dlg(root);
        // Creatable only when the list kind exists in this build and the list does not.
        bool textsBuilt = FixedListFactory(NT_STANDARD_TEXTS) != nullptr;
        QCOMPARE(dlg.StandardTextsButton()->isEnabled(), textsBuilt);
        if (!textsBuilt) return;
        dlg.StandardTextsButton()->setChecked(true);
        QCOMPARE(dlg.ChosenType(), int(NT_STANDARD_TEXTS));
        QVERIFY(CreateFixedList(root, NT_STANDARD_TEXTS));
        QVERIFY(root.FindFixedList(NT_STANDARD_TEXTS));
        QVERIFY(fsx::ExistsIgnoreCase(m_base + "p/", "XTEX.920"));
        CNewListDialog again(root);
        QVERIFY(!again.StandardTextsButton()->isEnabled());
    }

    // ---- help

    void helpRequest()
    {
        CMainFrame frame;
        QString opened;
        frame.m_openWithShell = [&](const QString& path) {
            opened = path;
            return false;  // nothing handles the extension
        };
        App().Settings().helpFileName = "Fehlt.htm";
        frame.HelpRequest(2);  // quit: nothing
        QVERIFY(ScriptedUi().m_texts.empty());
        frame.HelpRequest(11);
        QCOMPARE(ScriptedUi().m_texts.back(),
                 QString::fromStdString("Fehler 43: Datei \"" + App().HelpDir() + "Fehlt.htm\" nicht gefunden."));
        fsx::MakeDirectories(App().HelpDir());
        std::string path = App().HelpDir() + "Probe.xyz";
        QVERIFY(fsx::WriteFileAtomic(path, reinterpret_cast<const uint8_t*>("x"), 1));
        App().Settings().helpFileName = "Probe.xyz";
        frame.HelpRequest(257);
        QCOMPARE(opened, QString::fromStdString(path));
        QCOMPARE(ScriptedUi().m_texts.back(), QString("Fehler 5: Mit dieser Datei-Extension ist keine Anwendung verknüpft."));
        fsx::RemoveFile(path);
    }

    // ---- page setup units

    void pageSetupConversions_data()
    {
        QTest::addColumn<int>("twips");
        QTest::addColumn<bool>("metric");
        QTest::addColumn<int>("units");
        QTest::addColumn<int>("rounded");
        QTest::addColumn<int>("back");
        QTest::newRow("1800 twips metric") << 1800 << true << 3175 << 3180 << 1803;
        QTest::newRow("1440 twips metric") << 1440 << true << 2540 << 2540 << 1440;
        QTest::newRow("1800 twips inches") << 1800 << false << 1250 << 1250 << 1800;
        QTest::newRow("1 twip metric rounds half up") << 1 << true << 2 << 0 << 0;
        QTest::newRow("negative away from zero") << -1800 << true << -3175 << -3180 << -1803;
    }
    void pageSetupConversions()
    {
        QFETCH(int, twips);
        QFETCH(bool, metric);
        QFETCH(int, units);
        QFETCH(int, rounded);
        QFETCH(int, back);
        QCOMPARE(prn::TwipsToDialogUnits(twips, metric), units);
        QCOMPARE(prn::RoundToTen(units), rounded);
        QCOMPARE(prn::DialogUnitsToTwips(rounded, metric), back);
    }
};

PX920_UI_TEST(DialogsTest);
#include "DialogsTest.moc"
