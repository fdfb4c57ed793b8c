// The module commands against the module simulator on a pseudo-terminal:
// the directory window, loading and reading with the transfer dialog,
// cancel, the module's refusals, delete in the module and a busy link.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMdiArea>
#include <QProcess>
#include <QProgressBar>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

#include "app/Application.h"
#include "app/MainFrame.h"
#include "comm/Comm.h"
#include "project/Category.h"
#include "project/Projekt.h"
#include "support/TestMain.h"
#include "support/UiTestSupport.h"
#include "transfer/DeviceSession.h"
#include "transfer/ModuleDirectory.h"
#include "transfer/TransferDialog.h"
#include "transfer/SimProcess.h"
#include "util/FileSystem.h"
#include "util/Strings.h"
#include "views/ChildFrame.h"
#include "views/Commands.h"
#include "views/NodeCommands.h"
#include "views/ReportDoc.h"
#include "views/ReportView.h"

namespace {
CFileList* ChildByBase(CListNode* list, const std::string& base)
{
    if (!list) return nullptr;
    for (CNode* c : list->m_children)
        if (auto* f = dynamic_cast<CFileList*>(c); f && IEquals(f->GetBaseName(), base)) return f;
    return nullptr;
}

QByteArray ReadFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
}  // namespace

class TransferTest : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> m_tmp;
    std::unique_ptr<CMainFrame> m_frame;
    std::unique_ptr<CSimProcess> m_sim;
    std::unique_ptr<QObject> m_watchdogs;
    QString m_prj;

    CProjekt* Root() { return App().Project(); }
    CComm& Comm() { return CDeviceSession::Current()->Comm(); }
    CCategory* Category(int type) { return Root()->GetCategory(type); }
    void Activate(CReportView* view) { m_frame->MdiArea()->setActiveSubWindow(view->Doc()->Frame()); }
    void Select(CReportView* view, const std::vector<int>& rows)
    {
        Activate(view);
        view->clearSelection();
        for (int r : rows) view->topLevelItem(r)->setSelected(true);
    }
    CReportView* OpenChild(CListNode* parent, CNode* child)
    {
        CReportView* view = ViewOf(parent);
        if (!view || !child) return nullptr;
        Select(view, {parent->IndexOf(child)});
        m_frame->OnCommand(cmd::OPEN);
        return ViewOf(child);
    }
    bool StartSim(const QStringList& extra = {})
    {
        m_sim = std::make_unique<CSimProcess>(m_tmp->path());
        if (!m_sim->Start(extra)) return false;
        App().Settings().ini.SetString("Ports", "COM1", m_sim->Link().toStdString());
        return true;
    }
    // Seeds the module with lists of the demo project before the simulator starts.
    void Seed(const QStringList& bases)
    {
        QDir().mkpath(m_tmp->path() + "/store");
        for (const QString& b : bases)
            QVERIFY(QFile::copy(m_prj + b + ".920", m_tmp->path() + "/store/" + b + ".LST"));
    }
    // Ends a modal dialog that is still open after ms, so that a fault
    // shows as a failure rather than a hanging test.
    void Watchdog(int ms = 15000)
    {
        QTimer::singleShot(ms, m_watchdogs.get(), [] {
            if (auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget())) d->done(QDialog::Rejected);
        });
    }
    void RunCommand(int id)
    {
        Watchdog();
        m_frame->OnCommand(id);
    }
    QStringList Messages() const { return QStringList(ScriptedUi().m_texts.begin(), ScriptedUi().m_texts.end()); }

