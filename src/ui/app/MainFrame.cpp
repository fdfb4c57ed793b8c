#include "app/MainFrame.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>
#include <QTimer>
#include <QToolBar>
#include <QStyle>
#include <QUrl>
#include <QVBoxLayout>

#include "app/Application.h"
#include "app/ConfigSheet.h"
#include "app/PrinterSupport.h"
#include "app/QtUserInteraction.h"
#include "app/Resources.h"
#include "app/StatusBar.h"
#include "model/Node.h"
#include "project/NewProjectDialog.h"
#include "project/OpenProjectDialog.h"
#include "project/Category.h"
#include "project/Projekt.h"
#include "transfer/DeviceSession.h"
#include "util/ErrorInfo.h"
#include "util/FileSystem.h"
#include "util/StringTable.h"
#include "util/Strings.h"
#include "util/UserInteraction.h"
#include "views/ChildFrame.h"
#include "views/Commands.h"
#include "views/ReportDoc.h"
#include "views/ReportView.h"

namespace {
CMainFrame* g_instance = nullptr;

// The frame's own commands (menu 128 and the window and help commands).
struct FrameCommand {
    int id;
    const char* text;
};
const FrameCommand kFrameCommands[] = {
    {cmd::NEW_PROJECT, "&Neues Projekt\tStrg+N"},
    {cmd::OPEN_PROJECT, "Ö&ffnen Projekt...\tStrg+O"},
    {cmd::APP_EXIT, "&Beenden"},
    {cmd::CONFIGURATION, "PX920Win..."},
    {cmd::TOOLBAR, "&Symbolleiste"},
    {cmd::HELP_FINDER, "&Hilfethemen"},
    {cmd::ABOUT, "Inf&o über PX920Win..."},
    {cmd::CASCADE, "Über&lappend"},
    {cmd::TILE, "&Nebeneinander"},
};

QString MenuText(const char* utf8) { return QString::fromUtf8(utf8); }

void ReportInternalError(int line)
{
    CErrorInfo err;
    err.Set(IDS_INTERNAL_ERROR, "WinPX920", line);
    err.Report(App().Ui());
}
}  // namespace

CMainFrame* CMainFrame::Instance() { return g_instance; }

CMainFrame::CMainFrame()
{
    g_instance = this;
    setObjectName(QStringLiteral("CMainFrame"));
    setWindowTitle(QStringLiteral("PX920Win"));
    setWindowIcon(res::ProgramIcon());
    m_mdi = new QMdiArea(this);
    m_mdi->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdi->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(m_mdi);
    m_status = new CStatusBar(this);
    setStatusBar(m_status);
    m_openWithShell = [](const QString& path) { return QDesktopServices::openUrl(QUrl::fromLocalFile(path)); };

    CreateActions();
    CreateMenus();
    CreateToolBar();
    ShowMenus(false);

    connect(m_mdi, &QMdiArea::subWindowActivated, this, &CMainFrame::OnSubWindowActivated);
    if (QClipboard* cb = QGuiApplication::clipboard())
        connect(cb, &QClipboard::dataChanged, this, &CMainFrame::UpdateCommandUi);
    // The enabling answers also depend on state outside the window (the link,
    // the online mode); they are refreshed while the program idles, too.
    auto* timer = new QTimer(this);
    connect(timer, &QTimer::timeout, this, &CMainFrame::UpdateCommandUi);
    timer->start(500);
    resize(1024, 720);
    UpdateCommandUi();
}

CMainFrame::~CMainFrame()
{
    // Windows first (their documents refer to the tree), then the tree.
    m_closingProject = false;
    if (App().Project()) CloseProject();
    if (g_instance == this) g_instance = nullptr;
}

QAction* CMainFrame::Action(int id) const
{
    auto it = m_actions.find(id);
    return it == m_actions.end() ? nullptr : it->second;
}

QMenu* CMainFrame::FileMenu() const { return m_projectMenus ? m_fileMenu129 : m_fileMenu128; }

// ------------------------------------------------------------ actions

