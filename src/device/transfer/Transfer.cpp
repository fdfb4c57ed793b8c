#include "transfer/Transfer.h"

#include "model/Node.h"
#include "project/Projekt.h"

bool IsTransferContainer(const CNode* node) { return node && node->IsFolder(); }

namespace {
bool IsDeletableType(int type) { return (type >= 7 && type <= 15) || type == NT_DEVICE_LIST; }
}  // namespace

std::vector<CNode*> CollectForModuleDelete(const std::vector<CNode*>& selected)
{
    std::vector<CNode*> out;
    for (CNode* n : selected) {
        if (!n) continue;
        if (IsDeletableType(n->GetType())) {
            out.push_back(n);
        } else if (IsTransferContainer(n)) {
            auto* folder = static_cast<CListNode*>(n);
            if (!folder->m_loaded && !folder->Load()) continue;
            for (CNode* c : folder->m_children)
                if (IsDeletableType(c->GetType())) out.push_back(c);
        }
    }
    return out;
}

CTransferSequence::CTransferSequence(std::vector<CNode*> selected) : m_items(std::move(selected)) {}

CFileList* CTransferSequence::Next()
{
    while (!m_cancelled && m_item < static_cast<int>(m_items.size())) {
        CNode* item = m_items[m_item];
        if (IsTransferContainer(item)) {
            auto* folder = static_cast<CListNode*>(item);
            if (!folder->m_loaded && !folder->Load()) {
                m_loadFailed = true;
                return nullptr;
            }
            if (m_child >= folder->GetChildCount()) {
                ++m_item;
                m_child = 0;
                continue;
            }
            m_inContainer = true;
            if (auto* list = dynamic_cast<CFileList*>(folder->GetChild(m_child))) return list;
            ++m_child;  // a child that is no list file cannot be transferred
            continue;
        }
        m_inContainer = false;
        if (auto* list = dynamic_cast<CFileList*>(item)) return list;
        ++m_item;
    }
    return nullptr;
}

void CTransferSequence::Completed()
{
    if (m_inContainer) {
        ++m_child;
    } else {
        ++m_item;
        m_child = 0;
    }
}

void TakeReadListIntoProject(CProjekt& project, const std::string& fileName)
{
    size_t dot = fileName.find('.');
    project.RefreshAfterOutsideWrite(dot == std::string::npos ? fileName : fileName.substr(0, dot));
}
