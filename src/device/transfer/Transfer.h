#pragma once
#include <string>
#include <vector>

class CNode;
class CFileList;
class CListNode;
class CProjekt;

// Containers a transfer expands into their lists: the category folders, the
// composite lists and the sections of the module directory.
bool IsTransferContainer(const CNode* node);

// The lists "Löschen PX920..." works on: every selected node of type 7 to
// 15 or 50, and of every selected container (loaded first) its children of
// those types, in selection order.
std::vector<CNode*> CollectForModuleDelete(const std::vector<CNode*>& selected);

// The order in which the transfer dialog loads or reads the selected items:
// item after item, a container child after child (loaded first; an empty
// one is skipped without any telegram). Works by index so that a list read
// into the project (which may replace the node) does not disturb the walk.
class CTransferSequence {
public:
    explicit CTransferSequence(std::vector<CNode*> selected);

    // The next list to transfer, or null when all are done or cancelled.
    // A container that cannot be loaded ends the walk (LoadFailed() is set).
    CFileList* Next();
    // The list returned by Next has been transferred.
    void Completed();
    void Cancel() { m_cancelled = true; }
    bool LoadFailed() const { return m_loadFailed; }
    // The item (selected node) the current list belongs to.
    int ItemIndex() const { return m_item; }

private:
    std::vector<CNode*> m_items;
    int m_item = 0;
    int m_child = 0;
    bool m_inContainer = false;
    bool m_cancelled = false;
    bool m_loadFailed = false;
};

// A list read from the module into the project directory becomes part of
// the project tree (its node is created or refreshed).
void TakeReadListIntoProject(CProjekt& project, const std::string& fileName);