void CMainFrame::CreateActions()
{
    auto make = [this](int id, const QString& text) {
        auto* a = new QAction(text, this);
        a->setData(id);
        a->setShortcutContext(Qt::WindowShortcut);
        connect(a, &QAction::triggered, this, [this, id] { OnCommand(id); });
        addAction(a);  // shortcuts work whichever menu bar is shown
        m_actions[id] = a;
        return a;
    };
    for (const FrameCommand& c : kFrameCommands) make(c.id, MenuText(c.text));
    for (const auto* table : {&ViewFileMenu(), &ViewEditMenu(), &ViewHiddenCommands()})
        for (const ViewCommand& c : *table)
            if (c.id && !m_actions.count(c.id)) make(c.id, c.text ? MenuText(c.text) : QString());
    Action(cmd::TOOLBAR)->setCheckable(true);
    Action(cmd::TOOLBAR)->setChecked(true);
    Action(cmd::ONLINE_PICTURE)->setText(QStringLiteral("Bild"));
    Action(cmd::ONLINE_SYMBOLS)->setText(QStringLiteral("Symbolsatz"));

    struct Tip {
        int id;
        const char* tip;
    };
    const Tip tips[] = {
        {cmd::NEW, "Neu"}, {cmd::OPEN, "Öffnen"}, {cmd::SAVE, "Speichern"}, {cmd::KEYBOARD, "Betriebstastatur"},
        {cmd::ONLINE_PICTURE, "Bild"}, {cmd::ONLINE_SYMBOLS, "Symbolsatz"}, {cmd::CUT, "Ausschneiden"},
        {cmd::COPY, "Kopieren"}, {cmd::PASTE, "Einfügen"}, {cmd::PRINT, "Drucken"}, {cmd::HELP_FINDER, "Hilfe"},
    };
    for (const Tip& t : tips) Action(t.id)->setToolTip(MenuText(t.tip));
    // Fly-by help: the menu prompt of each command in the status bar.
    for (auto& [id, a] : m_actions) {
        QString text = a->text();
        text = text.left(text.indexOf(QLatin1Char('\t')) < 0 ? text.size() : text.indexOf(QLatin1Char('\t')));
        text.remove(QLatin1Char('&'));
        if (text.endsWith(QLatin1String("..."))) text.chop(3);
        a->setStatusTip(text);
    }
}

void CMainFrame::CreateMenus()
{
    m_fileMenu128 = new QMenu(QStringLiteral("&Datei"), this);
    m_fileMenu129 = new QMenu(QStringLiteral("&Datei"), this);
    m_editMenu = new QMenu(QStringLiteral("&Bearbeiten"), this);
    m_configMenu = new QMenu(QStringLiteral("Konfiguration"), this);
    m_viewMenu = new QMenu(QStringLiteral("&Ansicht"), this);
    m_windowMenu = new QMenu(QStringLiteral("&Fenster"), this);
    m_helpMenu = new QMenu(QStringLiteral("&?"), this);

    for (const ViewCommand& c : ViewEditMenu()) {
        if (c.id)
            m_editMenu->addAction(Action(c.id));
        else
            m_editMenu->addSeparator();
    }
    m_configMenu->addAction(Action(cmd::CONFIGURATION));
    m_viewMenu->addAction(Action(cmd::TOOLBAR));
    m_helpMenu->addAction(Action(cmd::HELP_FINDER));
    m_helpMenu->addAction(Action(cmd::ABOUT));
    connect(m_windowMenu, &QMenu::aboutToShow, this, [this] {
        m_windowMenu->clear();
        m_windowMenu->addAction(Action(cmd::CASCADE));
        m_windowMenu->addAction(Action(cmd::TILE));
        const auto windows = m_mdi->subWindowList();
        if (!windows.isEmpty()) m_windowMenu->addSeparator();
        int n = 1;
        for (QMdiSubWindow* w : windows) {
            QAction* a = m_windowMenu->addAction(QStringLiteral("&%1 %2").arg(n++).arg(w->windowTitle()));
            a->setCheckable(true);
            a->setChecked(w == m_mdi->currentSubWindow());
            connect(a, &QAction::triggered, this, [this, w] { m_mdi->setActiveSubWindow(w); });
        }
    });
    for (QMenu* m : {m_fileMenu128, m_fileMenu129, m_editMenu, m_configMenu, m_viewMenu, m_windowMenu, m_helpMenu}) {
        // Menu mode of the status bar, and fresh enabling answers for the items.
        connect(m, &QMenu::aboutToShow, this, [this] {
            m_status->SetMenuMode(true);
            UpdateCommandUi();
        });
        connect(m, &QMenu::aboutToHide, this, [this] { m_status->SetMenuMode(false); });
    }
    RebuildRecentMenu();
}

