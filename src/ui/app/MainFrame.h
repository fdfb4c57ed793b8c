#pragma once
#include <QMainWindow>
#include <QString>
#include <array>
#include <functional>
#include <map>
#include <memory>
#include <string>

class QAction;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QToolBar;
class CStatusBar;
class CReportDoc;
class CReportView;
class CChildFrame;
class CNode;
class CDeviceSession;

// The main window: a multiple-document frame with the two menu bars (without
// and with a project window active), the toolbar and the six-pane status bar.
// It also carries the application's project operations: open, close, close
// after asking, and opening a node in a window.
class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    CMainFrame();
    ~CMainFrame() override;

    static CMainFrame* Instance();

    QMdiArea* MdiArea() const { return m_mdi; }
    CStatusBar* Status() const { return m_status; }
    QToolBar* ToolBar() const { return m_toolBar; }
    QAction* Action(int id) const;
    QMenu* FileMenu() const;   // "&Datei" of the menu bar now shown
    QMenu* EditMenu() const { return m_editMenu; }
    bool ProjectMenuShown() const { return m_projectMenus; }

    // ---- project operations
    // Opens the project in dir (closing the open one unconditionally); false
    // when dir holds no project (nothing is reported).
    bool OpenProject(const std::string& dir);
    void CloseProject();
    bool CloseProjectIfAgreed();
    // The recent-file list's and the shell's way in: path up to the last '/'
    // is the project directory.
    void OpenDocumentFile(const std::string& path);
    // Opens a node in a window or activates the window that shows it.
    CReportDoc* OpenNodeInWindow(CNode* node);
    CChildFrame* RootFrame() const;
    CChildFrame* FrameOf(const CNode* node) const;

    CReportView* ActiveView() const;
    // Re-evaluates every command's enabled state.
    void UpdateCommandUi();
    void SetStatusTexts(const std::array<QString, 6>& texts);
    void ClearStatusTexts();
    // The active window's document changed its title.
    void UpdateTitle();

    // ---- commands of the frame
    void OnCommand(int id);
    bool IsCommandEnabled(int id);
    void OnNewProject();
    void OnOpenProject();
    void OnConfiguration();
    void OnPrinterSetup();
    void OnPageSetup();
    void OnPrinterFont();
    void OnAbout();
    void OnTevowin();
    // The help request; only the help commands 1, 3, 11 and 257 act.
    void HelpRequest(unsigned command);

    // How files are handed to the desktop's opener; replaced by tests.
    std::function<bool(const QString& path)> m_openWithShell;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateActions();
    void CreateMenus();
    void CreateToolBar();
    void ShowMenus(bool projectMenus);
    void ApplyShortcuts();
    void RebuildRecentMenu();
    void OnSubWindowActivated(QMdiSubWindow* w);
    void DestroyProjectTree();
    // Destroys every project window but keep (null: all), without asking.
    void CloseOtherFrames(CChildFrame* keep);
    friend class CReportDoc;

    QMdiArea* m_mdi;
    CStatusBar* m_status;
    QToolBar* m_toolBar = nullptr;
    std::map<int, QAction*> m_actions;
    QMenu* m_fileMenu128 = nullptr;
    QMenu* m_fileMenu129 = nullptr;
    QMenu* m_editMenu = nullptr;
    QMenu* m_configMenu = nullptr;
    QMenu* m_viewMenu = nullptr;
    QMenu* m_windowMenu = nullptr;
    QMenu* m_helpMenu = nullptr;
    QList<QAction*> m_recentActions128;
    QList<QAction*> m_recentActions129;
    bool m_projectMenus = false;
    bool m_closingProject = false;
    // The device link and the module directory of the open project.
    std::unique_ptr<CDeviceSession> m_device;
};