private slots:
    void init()
    {
        ScriptedUi().Reset();
        App().Settings() = CSettings();
        App().Settings().online = true;
        App().Settings().comPort = 1;
        m_watchdogs = std::make_unique<QObject>();
        m_tmp = std::make_unique<QTemporaryDir>();
        m_prj = m_tmp->path() + "/prj/";
        QVERIFY(MakeDemoProject(m_prj));
        m_frame = std::make_unique<CMainFrame>();
        m_frame->show();
        QVERIFY(m_frame->OpenProject(m_prj.toStdString()));
        QVERIFY(CDeviceSession::Current());
    }
    void cleanup()
    {
        m_watchdogs.reset();
        ScriptedUi().m_default = IDNO;
        m_frame.reset();
        QVERIFY(!CDeviceSession::Current());
        m_sim.reset();
        m_tmp.reset();
    }

    // ---- the link and the directory live as long as the project

    void sessionFollowsTheProject()
    {
        CInhaltsverzeichnis* dir = &CDeviceSession::Current()->Directory();
        QCOMPARE(App().LinkState(), static_cast<const ILinkState*>(&Comm()));
        m_frame->CloseProject();
        QVERIFY(!CDeviceSession::Current());
        QVERIFY(!App().LinkState());
        QVERIFY(m_frame->OpenProject(m_prj.toStdString()));
        QVERIFY(CDeviceSession::Current());
        Q_UNUSED(dir);
    }

    void commandsFollowOnlineModeAndLink()
    {
        CReportView* root = ViewOf(Root());
        Select(root, {Root()->IndexOf(Category(NT_CAT_TEXTGRUPPEN))});
        for (int id : {cmd::DEVICE_DIRECTORY, cmd::DEVICE_LOAD, cmd::DEVICE_READ, cmd::DEVICE_DELETE, cmd::KEYBOARD})
            QVERIFY2(m_frame->IsCommandEnabled(id), qPrintable(QString::number(id)));
        root->clearSelection();
        QVERIFY(!m_frame->IsCommandEnabled(cmd::DEVICE_LOAD));
        QVERIFY(m_frame->IsCommandEnabled(cmd::DEVICE_DIRECTORY));
        App().Settings().online = false;
        QVERIFY(!m_frame->IsCommandEnabled(cmd::DEVICE_DIRECTORY));
        QVERIFY(!m_frame->IsCommandEnabled(cmd::KEYBOARD));
    }

    // ---- directory

    void directoryWindow_data()
    {
        QTest::addColumn<QStringList>("stored");
        QTest::addColumn<QStringList>("directRows");  // rows after the five sections
        QTest::addColumn<QStringList>("textGroups");
        QTest::newRow("standard lists and groups")
            << QStringList {"TBEL", "TZUL", "SDAT", "XTEX", "ERST"} << QStringList {"SDAT", "XTEX"}
            << QStringList {"TBEL", "TZUL"};
        QTest::newRow("no standard lists") << QStringList {"TSLA"} << QStringList {} << QStringList {"TSLA"};
    }
    void directoryWindow()
    {
        QFETCH(QStringList, stored);
        QFETCH(QStringList, directRows);
        QFETCH(QStringList, textGroups);
        Seed(stored);
        QVERIFY(StartSim());
        Activate(ViewOf(Root()));
        RunCommand(cmd::DEVICE_DIRECTORY);
        QCOMPARE(Messages(), QStringList());
        CInhaltsverzeichnis& dir = CDeviceSession::Current()->Directory();
        CReportView* view = ViewOf(&dir);
        QVERIFY(view);
        QCOMPARE(view->Doc()->Title(), QString("Inhaltsverzeichnis PX920"));
        QStringList rows = RowTexts(view, 0);
        QCOMPARE(rows.mid(0, 5), QStringList({"Bilder", "Textgruppen", "Schrittketten-Gruppen", "Protokolle", "Optionen"}));
        QCOMPARE(RowTexts(view, 1).mid(5), directRows);
        // The link is closed again after reading.
        QCOMPARE(Comm().State(), LinkState::Closed);
        QVERIFY(m_sim->Log().contains("closing telegram"));

        // A section window lists the module's lists of its kind with their lengths.
        auto* section = static_cast<CListNode*>(dir.GetChild(1));
        CReportView* sectionView = OpenChild(&dir, section);
        QVERIFY(sectionView);
        QCOMPARE(sectionView->Doc()->Title(), QString("Inhaltsverzeichnis PX920 Textgruppen"));
        QCOMPARE(RowTexts(sectionView, 1), textGroups);
        for (int i = 0; i < textGroups.size(); ++i) {
            qint64 size = QFileInfo(m_prj + textGroups[i] + ".920").size();
            QCOMPARE(sectionView->topLevelItem(i)->text(4), QString::number(size));
        }
        // The command again only activates the window; the module is not asked again.
        int closings = m_sim->Log().count("closing telegram");
        Activate(ViewOf(Root()));
        RunCommand(cmd::DEVICE_DIRECTORY);
        QCOMPARE(m_frame->ActiveView(), view);
        QCOMPARE(m_sim->Log().count("closing telegram"), closings);
    }

    void directoryWithoutModule()
    {
        // Nobody answers on the line: the error, and no window.
        QVERIFY(StartSim({"--fault", "no-enq-answer"}));
        Comm().SetTiming(C3964RTiming::Scaled(0.05));
        Activate(ViewOf(Root()));
        RunCommand(cmd::DEVICE_DIRECTORY);
        QCOMPARE(Messages(), QStringList({"Fehler 62: PX920 antwortet nicht."}));
        QVERIFY(!CDeviceSession::Current()->Directory().m_document);
        QCOMPARE(Comm().State(), LinkState::Closed);
    }

    // ---- load

    void loadCategoryAndComposite()
    {
        QVERIFY(StartSim());
        CReportView* root = ViewOf(Root());
        int options = Root()->IndexOf(Category(NT_CAT_OPTIONEN));
        int composite = Root()->IndexOf(ChildByBase(Root(), "LDAT1"));
        QVERIFY(options >= 0 && composite >= 0);
        Select(root, {options, composite});
        RunCommand(cmd::DEVICE_LOAD);
        QCOMPARE(Messages(), QStringList());
        // Every list of the category and of the composite, unchanged.
        for (const char* b : {"CPRO", "CSKA", "ERST", "SDAT", "TBEL", "TSLA", "TZUL", "XTEX"}) {
            QByteArray stored = ReadFile(m_tmp->path() + "/store/" + b + ".LST");
            QVERIFY2(!stored.isEmpty(), b);
            QCOMPARE(stored, ReadFile(m_prj + b + ".920"));
        }
        // Finished rows are deselected; the link is closed with the dialog.
        QVERIFY(root->SelectedRows().empty());
        QCOMPARE(Comm().State(), LinkState::Closed);
        QVERIFY(m_sim->Log().contains("closing telegram"));
    }

    void nothingSelectedOpensAndClosesTheLink()
    {
        QVERIFY(StartSim());
        CReportView* root = ViewOf(Root());
        root->clearSelection();
        Watchdog();
        QCOMPARE(CTransferDialog::Run(root, Comm(), CTransferDialog::Mode::Load), int(QDialog::Accepted));
        QCOMPARE(Messages(), QStringList());
        QTRY_VERIFY(m_sim->Log().contains("closing telegram"));
        QVERIFY(m_sim->Log().contains("ENQ -> ACK"));
        QVERIFY(!m_sim->Log().contains("load request"));
    }

    void cancelLetsTheRunningListFinish()
    {
        QVERIFY(StartSim());
        CListNode* groups = Category(NT_CAT_TEXTGRUPPEN);
        CReportView* view = OpenChild(Root(), groups);
        QVERIFY(view);
        QCOMPARE(groups->GetChildCount(), 3);
        Select(view, {0, 1, 2});
        // Cancel as soon as the first list is under way.
        auto* poll = new QTimer(m_watchdogs.get());
        QString shown;
        connect(poll, &QTimer::timeout, [&] {
            auto* dlg = qobject_cast<CTransferDialog*>(QApplication::activeModalWidget());
            if (!dlg || dlg->IdentifierEdit()->text().isEmpty()) return;
            shown = dlg->IdentifierEdit()->text();
            QTest::mouseClick(dlg->CancelButton(), Qt::LeftButton);
            poll->stop();
        });
        poll->start(0);
        RunCommand(cmd::DEVICE_LOAD);
        QCOMPARE(Messages(), QStringList());
        QCOMPARE(shown, QString("TBEL"));
        QCOMPARE(ReadFile(m_tmp->path() + "/store/TBEL.LST"), ReadFile(m_prj + "TBEL.920"));
        QVERIFY(!QFile::exists(m_tmp->path() + "/store/TSLA.LST"));
        QVERIFY(!QFile::exists(m_tmp->path() + "/store/TZUL.LST"));
        QCOMPARE(view->SelectedRows(), std::vector<int>({1, 2}));
        QCOMPARE(Comm().State(), LinkState::Closed);
    }

    // ---- the module's refusals end the dialog with their message

    void moduleErrors_data()
    {
        QTest::addColumn<QStringList>("simArgs");
        QTest::addColumn<QStringList>("stored");
        QTest::addColumn<bool>("read");
        QTest::addColumn<QString>("message");
        QTest::newRow("no answer") << QStringList {"--fault", "no-enq-answer"} << QStringList {} << false
                                   << "Fehler 62: PX920 antwortet nicht.";
        QTest::newRow("253 already in module") << QStringList {} << QStringList {"TBEL"} << false
                                               << "Fehler 54: Liste TBEL.920 bereits in der PX920 vorhanden";
        QTest::newRow("254 in EPROM") << QStringList {"--eprom", "TBEL"} << QStringList {} << false
                                      << "Fehler 53: Liste TBEL.920 bereits im EPROM vorhanden.";
        QTest::newRow("255 no memory") << QStringList {"--memory", "100"} << QStringList {} << false
                                       << "Fehler 52: Kein Speicher in PX920 zum Laden der Liste TBEL.920.";
        QTest::newRow("read of a missing list") << QStringList {} << QStringList {} << true
                                                << "Fehler 50: Liste TBEL.920 nicht in PX920 vorhanden";
    }
    void moduleErrors()
    {
        QFETCH(QStringList, simArgs);
        QFETCH(QStringList, stored);
        QFETCH(bool, read);
        QFETCH(QString, message);
        Seed(stored);
        QVERIFY(StartSim(simArgs));
        Comm().SetTiming(C3964RTiming::Scaled(0.05));
        CListNode* groups = Category(NT_CAT_TEXTGRUPPEN);
        CReportView* view = OpenChild(Root(), groups);
        QVERIFY(view);
        QByteArray before = ReadFile(m_prj + "TBEL.920");
        Select(view, {0, 1});
        RunCommand(read ? cmd::DEVICE_READ : cmd::DEVICE_LOAD);
        QCOMPARE(Messages(), QStringList({message}));
        // The dialog ended at the first list: the second was not touched.
        QVERIFY(!QApplication::activeModalWidget());
        QVERIFY(!QFile::exists(m_tmp->path() + "/store/TSLA.LST"));
        QCOMPARE(view->SelectedRows(), std::vector<int>({0, 1}));
        QCOMPARE(ReadFile(m_prj + "TBEL.920"), before);
        QCOMPARE(Comm().State(), LinkState::Closed);
    }

    // ---- read

    void readIntoTheProject()
    {
        // TZUL is only in the module; TBEL is in both, the module's differs.
        Seed({"TZUL", "TBEL"});
        QByteArray moduleTbel = ReadFile(m_tmp->path() + "/store/TBEL.LST");
        QVERIFY(QFile::remove(m_prj + "TZUL.920"));
        QVERIFY(m_frame->OpenProject(m_prj.toStdString()));
        QVERIFY(StartSim());
        CListNode* groups = Category(NT_CAT_TEXTGRUPPEN);
        CReportView* groupsView = OpenChild(Root(), groups);
        QCOMPARE(RowTexts(groupsView, 1), QStringList({"TBEL", "TSLA"}));

        // From the directory's text group section: both lists.
        Activate(ViewOf(Root()));
        RunCommand(cmd::DEVICE_DIRECTORY);
        CInhaltsverzeichnis& dir = CDeviceSession::Current()->Directory();
        CReportView* sectionView = OpenChild(&dir, dir.GetChild(1));
        QVERIFY(sectionView);
        QCOMPARE(RowTexts(sectionView, 1), QStringList({"TBEL", "TZUL"}));
        Select(sectionView, {0, 1});
        RunCommand(cmd::DEVICE_READ);
        QCOMPARE(Messages(), QStringList());
        QCOMPARE(ReadFile(m_prj + "TZUL.920"), ReadFile(m_tmp->path() + "/store/TZUL.LST"));
        QCOMPARE(ReadFile(m_prj + "TBEL.920"), moduleTbel);
        // The category window shows the list that came in.
        QCOMPARE(RowTexts(groupsView, 1), QStringList({"TBEL", "TSLA", "TZUL"}));
        QVERIFY(sectionView->SelectedRows().empty());
    }

    void readInTheCategoryWindowKeepsTheWalk()
    {
        // Reading rebuilds the rows of the category's window; the rows still
        // to come are read all the same.
        Seed({"TBEL", "TSLA", "TZUL"});
        QVERIFY(StartSim());
        CListNode* groups = Category(NT_CAT_TEXTGRUPPEN);
        CReportView* view = OpenChild(Root(), groups);
        for (const char* b : {"TBEL", "TSLA", "TZUL"}) QVERIFY(QFile::remove(m_prj + b + ".920"));
        Select(view, {0, 1, 2});
        RunCommand(cmd::DEVICE_READ);
        QCOMPARE(Messages(), QStringList());
        for (const char* b : {"TBEL", "TSLA", "TZUL"})
            QCOMPARE(ReadFile(m_prj + b + ".920"), ReadFile(m_tmp->path() + "/store/" + b + ".LST"));
        QCOMPARE(RowTexts(view, 1), QStringList({"TBEL", "TSLA", "TZUL"}));
        QVERIFY(view->SelectedRows().empty());
    }

    // ---- delete

    void deleteGoesOnAfterAFailure()
    {
        Seed({"TBEL", "TZUL"});
        QVERIFY(StartSim());
        CListNode* groups = Category(NT_CAT_TEXTGRUPPEN);
        CReportView* view = OpenChild(Root(), groups);
        Select(view, {0, 1, 2});
        RunCommand(cmd::DEVICE_DELETE);
        QCOMPARE(Messages(), QStringList({"Soll(en) das (die) selektierte(n) Objekt(e) wirklich gelöscht werden?",
                                          "Fehler 50: Liste TSLA nicht in PX920 vorhanden"}));
        QVERIFY(!QFile::exists(m_tmp->path() + "/store/TBEL.LST"));
        QVERIFY(!QFile::exists(m_tmp->path() + "/store/TZUL.LST"));
        // The project keeps its lists.
        QCOMPARE(groups->GetChildCount(), 3);
        QCOMPARE(Comm().State(), LinkState::Closed);
    }

    void deleteInTheDirectoryRemovesEntries()
    {
        Seed({"TBEL", "TZUL", "SDAT"});
        QVERIFY(StartSim());
        Activate(ViewOf(Root()));
        RunCommand(cmd::DEVICE_DIRECTORY);
        CInhaltsverzeichnis& dir = CDeviceSession::Current()->Directory();
        CReportView* dirView = ViewOf(&dir);
        auto* section = static_cast<CListNode*>(dir.GetChild(1));
        CReportView* sectionView = OpenChild(&dir, section);
        QVERIFY(sectionView);
        // In the section window: one entry; Cancel first leaves everything.
        ScriptedUi().m_answers = {IDCANCEL};
        Select(sectionView, {1});
        RunCommand(cmd::DEVICE_DELETE);
        QVERIFY(QFile::exists(m_tmp->path() + "/store/TZUL.LST"));
        QCOMPARE(RowTexts(sectionView, 1), QStringList({"TBEL", "TZUL"}));
        Select(sectionView, {1});
        RunCommand(cmd::DEVICE_DELETE);
        QCOMPARE(RowTexts(sectionView, 1), QStringList({"TBEL"}));
        QVERIFY(!QFile::exists(m_tmp->path() + "/store/TZUL.LST"));
        // In the directory window: the section (a folder) and SDAT.
        Select(dirView, {1, 5});
        RunCommand(cmd::DEVICE_DELETE);
        QCOMPARE(ScriptedUi().m_texts.size(), size_t(3));  // one question per command
        QCOMPARE(section->GetChildCount(), 0);
        QCOMPARE(RowTexts(sectionView, 1), QStringList());
        QCOMPARE(RowTexts(dirView, 1).mid(5), QStringList());
        QVERIFY(QDir(m_tmp->path() + "/store").entryList(QDir::Files).isEmpty());
    }

    void deleteWithNothingDeletableAsksNothing()
    {
        QVERIFY(StartSim());
        CReportView* root = ViewOf(Root());
        // The composite list's entries are not lists of the module's kinds.
        Select(root, {Root()->IndexOf(ChildByBase(Root(), "LDAT1"))});
        RunCommand(cmd::DEVICE_DELETE);
        QCOMPARE(Messages(), QStringList());
        QTest::qWait(50);
        QVERIFY(!m_sim->Log().contains("ENQ"));
    }

    // ---- another connection is active

    void busyLink_data()
    {
        QTest::addColumn<int>("command");
        QTest::newRow("directory") << int(cmd::DEVICE_DIRECTORY);
        QTest::newRow("load") << int(cmd::DEVICE_LOAD);
        QTest::newRow("read") << int(cmd::DEVICE_READ);
        QTest::newRow("delete") << int(cmd::DEVICE_DELETE);
        QTest::newRow("keyboard") << int(cmd::KEYBOARD);
    }
    void busyLink()
    {
        QFETCH(int, command);
        QVERIFY(StartSim());
        CReportView* root = ViewOf(Root());
        Select(root, {Root()->IndexOf(ChildByBase(Root(), "SDAT"))});
        // The commands are disabled while the link is open; their handlers
        // still refuse when reached by another way.
        Comm().SetComPort(1);
        QVERIFY(Comm().Open(1));
        QVERIFY(!m_frame->IsCommandEnabled(command));
        const ViewCommand* vc = FindViewCommand(command);
        QVERIFY(vc);
        Watchdog();
        (*FindCommandHandler(vc->code))(NodeCommandContext {root, Root(), root->SelectedRows()});
        QStringList expected {"Fehler 61: Eine andere Online-Verbindung ist bereits aktiv"};
        if (command == cmd::DEVICE_DELETE)
            expected.prepend("Soll(en) das (die) selektierte(n) Objekt(e) wirklich gelöscht werden?");
        QCOMPARE(Messages(), expected);
        QVERIFY(!QApplication::activeModalWidget());
        QCOMPARE(Comm().State(), LinkState::Raw);
        Comm().Close();
    }

    // ---- progress (paced line)

    void progressFollowsTheListImage()
    {
        QVERIFY(StartSim({"--pace"}));
        CListNode* options = Category(NT_CAT_OPTIONEN);
        CReportView* view = OpenChild(Root(), options);
        int row = options->IndexOf(ChildByBase(options, "CSKA"));
        Select(view, {row});
        std::vector<int> values;
        int ticks = 0;
        auto* sampler = new QTimer(m_watchdogs.get());
        connect(sampler, &QTimer::timeout, [&] {
            ++ticks;
            if (auto* dlg = qobject_cast<CTransferDialog*>(QApplication::activeModalWidget()))
                if (values.empty() || values.back() != dlg->ProgressBar()->value())
                    values.push_back(dlg->ProgressBar()->value());
        });
        sampler->start(20);
        QElapsedTimer clock;
        clock.start();
        RunCommand(cmd::DEVICE_LOAD);
        sampler->stop();
        QCOMPARE(Messages(), QStringList());
        // 1812 bytes at 9600 baud 8E1 take about two seconds; meanwhile the
        // window kept handling events and the bar rose from 0 step by step.
        QVERIFY(clock.elapsed() > 1500);
        QVERIFY2(ticks > 40, qPrintable(QString::number(ticks)));
        QVERIFY(!values.empty());
        QCOMPARE(values.front(), 0);
        QVERIFY2(values.size() >= 4, qPrintable(QString::number(values.size())));
        for (size_t i = 1; i < values.size(); ++i) QVERIFY(values[i] > values[i - 1]);
        QVERIFY(values.back() <= CTransferDialog::kProgressRange);
        QCOMPARE(ReadFile(m_tmp->path() + "/store/CSKA.LST"), ReadFile(m_prj + "CSKA.920"));
    }
};

PX920_UI_TEST(TransferTest);
#include "TransferTest.moc"