void CMainFrame::RebuildRecentMenu()
{
    for (QAction* a : m_recentActions128) a->deleteLater();
    m_recentActions128.clear();
    const auto& recent = App().Settings().recentFiles;
    if (recent.empty()) {
        auto* a = new QAction(QStringLiteral("Letzte Datei"), this);
        a->setEnabled(false);
        m_recentActions128 << a;
    }
    for (size_t i = 0; i < recent.size(); ++i) {
        // The directory is a file-system path, the name after it display bytes.
        size_t slash = recent[i].rfind('/');
        QString dir = slash == std::string::npos ? QString() : QString::fromStdString(recent[i].substr(0, slash));
        QString name = FromDisplay(slash == std::string::npos ? recent[i] : recent[i].substr(slash + 1));
        QString entry = dir + QLatin1Char('/') + name;
        auto* a = new QAction(QStringLiteral("&%1 %2  (%3)").arg(i + 1).arg(name, dir), this);
        a->setStatusTip(entry);
        a->setData(static_cast<int>(cmd::MRU_FIRST + i));
        std::string path = recent[i];
        connect(a, &QAction::triggered, this, [this, path] { OpenDocumentFile(path); });
        m_recentActions128 << a;
    }

    m_fileMenu128->clear();
    m_fileMenu128->addAction(Action(cmd::NEW_PROJECT));
    m_fileMenu128->addAction(Action(cmd::OPEN_PROJECT));
    m_fileMenu128->addSeparator();
    m_fileMenu128->addAction(Action(cmd::PRINT_SETUP));
    m_fileMenu128->addSeparator();
    m_fileMenu128->addActions(m_recentActions128);
    m_fileMenu128->addSeparator();
    m_fileMenu128->addAction(Action(cmd::APP_EXIT));

    m_fileMenu129->clear();
    for (const ViewCommand& c : ViewFileMenu()) {
        if (c.id)
            m_fileMenu129->addAction(Action(c.id));
        else
            m_fileMenu129->addSeparator();
    }
    m_fileMenu129->addSeparator();
    m_fileMenu129->addActions(m_recentActions128);
    m_fileMenu129->addSeparator();
    m_fileMenu129->addAction(Action(cmd::APP_EXIT));
}

void CMainFrame::CreateToolBar()
{
    m_toolBar = new QToolBar(QStringLiteral("Symbolleiste"), this);
    m_toolBar->setObjectName(QStringLiteral("toolbar128"));
    m_toolBar->setIconSize(QSize(16, 15));
    m_toolBar->setMovable(true);
    m_toolBar->setFloatable(true);
    m_toolBar->setAllowedAreas(Qt::AllToolBarAreas);
    struct Button {
        int id;
        const char* icon;
    };
    const Button buttons[] = {
        {cmd::NEW, "new"}, {cmd::OPEN, "open"}, {cmd::SAVE, "save"}, {0, nullptr},
        {cmd::KEYBOARD, "keyboard"}, {cmd::ONLINE_PICTURE, "picture"}, {cmd::ONLINE_SYMBOLS, "symbols"}, {0, nullptr},
        {cmd::CUT, "cut"}, {cmd::COPY, "copy"}, {cmd::PASTE, "paste"}, {0, nullptr},
        {cmd::PRINT, "print"}, {cmd::HELP_FINDER, "help"},
    };
    for (const Button& b : buttons) {
        if (!b.id) {
            m_toolBar->addSeparator();
            continue;
        }
        QAction* a = Action(b.id);
        a->setIcon(res::ToolbarIcon(b.icon));
        m_toolBar->addAction(a);
    }
    addToolBar(Qt::TopToolBarArea, m_toolBar);
    connect(m_toolBar, &QToolBar::visibilityChanged, this,
            [this](bool visible) { Action(cmd::TOOLBAR)->setChecked(visible); });
}

