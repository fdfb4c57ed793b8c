#pragma once
#include <functional>
#include <string>

class CNode;
class CFileList;
class CListNode;

// Which list classes the project tree knows. Each kind of list registers a
// factory for its category (or for a fixed list under the root); a kind that
// is not registered is not shown. The factory probes the file and returns
// the node, valid or not; the caller keeps it only when m_valid is set.
using ListFactory = std::function<CFileList*(CListNode* parent, const std::string& fileName)>;

// category: NodeType 1 to 5 of the category.
void RegisterCategoryFactory(int category, ListFactory factory);
const ListFactory* CategoryFactory(int category);

// Fixed lists under the root, by NodeType (7 SDAT, 8 ASYM, 9 FSYM, 10 XTEX)
// together with their fixed base name.
void RegisterFixedListFactory(int nodeType, const std::string& baseName, ListFactory factory);
const ListFactory* FixedListFactory(int nodeType);

// Registers every list kind built into the program. Idempotent.
void RegisterBuiltInListKinds();
