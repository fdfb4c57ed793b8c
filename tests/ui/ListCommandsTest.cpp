// The list view's commands: enabling, the context menu, save prompts,
// delete, copy and paste between two windows through the system clipboard,
// and the shortening rule of the cell texts.
#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMenu>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "app/Application.h"
#include "app/MainFrame.h"
#include "app/QtClipboard.h"
#include "app/StatusBar.h"
#include "project/Category.h"
#include "project/Projekt.h"
#include "support/TestMain.h"
#include "support/UiTestSupport.h"
#include "util/FileSystem.h"
#include "views/ChildFrame.h"
#include "views/Commands.h"
#include "views/NodeCommands.h"
#include "views/ReportDoc.h"
#include "views/ReportView.h"

namespace {
QStringList MenuTexts(QMenu* menu)
{
    QStringList texts;
    for (QAction* a : menu->actions()) texts << (a->isSeparator() ? QString("-") : a->text());
    return texts;
}
}  // namespace

class ListCommandsTest : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> m_tmp;
    std::unique_ptr<CMainFrame> m_frame;
    std::string m_dir;

    CProjekt* Root() { return App().Project(); }
    CCategory* Pictures() { return Root()->GetCategory(NT_CAT_BILDER); }
    CReportView* Open(CListNode* parent, const std::string& name)
    {
        CReportView* view = ViewOf(parent);
        int row = parent->IndexOf(ChildNamed(parent, name));
        if (!view || row < 0) return nullptr;
        m_frame->MdiArea()->setActiveSubWindow(view->Doc()->Frame());
        view->SelectRow(row);
        m_frame->OnCommand(cmd::OPEN);
        return ViewOf(ChildNamed(parent, name));
    }
    CTestList* List(const std::string& base)
    {
        for (CNode* c : Pictures()->m_children)
            if (static_cast<CFileList*>(c)->GetBaseName() == base) return static_cast<CTestList*>(c);
        return nullptr;
    }
    void Activate(CReportView* view) { m_frame->MdiArea()->setActiveSubWindow(view->Doc()->Frame()); }
    void Select(CReportView* view, std::initializer_list<int> rows)
    {
        Activate(view);
        view->clearSelection();
        for (int r : rows) view->topLevelItem(r)->setSelected(true);
    }
    void Flush() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

