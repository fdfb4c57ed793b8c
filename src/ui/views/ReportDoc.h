#pragma once
#include <QString>
#include <string>

#include "model/DocumentLink.h"

class CNode;
class CListNode;
class CReportView;
class CChildFrame;
class CMainFrame;

// The project document: binds one window to the node whose children it shows.
// It loads the node on attach, titles the window, asks before unsaved changes
// are lost and unloads the node when the window goes. The document of the
// project root closes the project when it goes.
class CReportDoc : public IDocumentLink {
public:
    explicit CReportDoc(CMainFrame* mainFrame);
    ~CReportDoc() override;
    CReportDoc(const CReportDoc&) = delete;
    CReportDoc& operator=(const CReportDoc&) = delete;

    // Loads the node when needed (62042 when that fails) and makes this the
    // node's document.
    bool AttachNode(CNode* node);
    CListNode* Node() const { return m_node; }

    void SetView(CReportView* view) { m_view = view; }
    CReportView* View() const { return m_view; }
    void SetFrame(CChildFrame* frame) { m_frame = frame; }
    CChildFrame* Frame() const { return m_frame; }
    CMainFrame* MainFrame() const { return m_mainFrame; }

    const QString& Title() const { return m_title; }

    // The save-modified check over the node and every list below it.
    bool SaveModified();
    // Destroys the window without asking (the caller has asked).
    void CloseFrame();
    // Hands the node's status texts to the main window when this document's
    // window is the active one.
    void UpdateStatusBar();

    // IDocumentLink
    void RefreshViews(int hint) override;
    void SetTitle(const std::string& title) override;

private:
    CMainFrame* m_mainFrame;
    CListNode* m_node = nullptr;
    CReportView* m_view = nullptr;
    CChildFrame* m_frame = nullptr;
    QString m_title;
};

// The save-modified check of one node (and, when it is not modified itself,
// of every list below it); false keeps the window open.
bool SaveModifiedCheck(CNode* node);