void CMainFrame::ShowMenus(bool projectMenus)
{
    if (projectMenus == m_projectMenus && !menuBar()->actions().isEmpty()) return;
    m_projectMenus = projectMenus;
    QMenuBar* bar = menuBar();
    bar->clear();
    if (projectMenus) {
        bar->addMenu(m_fileMenu129);
        bar->addMenu(m_editMenu);
        bar->addMenu(m_configMenu);
        bar->addMenu(m_viewMenu);
        bar->addMenu(m_windowMenu);
        bar->addMenu(m_helpMenu);
    } else {
        bar->addMenu(m_fileMenu128);
        bar->addMenu(m_configMenu);
        bar->addMenu(m_viewMenu);
        bar->addMenu(m_helpMenu);
    }
    ApplyShortcuts();
}

void CMainFrame::ApplyShortcuts()
{
    // Accelerator table 128 without a project window, 129 with one; the same
    // key (Ctrl+N) means "new project" in one and "new entry" in the other.
    for (auto& [id, a] : m_actions) a->setShortcuts({});
    if (m_projectMenus) {
        for (const auto* table : {&ViewFileMenu(), &ViewEditMenu(), &ViewHiddenCommands()})
            for (const ViewCommand& c : *table)
                if (c.id) Action(c.id)->setShortcuts(c.keys);
    } else {
        Action(cmd::NEW_PROJECT)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
        Action(cmd::OPEN_PROJECT)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
        Action(cmd::ONLINE_PICTURE)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F1));
        Action(cmd::ONLINE_SYMBOLS)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F2));
    }
    Action(cmd::HELP_FINDER)->setShortcut(QKeySequence(Qt::Key_F1));
}

// ------------------------------------------------------ command routing

CReportView* CMainFrame::ActiveView() const
{
    auto* frame = qobject_cast<CChildFrame*>(m_mdi->currentSubWindow());
    if (!frame || frame->IsDestroying()) return nullptr;
    return frame->View();
}

bool CMainFrame::IsCommandEnabled(int id)
{
    if (CReportView* v = ActiveView(); v && CReportView::HandlesCommand(id)) return v->IsCommandIdEnabled(id);
    switch (id) {
    case cmd::NEW_PROJECT:
    case cmd::OPEN_PROJECT:
    case cmd::NEW:
    case cmd::OPEN:
    case cmd::CONFIGURATION:
    case cmd::PRINT_SETUP:
    case cmd::APP_EXIT:
    case cmd::TOOLBAR:
    case cmd::HELP_FINDER:
    case cmd::ABOUT:
        return true;
    case cmd::CASCADE:
    case cmd::TILE:
        return !m_mdi->subWindowList().isEmpty();
    default:
        return false;
    }
}

void CMainFrame::UpdateCommandUi()
{
    for (auto& [id, a] : m_actions) a->setEnabled(IsCommandEnabled(id));
}

void CMainFrame::OnCommand(int id)
{
    if (!IsCommandEnabled(id)) return;
    if (CReportView* v = ActiveView(); v && CReportView::HandlesCommand(id)) {
        v->OnCommand(id);
        return;
    }
    switch (id) {
    case cmd::NEW_PROJECT:
    case cmd::NEW: OnNewProject(); break;
    case cmd::OPEN_PROJECT:
    case cmd::OPEN: OnOpenProject(); break;
    case cmd::CONFIGURATION: OnConfiguration(); break;
    case cmd::PRINT_SETUP: OnPrinterSetup(); break;
    case cmd::APP_EXIT: close(); break;
    case cmd::TOOLBAR: m_toolBar->setVisible(!m_toolBar->isVisible()); break;
    case cmd::HELP_FINDER: HelpRequest(11); break;
    case cmd::ABOUT: OnAbout(); break;
    case cmd::CASCADE: m_mdi->cascadeSubWindows(); break;
    case cmd::TILE: m_mdi->tileSubWindows(); break;
    default: break;
    }
    UpdateCommandUi();
}

void CMainFrame::OnSubWindowActivated(QMdiSubWindow*)
{
    CReportView* view = ActiveView();
    ShowMenus(view != nullptr);
    UpdateTitle();
    if (view && view->Doc())
        view->Doc()->UpdateStatusBar();
    else if (!App().Project())
        ClearStatusTexts();
    UpdateCommandUi();
}

void CMainFrame::UpdateTitle()
{
    CReportView* view = ActiveView();
    if (view && view->Doc() && !view->Doc()->Title().isEmpty())
        setWindowTitle(QStringLiteral("PX920Win - %1").arg(view->Doc()->Title()));
    else
        setWindowTitle(QStringLiteral("PX920Win"));
}

