#pragma once
#include <string>
#include <vector>

class CNode;
class CListNode;
struct CKennungVerwendung;

// The window side of a node: the project document that shows the node's
// children. The desktop implements it; the core only refreshes and retitles.
class IDocumentLink {
public:
    virtual ~IDocumentLink() = default;
    // Refreshes every view of the document (hint 0 = full refresh).
    virtual void RefreshViews(int hint) = 0;
    virtual void SetTitle(const std::string& title) = 0;
};

// Questions the project tree asks the desktop that need a dialog of their own.
class IProjectUi {
public:
    virtual ~IProjectUi() = default;
    // The where-used dialog: shows the usages under the title; true on OK.
    virtual bool ConfirmDeleteWithUsages(const std::string& title, const std::vector<CKennungVerwendung>& usages) = 0;
};
