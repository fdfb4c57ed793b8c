#pragma once
#include <vector>

class CComm;
class CListNode;
class CMainFrame;
class CNode;
class CInhaltsverzeichnis;

// The lists "Löschen PX920..." deletes for a selection: every selected list
// (node types 7 to 15 and module directory entries) and, for a selected
// folder, its children of those types (the folder is loaded first).
std::vector<CNode*> CollectModuleDeletions(CListNode* shown, const std::vector<int>& selectedRows);

// "Löschen PX920...": asks once, then deletes each list in the module; a
// failure is reported and the next list follows. Entries of the module
// directory that were deleted leave the directory.
void DeleteInModule(CComm& comm, CListNode* shown, const std::vector<int>& selectedRows);

// "Inhaltsverzeichnis PX920...": reads the module's directory unless it is
// shown already, and shows it in a window. A directory read that failed
// half-way still shows what was read (the error has been reported).
void ShowModuleDirectory(CMainFrame* mainFrame, CInhaltsverzeichnis& directory);