void CMainFrame::SetStatusTexts(const std::array<QString, 6>& texts) { m_status->SetPaneTexts(texts); }

void CMainFrame::ClearStatusTexts() { m_status->SetPaneTexts({}); }

// -------------------------------------------------- project operations

CChildFrame* CMainFrame::FrameOf(const CNode* node) const
{
    if (!node || !node->m_document) return nullptr;
    auto* doc = dynamic_cast<CReportDoc*>(node->m_document);
    return doc ? doc->Frame() : nullptr;
}

CChildFrame* CMainFrame::RootFrame() const { return FrameOf(App().Project()); }

CReportDoc* CMainFrame::OpenNodeInWindow(CNode* node)
{
    if (!node) return nullptr;
    if (node->m_document) {
        auto* doc = dynamic_cast<CReportDoc*>(node->m_document);
        if (doc && doc->Frame()) {
            if (doc->Frame()->isMinimized()) doc->Frame()->showNormal();
            m_mdi->setActiveSubWindow(doc->Frame());
        }
        return doc;
    }
    auto doc = std::make_unique<CReportDoc>(this);
    if (!doc->AttachNode(node)) return nullptr;
    CReportDoc* d = doc.get();
    auto* frame = new CChildFrame(std::move(doc));
    frame->setWindowIcon(QIcon(res::NodeIcon(node->m_imageIndex)));
    auto* view = new CReportView(d, this);
    frame->SetView(view);
    m_mdi->addSubWindow(frame);
    // New windows cascade from the top left corner, one title bar lower each.
    int k = static_cast<int>(m_mdi->subWindowList().size()) - 1;
    int step = frame->style()->pixelMetric(QStyle::PM_TitleBarHeight) + 4;
    int span = std::max(1, std::min(m_mdi->width(), m_mdi->height()) / 2);
    frame->move((k * step) % span, (k * step) % span);
    frame->show();
    view->InitialUpdate();
    m_mdi->setActiveSubWindow(frame);
    view->setFocus();
    d->UpdateStatusBar();
    UpdateTitle();
    UpdateCommandUi();
    return d;
}

bool CMainFrame::OpenProject(const std::string& dirIn)
{
    CloseProject();
    std::string dir = fsx::WithSlash(dirIn);
    auto root = std::make_unique<CProjekt>(dir);
    if (!root->m_valid) return false;
    CSettings& s = App().Settings();
    s.projectExtension = root->GetExtension();
    s.AddRecentFile(RecentFileEntry(root->GetDirectory(), root->m_name));
    s.lastProjectPath = root->GetDirectory();
    CProjekt* r = root.get();
    m_device = std::make_unique<CDeviceSession>(root->GetExtension());
    App().SetProject(std::move(root));
    RebuildRecentMenu();
    if (!OpenNodeInWindow(r)) {
        CloseProject();
        return false;
    }
    return true;
}

void CMainFrame::CloseProject()
{
    if (CChildFrame* root = RootFrame()) {
        root->DestroyNow();  // its document closes the project
        return;
    }
    DestroyProjectTree();
}

void CMainFrame::CloseOtherFrames(CChildFrame* keep)
{
    // Closing a window also closes the windows of its node's children (the
    // module directory's sections, for one), so the list is held by guards.
    QList<QPointer<QMdiSubWindow>> frames;
    for (QMdiSubWindow* w : m_mdi->subWindowList()) frames << w;
    for (const QPointer<QMdiSubWindow>& w : frames) {
        auto* f = qobject_cast<CChildFrame*>(w.data());
        if (f && f != keep) f->DestroyNow();
    }
}

void CMainFrame::DestroyProjectTree()
{
    if (m_closingProject) return;
    m_closingProject = true;
    ClearStatusTexts();
    CloseOtherFrames(nullptr);
    m_device.reset();
    App().SetProject(nullptr);
    m_closingProject = false;
    ShowMenus(ActiveView() != nullptr);
    UpdateTitle();
    UpdateCommandUi();
}

bool CMainFrame::CloseProjectIfAgreed()
{
    CProjekt* root = App().Project();
    if (!root) return true;
    if (!SaveModifiedCheck(root)) return false;
    CloseProject();
    return true;
}

