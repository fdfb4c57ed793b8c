#include "transfer/ModuleCommands.h"

#include <QApplication>
#include <set>

#include "app/Application.h"
#include "app/MainFrame.h"
#include "comm/Comm.h"
#include "model/Node.h"
#include "transfer/ModuleDirectory.h"
#include "transfer/Transfer.h"
#include "util/ErrorInfo.h"
#include "util/StringTable.h"
#include "util/UserInteraction.h"

namespace {
constexpr int IDS_DELETE_QUESTION = 61346;

struct WaitCursor {
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    // A message box shows the normal cursor.
    void Pause() { QApplication::restoreOverrideCursor(); }
    void Resume() { QApplication::setOverrideCursor(Qt::WaitCursor); }
};
}  // namespace

std::vector<CNode*> CollectModuleDeletions(CListNode* shown, const std::vector<int>& selectedRows)
{
    std::vector<CNode*> selected;
    if (shown)
        for (int row : selectedRows)
            if (CNode* c = shown->GetChild(row)) selected.push_back(c);
    return CollectForModuleDelete(selected);
}

void DeleteInModule(CComm& comm, CListNode* shown, const std::vector<int>& selectedRows)
{
    IUserInteraction& ui = App().Ui();
    std::vector<CNode*> nodes = CollectModuleDeletions(shown, selectedRows);
    if (!nodes.empty() && ui.MessageBox(LoadString(IDS_DELETE_QUESTION), mb::OKCANCEL | mb::ICONQUESTION) != IDOK)
        return;
    if (comm.State() != LinkState::Closed) {
        CErrorInfo busy;
        busy.Set(IDS_LINK_BUSY);
        busy.Report(ui);
        return;
    }
    if (nodes.empty()) return;

    WaitCursor wait;
    if (!OpenLinkForUser(comm, 2, ui)) return;
    // Folders whose entries were removed; their windows are refreshed at the end.
    std::set<CListNode*> changed;
    for (CNode* node : nodes) {
        auto* list = dynamic_cast<CFileList*>(node);
        if (!list) continue;
        comm.DeleteList(list->GetBaseName());
        CErrorInfo& err = comm.ErrorInfo();
        if (err.Id() != 0) {
            wait.Pause();
            err.Report(ui);
            err.Clear();
            wait.Resume();
            continue;
        }
        if (node->GetType() == NT_DEVICE_LIST && node->m_parent) {
            auto* parent = static_cast<CListNode*>(node->m_parent);
            parent->DeleteChild(node);
            changed.insert(parent);
        }
    }
    comm.Close();
    if (comm.ErrorInfo().Id() != 0) {
        // The closing telegram did not go through; the deletions stand.
        comm.ErrorInfo().Clear();
    }
    if (changed.empty()) return;
    // The shown node first (its rows may be the removed entries), then any
    // section below it whose own window shows the removed entries.
    changed.erase(shown);
    shown->ChildChanged(nullptr);
    for (CListNode* folder : changed) folder->ChildChanged(nullptr);
}

void ShowModuleDirectory(CMainFrame* mainFrame, CInhaltsverzeichnis& directory)
{
    if (!mainFrame) return;
    if (!directory.m_document && !directory.m_loaded) {
        bool ok;
        {
            WaitCursor wait;
            ok = directory.Load();
        }
        // Load has reported why it failed. The sections read before the
        // failure are still worth showing; with nothing read there is no window.
        if (!ok) {
            if (directory.GetChildCount() == 0) return;
            directory.m_loaded = 1;
        }
    }
    mainFrame->OpenNodeInWindow(&directory);
}
