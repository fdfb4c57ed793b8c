#pragma once
#include <functional>
#include <vector>

class QWidget;
class CNode;
class CListNode;

// The list view knows no node class. The dialogs that create and edit the
// entries of a list kind plug in here, so that a new kind of list needs no
// change to the view: "Neu" in the window of a list of a given type, and
// "Eigenschaften" (or "Öffnen" on an entry that is not a list) on a selected
// node of a given type.
struct NodeCommandContext {
    QWidget* parent;                 // the view; parent of any dialog
    CListNode* list;                 // the node the window shows
    std::vector<int> selectedRows;   // selected rows in row order (indices into list->m_children)
};

using NodeCommandHandler = std::function<void(const NodeCommandContext&)>;

// "Neu" in the view of a list of that type. The handler creates the child,
// runs its dialog and adds it on OK (or destroys it on Cancel); the view then
// selects whichever child is new and re-sizes its frame.
void RegisterNewHandler(int listNodeType, NodeCommandHandler h);
// "Eigenschaften" on a selected node of that type (the first selected row).
void RegisterPropertiesHandler(int nodeType, NodeCommandHandler h);

// Null when no handler is registered for the type.
const NodeCommandHandler* FindNewHandler(int listNodeType);
const NodeCommandHandler* FindPropertiesHandler(int nodeType);

// The commands of the project window that belong to other parts of the
// program (module transfers 7 to 10, operator keyboard 11, EPROM 13, the
// composite editors 14 and 15, printing 21, online picture 50 and 51) stay
// disabled until their part registers a handler for the command code. The
// node's IsCommandEnabled still decides as for every command.
void RegisterCommandHandler(int commandCode, NodeCommandHandler h);
const NodeCommandHandler* FindCommandHandler(int commandCode);

// Columns whose text the list view must never shorten with "..", asked per
// row for lists of the given type (the V-field list keeps column 5 of some
// field kinds whole).
using UnshortenedColumnRule = std::function<bool(const CNode& child, int column)>;
void RegisterUnshortenedColumn(int listNodeType, UnshortenedColumnRule rule);
bool IsColumnUnshortened(int listNodeType, const CNode& child, int column);

// Registers the handlers of every list kind built into the program (see
// UiRegistration.cpp). Idempotent.
void RegisterUiHandlers();