void CMainFrame::OpenDocumentFile(const std::string& path)
{
    size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        ReportInternalError(__LINE__);
        return;
    }
    std::string dir = path.substr(0, slash + 1);
    if (CProjekt* root = App().Project()) {
        if (IEquals(root->GetDirectory(), dir)) return;
        if (App().Ui().MessageBox(LoadString(64313), mb::YESNO | mb::ICONQUESTION) != IDYES) return;
        if (!CloseProjectIfAgreed()) return;
    }
    OpenProject(dir);
}

// -------------------------------------------------------- frame commands

void CMainFrame::OnNewProject()
{
    CNewProjectDialog dlg(this);
    if (dlg.exec() != QDialog::Accepted) return;
    if (!CloseProjectIfAgreed()) return;
    OpenProject(dlg.CreatedDirectory());
}

void CMainFrame::OnOpenProject()
{
    COpenProjectDialog dlg(QString::fromStdString(App().Settings().lastProjectPath), this);
    if (dlg.exec() != QDialog::Accepted || dlg.ChosenDirectory().isEmpty()) return;
    if (!CloseProjectIfAgreed()) return;
    OpenProject(dlg.ChosenDirectory().toStdString());
}

void CMainFrame::OnConfiguration()
{
    CConfigSheet sheet(this);
    sheet.exec();
    UpdateCommandUi();
}

void CMainFrame::OnPrinterSetup() { prn::PrinterSetup(this); }
void CMainFrame::OnPageSetup() { prn::PageSetup(this); }
void CMainFrame::OnPrinterFont() { prn::PrinterFontDialog(this); }

void CMainFrame::OnAbout()
{
    QDialog dlg(this);
    dlg.setWindowTitle(QStringLiteral("Info über PX920Win"));
    auto* icon = new QLabel(&dlg);
    icon->setPixmap(res::ProgramIcon().pixmap(32, 32));
    auto* text = new QLabel(QStringLiteral("PX920Win, Version 1.3"), &dlg);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &dlg);
    connect(buttons, &QDialogButtonBox::accepted, &dlg, &QDialog::accept);
    auto* row = new QHBoxLayout;
    row->addWidget(icon);
    row->addSpacing(12);
    row->addWidget(text, 1);
    auto* layout = new QVBoxLayout(&dlg);
    layout->addLayout(row);
    layout->addWidget(buttons);
    dlg.exec();
}

void CMainFrame::HelpRequest(unsigned command)
{
    // Context (1), index (3), help finder (11) and key (257) open the manual;
    // quitting (2) and everything else has nothing to do here.
    if (command != 1 && command != 3 && command != 11 && command != 257) return;
    std::string path = App().HelpDir() + App().Settings().helpFileName;
    CErrorInfo err;
    if (!fsx::IsRegularFile(path)) {
        err.Set(62043, path, 0);
        err.Report(App().Ui());
        return;
    }
    if (!m_openWithShell(QString::fromStdString(path))) {
        err.Set(62005);
        err.Report(App().Ui());
    }
}

void CMainFrame::OnTevowin()
{
    CProjekt* root = App().Project();
    if (!root) return;
    // The tool works on the files as stored: groups open in a window must be
    // closed first, merely loaded ones are dropped.
    if (CCategory* groups = root->GetCategory(NT_CAT_SCHRITTKETTEN)) {
        for (CNode* c : std::vector<CNode*>(groups->m_children)) {
            auto* list = static_cast<CListNode*>(c);
            if (!list->m_loaded) continue;
            if (list->m_document) {
                CErrorInfo err;
                err.Set(62022);
                err.Report(App().Ui());
                return;
            }
            list->Unload();
        }
    }
    std::string dir = root->GetDirectory();
    if (dir.size() > 1 && dir.back() == '/') dir.pop_back();
    QString program = QString::fromStdString(App().ExeDir() + "tevowin");
    if (!QFileInfo(program).isFile()) {
        CErrorInfo err;
        err.Set(62021);
        err.Report(App().Ui());
        return;
    }
    QProcess process;
    process.setProgram(program);
    process.setArguments({QString::fromStdString(dir)});
    process.setStandardInputFile(QProcess::nullDevice());
    if (!process.startDetached()) {
        QMessageBox::critical(this, LoadQString(62020), process.errorString());
    }
}

// ------------------------------------------------------------- closing

void CMainFrame::closeEvent(QCloseEvent* event)
{
    if (!CloseProjectIfAgreed()) {
        event->ignore();
        return;
    }
    event->accept();
}
