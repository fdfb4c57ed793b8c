// Opening a project, categories and lists in windows; closing windows and
// the project; frame sizing.
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "app/Application.h"
#include "app/MainFrame.h"
#include "app/StatusBar.h"
#include "project/Category.h"
#include "project/Projekt.h"
#include "support/TestMain.h"
#include "support/UiTestSupport.h"
#include "util/FileSystem.h"
#include "views/ChildFrame.h"
#include "views/Commands.h"
#include "views/ReportDoc.h"
#include "views/ReportView.h"

class ProjectWindowsTest : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> m_tmp;
    std::unique_ptr<CMainFrame> m_frame;
    std::string m_dir;

    CProjekt* Root() { return App().Project(); }
    CReportView* OpenChild(CListNode* parent, const std::string& name)
    {
        CReportView* view = ViewOf(parent);
        int row = parent->IndexOf(ChildNamed(parent, name));
        if (!view || row < 0) return nullptr;
        view->SelectRow(row);
        m_frame->OnCommand(cmd::OPEN);
        return ViewOf(ChildNamed(parent, name));
    }

private slots:
    void init()
    {
        ScriptedUi().Reset();
        App().Settings() = CSettings();
        m_tmp = std::make_unique<QTemporaryDir>();
        m_dir = fsx::WithSlash(m_tmp->path().toStdString()) + "prj/";
        QVERIFY(MakeTestProject(m_dir, "Testprojekt Ä", {{"BAAA", {"eins", "zwei"}}, {"BBBB", {}}}));
        m_frame = std::make_unique<CMainFrame>();
        m_frame->show();
    }
    void cleanup()
    {
        m_frame.reset();
        QVERIFY(App().Project() == nullptr);
        m_tmp.reset();
    }

    void openingShowsRootWindowWithItsRows()
    {
        QVERIFY(m_frame->OpenProject(m_dir));
        QVERIFY(Root());
        CReportView* view = ViewOf(Root());
        QVERIFY(view);
        QCOMPARE(RowTexts(view), (QStringList {"Bilder", "Textgruppen", "Schrittketten-Gruppen", "Protokolle",
                                               "Optionen", "Lade-Verbund-Datei 1", "Systemdaten-Liste"}));
        QCOMPARE(view->headerItem()->text(4), QString("Länge"));
        QCOMPARE(m_frame->ActiveView(), view);
        QCOMPARE(m_frame->windowTitle(), QString("PX920Win - Testprojekt Ä"));
        QCOMPARE(m_frame->Status()->PaneText(0), QString("Testprojekt Ä"));
        QVERIFY(m_frame->ProjectMenuShown());
        QCOMPARE(m_frame->menuBar()->actions().first()->menu(), m_frame->FileMenu());
        // The recent-file entry is the directory followed by the project name.
        QCOMPARE(App().Settings().recentFiles.front(), m_dir + "Testprojekt \xC4");
        QCOMPARE(App().Settings().lastProjectPath, m_dir);
    }

    void directoryWithoutProjectOpensNothingSilently()
    {
        QTemporaryDir empty;
        QVERIFY(!m_frame->OpenProject(empty.path().toStdString()));
        QVERIFY(!Root());
        QVERIFY(m_frame->MdiArea()->subWindowList().isEmpty());
        QVERIFY(ScriptedUi().m_texts.empty());
        QVERIFY(!m_frame->ProjectMenuShown());
    }

    void categoriesAndListsOpenInWindowsOnce()
    {
        QVERIFY(m_frame->OpenProject(m_dir));
        CListNode* pictures = Root()->GetCategory(NT_CAT_BILDER);
        CReportView* catView = OpenChild(Root(), "Bilder");
        QVERIFY(catView);
        QCOMPARE(RowTexts(catView), (QStringList {"Liste BAAA", "Liste BBBB"}));
        QCOMPARE(RowTexts(catView, 1), (QStringList {"BAAA", "BBBB"}));
        CReportView* listView = OpenChild(pictures, "Liste BAAA");
        QVERIFY(listView);
        QCOMPARE(RowTexts(listView), (QStringList {"eins", "zwei"}));
        QCOMPARE(m_frame->MdiArea()->subWindowList().size(), 3);
        QCOMPARE(m_frame->windowTitle(), QString("PX920Win - Liste BAAA"));
        // Opening a shown node activates its window instead of a second one.
        ViewOf(Root())->SelectRow(0);
        m_frame->MdiArea()->setActiveSubWindow(ViewOf(Root())->Doc()->Frame());
        m_frame->OnCommand(cmd::OPEN);
        QCOMPARE(m_frame->MdiArea()->subWindowList().size(), 3);
        QCOMPARE(m_frame->ActiveView(), catView);
    }

    void closingAWindowClosesItsChildrenAndUnloads()
    {
        QVERIFY(m_frame->OpenProject(m_dir));
        OpenChild(Root(), "Bilder");
        CListNode* pictures = Root()->GetCategory(NT_CAT_BILDER);
        auto* list = static_cast<CListNode*>(ChildNamed(pictures, "Liste BAAA"));
        QVERIFY(OpenChild(pictures, "Liste BAAA"));
        QVERIFY(list->m_loaded);
        QVERIFY(ViewOf(pictures)->Doc()->Frame()->close());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        // The category is unloaded with its window; its list nodes went with it.
        QVERIFY(!pictures->m_document);
        QVERIFY(!pictures->m_loaded);
        QVERIFY(pictures->m_children.empty());
        QCOMPARE(m_frame->MdiArea()->subWindowList().size(), 1);
    }

    void closingTheRootWindowClosesTheProject()
    {
        QVERIFY(m_frame->OpenProject(m_dir));
        OpenChild(Root(), "Bilder");
        QVERIFY(ViewOf(Root())->Doc()->Frame()->close());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!Root());
        QVERIFY(m_frame->MdiArea()->subWindowList().isEmpty());
        QCOMPARE(m_frame->Status()->PaneText(0), QString("Kein Projekt geöffnet"));
        QVERIFY(!m_frame->ProjectMenuShown());
        QCOMPARE(m_frame->windowTitle(), QString("PX920Win"));
    }

    void unreadableListReportsAndOpensNoWindow()
    {
        QVERIFY(m_frame->OpenProject(m_dir));
        OpenChild(Root(), "Bilder");
        CListNode* pictures = Root()->GetCategory(NT_CAT_BILDER);
        QVERIFY(fsx::RemoveFile(m_dir + "BBBB.920"));
        QVERIFY(!OpenChild(pictures, "Liste BBBB"));
        QCOMPARE(ScriptedUi().m_texts, (std::vector<QString> {"Fehler 42: Fehler bei Dateizugriff"}));
        QCOMPARE(m_frame->MdiArea()->subWindowList().size(), 2);
    }

    void openDocumentFileAsksBeforeReplacingTheProject()
    {
        QVERIFY(m_frame->OpenProject(m_dir));
        std::string other = fsx::WithSlash(m_tmp->path().toStdString()) + "other/";
        QVERIFY(MakeTestProject(other, "Zweites", {}));
        // Same directory: nothing happens, nothing is asked.
        m_frame->OpenDocumentFile(m_dir + "Testprojekt");
        QVERIFY(ScriptedUi().m_texts.empty());
        ScriptedUi().m_answers = {IDNO};
        m_frame->OpenDocumentFile(other + "Zweites");
        QCOMPARE(ScriptedUi().m_texts.back(), QString("Es ist bereits ein Projekt in PX920Win geöffnet. Schließen?"));
        QCOMPARE(Root()->GetDirectory(), m_dir);
        ScriptedUi().m_answers = {IDYES};
        m_frame->OpenDocumentFile(other + "Zweites");
        QCOMPARE(Root()->GetDirectory(), other);
        // Without a directory part the path is refused as an internal error.
        m_frame->OpenDocumentFile("Zweites");
        QVERIFY(ScriptedUi().m_texts.back().startsWith("Fehler 1: Interner Fehler, Datei WinPX920"));
    }

    void frameRowUnitsFollowTheReportSettings_data()
    {
        QTest::addColumn<int>("children");
        QTest::addColumn<bool>("autoSize");
        QTest::addColumn<int>("units");
        QTest::newRow("auto, 2 children: minimum 5 rows") << 2 << true << 7;
        QTest::newRow("auto, 10 children") << 10 << true << 12;
        QTest::newRow("auto, 50 children: maximum 30 rows") << 50 << true << 32;
        QTest::newRow("fixed: Height 20") << 2 << false << 21;
    }
    void frameRowUnitsFollowTheReportSettings()
    {
        QFETCH(int, children);
        QFETCH(bool, autoSize);
        QFETCH(int, units);
        QCOMPARE(FrameRowUnits(children, autoSize, 5, 30, 20), units);
    }

    void frameHeightGivesRoomForTheRows_data()
    {
        QTest::addColumn<int>("entries");
        QTest::addColumn<int>("units");
        QTest::newRow("2 entries") << 2 << 7;
        QTest::newRow("50 entries") << 50 << 32;
    }
    void frameHeightGivesRoomForTheRows()
    {
        QFETCH(int, entries);
        QFETCH(int, units);
        std::vector<std::string> names;
        for (int i = 0; i < entries; ++i) names.push_back("E" + std::to_string(i));
        QVERIFY(WriteTestList(m_dir, "BCCC", names));
        App().Settings().autoSize = true;
        m_frame->resize(1200, 1200);
        m_frame->MdiArea()->resize(1200, 1200);
        QVERIFY(m_frame->OpenProject(m_dir));
        OpenChild(Root(), "Bilder");
        CReportView* view = OpenChild(Root()->GetCategory(NT_CAT_BILDER), "Liste BCCC");
        QVERIFY(view);
        CChildFrame* frame = view->Doc()->Frame();
        QCOMPARE(frame->m_rowHeight, App().Settings().fontHeight + 2);
        QCOMPARE(frame->height(), units * frame->m_rowHeight + frame->m_nonClientHeight);
        // The rows area holds exactly that many rows.
        QCOMPARE(view->viewport()->height(), units * frame->m_rowHeight);
    }
};

PX920_UI_TEST(ProjectWindowsTest);
#include "ProjectWindowsTest.moc"