private slots:
    void init()
    {
        ScriptedUi().Reset();
        App().Settings() = CSettings();
        CTestList::AllControls().clear();
        QGuiApplication::clipboard()->clear();
        m_tmp = std::make_unique<QTemporaryDir>();
        m_dir = fsx::WithSlash(m_tmp->path().toStdString()) + "prj/";
        QVERIFY(MakeTestProject(m_dir, "Anlage", {{"BAAA", {"eins", "zwei", "drei"}}, {"BBBB", {"vier"}}}));
        m_frame = std::make_unique<CMainFrame>();
        m_frame->show();
        QVERIFY(m_frame->OpenProject(m_dir));
        QVERIFY(Open(Root(), "Bilder"));
    }
    void cleanup()
    {
        ScriptedUi().m_default = IDNO;  // unsaved test changes are dropped
        m_frame.reset();
        m_tmp.reset();
    }

    // ---- enabling

    void rootWindowEnabling()
    {
        CReportView* view = ViewOf(Root());
        Activate(view);
        view->clearSelection();
        // Nothing selected: no Open, Delete, Properties; never Save or Paste.
        QVERIFY(!m_frame->IsCommandEnabled(cmd::OPEN));
        QVERIFY(!m_frame->IsCommandEnabled(cmd::DELETE_));
        QVERIFY(!m_frame->IsCommandEnabled(cmd::SAVE));
        QVERIFY(!m_frame->IsCommandEnabled(cmd::PASTE));
        QVERIFY(m_frame->IsCommandEnabled(cmd::CLOSE_PROJECT));
        QVERIFY(m_frame->IsCommandEnabled(cmd::CLOSE));
        // A category selected: Open; Delete only for symbol tables and the standard text list.
        view->SelectRow(0);
        QVERIFY(m_frame->IsCommandEnabled(cmd::OPEN));
        QVERIFY(!m_frame->IsCommandEnabled(cmd::DELETE_));
        // Commands of parts that are not built stay disabled whatever the node says.
        QVERIFY(!m_frame->IsCommandEnabled(cmd::EPROM));
        QVERIFY(!m_frame->IsCommandEnabled(cmd::PAKDAT));
        QVERIFY(!m_frame->IsCommandEnabled(cmd::PRINT));
        // The actions follow.
        m_frame->UpdateCommandUi();
        QVERIFY(m_frame->Action(cmd::OPEN)->isEnabled());
        QVERIFY(!m_frame->Action(cmd::SAVE)->isEnabled());
    }

    void listWindowEnablingFollowsSelectionAndClipboard()
    {
        CReportView* view = Open(Pictures(), "Liste BAAA");
        Select(view, {});
        QVERIFY(!m_frame->IsCommandEnabled(cmd::COPY));
        QVERIFY(!m_frame->IsCommandEnabled(cmd::PASTE));
        QVERIFY(m_frame->IsCommandEnabled(cmd::SAVE));
        Select(view, {0, 2});
        QVERIFY(m_frame->IsCommandEnabled(cmd::COPY));
        QVERIFY(m_frame->IsCommandEnabled(cmd::CUT));
        QVERIFY(m_frame->IsCommandEnabled(cmd::DELETE_));
        // Open of an entry means Properties; without a registered dialog it stays off.
        QVERIFY(!m_frame->IsCommandEnabled(cmd::PROPERTIES));
        auto* mime = new QMimeData;
        mime->setData(CQtClipboard::MimeType(kTestClipFormat), QByteArray("\x00\x00", 2));
        QGuiApplication::clipboard()->setMimeData(mime);
        QVERIFY(m_frame->IsCommandEnabled(cmd::PASTE));
        // Another format name is not offered.
        auto* other = new QMimeData;
        other->setData(CQtClipboard::MimeType("PX920_VFELD"), QByteArray("\x02\x00", 2));
        QGuiApplication::clipboard()->setMimeData(other);
        QVERIFY(!m_frame->IsCommandEnabled(cmd::PASTE));
    }

    void registeredHandlersEnableAndReceiveTheSelection()
    {
        CReportView* view = Open(Pictures(), "Liste BAAA");
        std::vector<int> seen;
        RegisterPropertiesHandler(kTestEntryType, [&](const NodeCommandContext& ctx) {
            seen = ctx.selectedRows;
            QCOMPARE(ctx.list, static_cast<CListNode*>(List("BAAA")));
            ctx.list->GetChild(ctx.selectedRows.front())->m_name = "ge\xE4ndert";  // display bytes
            ctx.list->ChildChanged(nullptr);
        });
        Select(view, {1, 2});
        QVERIFY(!m_frame->IsCommandEnabled(cmd::PROPERTIES));  // the node wants one row
        Select(view, {1});
        QVERIFY(m_frame->IsCommandEnabled(cmd::PROPERTIES));
        m_frame->OnCommand(cmd::OPEN);  // an entry opens its dialog
        QCOMPARE(seen, std::vector<int> {1});
        QCOMPARE(RowTexts(view)[1], QString("geändert"));
        RegisterPropertiesHandler(kTestEntryType, nullptr);
        QVERIFY(!m_frame->IsCommandEnabled(cmd::PROPERTIES));
    }

    void newSelectsTheCreatedChild()
    {
        CReportView* view = Open(Pictures(), "Liste BAAA");
        RegisterNewHandler(NT_BILD, [](const NodeCommandContext& ctx) {
            ctx.list->InsertChildAfter(new CTestEntry(ctx.list, "neu"), ctx.selectedRows.empty() ? -1 : ctx.selectedRows[0]);
            ctx.list->ChildChanged(nullptr);
        });
        Select(view, {0});
        m_frame->OnCommand(cmd::NEW);
        QCOMPARE(RowTexts(view), (QStringList {"eins", "neu", "zwei", "drei"}));
        QCOMPARE(view->SelectedRows(), std::vector<int> {1});
        RegisterNewHandler(NT_BILD, nullptr);
        QVERIFY(!m_frame->IsCommandEnabled(cmd::NEW));
    }

    // ---- context menu

    void contextMenuOfACategoryWindow()
    {
        CReportView* view = ViewOf(Pictures());
        Select(view, {0});
        std::unique_ptr<QMenu> menu(view->BuildContextMenu());
        QStringList texts = MenuTexts(menu.get());
        // The entries the node enables, in menu order; never printer setup, no separators.
        QVERIFY(texts.contains("Ö&ffnen...\tStrg+O"));
        QVERIFY(texts.contains("Löschen"));
        QVERIFY(texts.contains("Schließen Projekt"));
        QVERIFY(!texts.contains("Drucker&einrichtung..."));
        QVERIFY(!texts.contains("-"));
        QVERIFY(!texts.contains("E&infügen\tStrg+V"));
        QVERIFY(texts.indexOf("Ö&ffnen...\tStrg+O") < texts.indexOf("Löschen"));
    }

    void contextMenuOfTheRootNeverOffersPaste()
    {
        CReportView* view = ViewOf(Root());
        Select(view, {0});
        std::unique_ptr<QMenu> menu(view->BuildContextMenu());
        QStringList texts = MenuTexts(menu.get());
        QVERIFY(!texts.contains("E&infügen\tStrg+V"));
        QVERIFY(!texts.contains("-"));
        QVERIFY(texts.contains("Ö&ffnen...\tStrg+O"));
    }

    void contextMenuOfAListWithSelectionAndClipboard()
    {
        CReportView* view = Open(Pictures(), "Liste BAAA");
        Select(view, {0});
        m_frame->OnCommand(cmd::COPY);
        std::unique_ptr<QMenu> menu(view->BuildContextMenu());
        QStringList texts = MenuTexts(menu.get());
        // One separator, then the edit entries the node enables.
        QCOMPARE(texts.count("-"), 1);
        QStringList edit = texts.mid(texts.indexOf("-") + 1);
        QCOMPARE(edit, (QStringList {"&Kopieren\tStrg+C", "E&infügen\tStrg+V", "&Ausschneiden\tStrg+X",
                                     "&Bearbeitungsliste\tStrg+W"}));
    }

    // ---- clipboard

    void copyAndPasteBetweenTwoWindows()
    {
        CReportView* a = Open(Pictures(), "Liste BAAA");
        CReportView* b = Open(Pictures(), "Liste BBBB");
        Select(a, {0, 2});
        m_frame->OnCommand(cmd::COPY);
        const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
        QVERIFY(mime->hasFormat("application/x-qt-windows-mime;value=\"PX920_TESTENTRY\""));
        QByteArray block = mime->data("application/x-qt-windows-mime;value=\"PX920_TESTENTRY\"");
        // count 2; record "eins" (size 6), nested 0; record "drei", nested 0
        QCOMPARE(block, QByteArray("\x02\x00\x06\x00" "eins" "\x00\x00\x06\x00" "drei" "\x00\x00", 18));
        Select(b, {0});
        m_frame->OnCommand(cmd::PASTE);
        QCOMPARE(RowTexts(b), (QStringList {"vier", "eins", "drei"}));
        QCOMPARE(b->SelectedRows(), std::vector<int> {2});
        QVERIFY(List("BBBB")->m_modified);
        QVERIFY(ScriptedUi().m_texts.empty());
    }

    void pasteOfADamagedBlockReportsAndKeepsTheList()
    {
        CReportView* b = Open(Pictures(), "Liste BBBB");
        auto* mime = new QMimeData;
        // Claims 3 entries, the first record claims 200 bytes.
        mime->setData(CQtClipboard::MimeType(kTestClipFormat), QByteArray("\x03\x00\xC8\x00xy", 6));
        QGuiApplication::clipboard()->setMimeData(mime);
        Select(b, {});
        m_frame->OnCommand(cmd::PASTE);
        QCOMPARE(RowTexts(b), (QStringList {"vier"}));
        QCOMPARE(ScriptedUi().m_texts, (std::vector<QString> {"Fehler 7: Fehler in der Zwischenablage."}));
    }

    void cutAsksAndCancelKeepsTheRows()
    {
        CReportView* a = Open(Pictures(), "Liste BAAA");
        Select(a, {0, 1});
        ScriptedUi().m_answers = {IDCANCEL};
        m_frame->OnCommand(cmd::CUT);
        QCOMPARE(ScriptedUi().m_texts.back(),
                 QString("Soll(en) das (die) selektierte(n) Objekt(e) wirklich gelöscht werden?"));
        QCOMPARE(RowTexts(a), (QStringList {"eins", "zwei", "drei"}));
        QVERIFY(QGuiApplication::clipboard()->mimeData()->hasFormat(CQtClipboard::MimeType(kTestClipFormat)));
        ScriptedUi().m_answers = {IDOK};
        m_frame->OnCommand(cmd::CUT);
        QCOMPARE(RowTexts(a), (QStringList {"drei"}));
    }

    void deletingAListClosesItsWindow()
    {
        QVERIFY(Open(Pictures(), "Liste BAAA"));
        CReportView* cat = ViewOf(Pictures());
        Select(cat, {0});
        ScriptedUi().m_answers = {IDOK};
        m_frame->OnCommand(cmd::DELETE_);
        QCOMPARE(RowTexts(cat), (QStringList {"Liste BBBB"}));
        QVERIFY(!fsx::IsRegularFile(m_dir + "BAAA.920"));
        QCOMPARE(m_frame->MdiArea()->subWindowList().size(), 2);
    }

    // ---- save prompts

    void savePromptAnswers_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("validateOk");
        QTest::addColumn<bool>("closed");
        QTest::addColumn<int>("saves");
        QTest::addColumn<int>("messages");
        QTest::newRow("Yes saves and closes") << int(IDYES) << true << true << 1 << 1;
        QTest::newRow("No drops and closes") << int(IDNO) << true << true << 0 << 1;
        QTest::newRow("Cancel keeps the window") << int(IDCANCEL) << true << false << 0 << 1;
        QTest::newRow("Yes with failed validation keeps it") << int(IDYES) << false << false << 0 << 2;
    }
    void savePromptAnswers()
    {
        QFETCH(int, answer);
        QFETCH(bool, validateOk);
        QFETCH(bool, closed);
        QFETCH(int, saves);
        QFETCH(int, messages);
        CReportView* a = Open(Pictures(), "Liste BAAA");
        CTestList* list = List("BAAA");
        list->m_modified = 1;
        list->Ctl().validateOk = validateOk;
        ScriptedUi().m_answers = {answer};
        bool ok = a->Doc()->Frame()->close();
        Flush();
        QCOMPARE(ok, closed);
        QCOMPARE(ScriptedUi().m_texts.front(),
                 QString("Datei BAAA.920 wurde geändert.\nMöchten Sie die Änderungen speichern?"));
        QCOMPARE(int(ScriptedUi().m_texts.size()), messages);
        if (!validateOk) QVERIFY(ScriptedUi().m_texts.back().startsWith("Fehler 12:"));
        QCOMPARE(list->Ctl().saves, saves);
        QCOMPARE(list->m_document != nullptr, !closed);
    }

    void failedSaveReportsAndKeepsTheWindow()
    {
        CReportView* a = Open(Pictures(), "Liste BAAA");
        CTestList* list = List("BAAA");
        list->m_modified = 1;
        list->Ctl().saveOk = false;
        ScriptedUi().m_answers = {IDYES};
        QVERIFY(!a->Doc()->Frame()->close());
        QCOMPARE(ScriptedUi().m_texts.back(), QString("Fehler 42: Fehler bei Dateizugriff"));
    }

    void unmodifiedListWithFailingValidationAsks()
    {
        CReportView* a = Open(Pictures(), "Liste BAAA");
        List("BAAA")->Ctl().validateOk = false;
        ScriptedUi().m_answers = {IDNO};
        QVERIFY(!a->Doc()->Frame()->close());
        QVERIFY(ScriptedUi().m_texts.back().endsWith("\nMöchten Sie das Fenster dennoch schließen?"));
        QCOMPARE(ScriptedUi().m_styles.back(), unsigned(mb::YESNO));
        ScriptedUi().m_answers = {IDYES};
        QVERIFY(a->Doc()->Frame()->close());
    }

    void closingTheProjectAsksOncePerModifiedList()
    {
        QVERIFY(Open(Pictures(), "Liste BAAA"));
        QVERIFY(Open(Pictures(), "Liste BBBB"));
        List("BAAA")->m_modified = 1;
        List("BBBB")->m_modified = 1;
        ScriptedUi().m_answers = {IDYES, IDCANCEL};
        QVERIFY(!m_frame->CloseProjectIfAgreed());
        QCOMPARE(int(ScriptedUi().m_texts.size()), 2);
        // The first list is saved already, every window is still open.
        QCOMPARE(List("BAAA")->Ctl().saves, 1);
        QVERIFY(!List("BAAA")->m_modified);
        QVERIFY(List("BBBB")->m_modified);
        QCOMPARE(m_frame->MdiArea()->subWindowList().size(), 4);
        ScriptedUi().m_answers = {IDNO};
        QVERIFY(m_frame->CloseProjectIfAgreed());
        QVERIFY(!Root());
        QVERIFY(m_frame->MdiArea()->subWindowList().isEmpty());
    }

    void saveCommandValidatesFirst()
    {
        Open(Pictures(), "Liste BAAA");
        List("BAAA")->Ctl().validateOk = false;
        m_frame->OnCommand(cmd::SAVE);
        QCOMPARE(List("BAAA")->Ctl().saves, 0);
        QVERIFY(ScriptedUi().m_texts.back().startsWith("Fehler 12:"));
        List("BAAA")->Ctl().validateOk = true;
        m_frame->OnCommand(cmd::SAVE);
        QCOMPARE(List("BAAA")->Ctl().saves, 1);
    }

    // ---- drawing

    void shorteningRule_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("margin");
        QTest::addColumn<QString>("shown");
        QTest::newRow("8 characters fit in 70 px") << "ABCDEFGH" << 70 << 12 << "ABCDEFGH";
        QTest::newRow("9 characters are cut") << "ABCDEFGHI" << 70 << 12 << "ABCDEFG..";
        QTest::newRow("room for one character") << "ABC" << 20 << 12 << "..";
        QTest::newRow("no room") << "ABC" << 15 << 12 << "";
        QTest::newRow("first column margin") << "ABCDEFGHI" << 70 << 4 << "ABCDEFGHI";
        QTest::newRow("first column cut") << "ABCDEFGHIJ" << 70 << 4 << "ABCDEFGH..";
    }
    void shorteningRule()
    {
        QFETCH(QString, text);
        QFETCH(int, width);
        QFETCH(int, margin);
        QFETCH(QString, shown);
        QCOMPARE(ShortenText(text, width, margin, 7), shown);
    }

    void statusBarShowsTheActiveListAndKeepsTextsThroughMenuMode()
    {
        Open(Pictures(), "Liste BAAA");
        CStatusBar* bar = m_frame->Status();
        QCOMPARE(bar->PaneText(0), QString("Anlage"));
        QCOMPARE(bar->PaneText(1), QString("BAAA"));
        QCOMPARE(bar->PaneText(2), QString("Liste BAAA"));
        QVERIFY(bar->IsPaneVisible(1));
        QVERIFY(!bar->IsPaneVisible(3));  // empty panes take no room
        QCOMPARE(bar->PaneWidth(3), 0);
        bar->SetMenuMode(true);
        QVERIFY(!bar->IsPaneVisible(1));
        bar->SetPaneText(1, "NEU");
        QVERIFY(!bar->IsPaneVisible(1));
        bar->SetMenuMode(false);
        QVERIFY(bar->IsPaneVisible(1));
        QCOMPARE(bar->PaneText(1), QString("NEU"));
        QVERIFY(bar->PaneWidth(0) >= 32 * bar->fontMetrics().averageCharWidth());
    }
};

PX920_UI_TEST(ListCommandsTest);
#include "ListCommandsTest.moc"
