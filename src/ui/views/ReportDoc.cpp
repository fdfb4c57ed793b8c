#include "views/ReportDoc.h"

#include <QApplication>
#include <QMdiArea>

#include "app/Application.h"
#include "app/MainFrame.h"
#include "app/QtUserInteraction.h"
#include "model/Node.h"
#include "project/Projekt.h"
#include "util/Charset.h"
#include "util/ErrorInfo.h"
#include "util/StringTable.h"
#include "util/Strings.h"
#include "util/UserInteraction.h"
#include "views/ChildFrame.h"
#include "views/ReportView.h"

namespace {
// The file name a save prompt names: the list's file, else the node's name.
std::string PromptName(CNode* n)
{
    if (CNode::IsFileListType(n->GetType())) return static_cast<CFileList*>(n)->GetFileName();
    return TrimRight(n->m_name);
}

struct WaitCursor {
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};
}  // namespace

CReportDoc::CReportDoc(CMainFrame* mainFrame) : m_mainFrame(mainFrame) {}

CReportDoc::~CReportDoc()
{
    CListNode* node = m_node;
    m_view = nullptr;
    if (!node) return;
    bool isRoot = node->GetType() == NT_PROJEKT;
    // Every other window of the project shows a node of this tree.
    if (isRoot && m_mainFrame) m_mainFrame->CloseOtherFrames(m_frame);
    node->Unload();
    node->m_document = nullptr;
    m_node = nullptr;
    if (isRoot && m_mainFrame) m_mainFrame->DestroyProjectTree();
}

bool CReportDoc::AttachNode(CNode* node)
{
    IUserInteraction& ui = App().Ui();
    if (!node || !node->IsList()) {
        CErrorInfo err;
        err.Set(IDS_INTERNAL_ERROR, "ReportDoc", __LINE__);
        err.Report(ui);
        return false;
    }
    auto* list = static_cast<CListNode*>(node);
    m_node = list;
    if (!list->m_loaded) {
        bool ok;
        {
            WaitCursor wait;
            ok = list->Load();
        }
        if (!ok) {
            CErrorInfo err;
            err.Set(IDS_FILE_ACCESS, list->m_name, 0);
            err.Report(ui);
            m_node = nullptr;
            return false;
        }
    }
    SetTitle(ToDisplayCharset(list->m_name));
    list->m_document = this;
    // The online configuration of a picture belongs to the device link and
    // starts here once that part exists; offline, a picture opens like any list.
    return true;
}

void CReportDoc::SetTitle(const std::string& title)
{
    m_title = FromDisplay(TrimRight(title));
    if (m_frame) m_frame->setWindowTitle(m_title);
    if (m_mainFrame) m_mainFrame->UpdateTitle();
}

void CReportDoc::RefreshViews(int hint)
{
    if (m_view) m_view->OnUpdate(hint);
}

void CReportDoc::CloseFrame()
{
    if (m_frame) m_frame->DestroyNow();
}

void CReportDoc::UpdateStatusBar()
{
    if (!m_mainFrame || !m_node || !m_frame) return;
    if (m_mainFrame->MdiArea()->activeSubWindow() != m_frame) return;
    std::array<QString, 6> texts;
    if (CProjekt* root = App().Project()) texts[0] = FromDisplay(TrimRight(root->m_name));
    for (int i = 1; i < 6; ++i) texts[i] = FromDisplay(m_node->GetStatusText(i));
    m_mainFrame->SetStatusTexts(texts);
}

bool CReportDoc::SaveModified() { return SaveModifiedCheck(m_node); }

bool SaveModifiedCheck(CNode* n)
{
    if (!n) return true;
    IUserInteraction& ui = App().Ui();
    if (n->m_modified) {
        std::string text = FormatMessageText(LoadString(63011), PromptName(n));
        int answer = ui.MessageBox(text, mb::YESNOCANCEL | mb::ICONQUESTION);
        switch (answer) {
        case IDYES: {
            CErrorInfo err;
            if (!n->Validate(err, 1)) {
                err.Report(ui, mb::ICONERROR);
                return false;
            }
            if (!n->IsList() || !static_cast<CListNode*>(n)->Save()) {
                CErrorInfo e;
                e.Set(IDS_FILE_ACCESS, n->m_name, 0);
                e.Report(ui);
                return false;
            }
            return true;
        }
        case IDNO:
            return true;
        case IDCANCEL:
            return false;
        default: {
            CErrorInfo e;
            e.Set(62010);
            e.Report(ui);
            return true;
        }
        }
    }
    if (!n->IsList()) return true;
    auto* list = static_cast<CListNode*>(n);
    // Children may be replaced while a prompt saves; walk a copy.
    std::vector<CNode*> children = list->m_children;
    for (CNode* c : children)
        if (c->IsList() && !SaveModifiedCheck(c)) return false;
    if (n->m_document) {
        CErrorInfo err;
        if (!n->Validate(err, 1)) {
            int answer = ui.MessageBox(err.Format(LoadString(63012)), mb::YESNO);
            if (answer != IDYES) return false;
        }
    }
    return true;
}
