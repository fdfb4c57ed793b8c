#include "model/NodeBase.h"

#include "project/Projekt.h"

// ---------------------------------------------------------------- CNode

CNode::CNode(CNode* parent, int imageIndex, std::string name)
    : m_valid(1), m_parent(parent), m_imageIndex(imageIndex), m_name(std::move(name)), m_modified(0), m_document(nullptr)
{
}

CNode::~CNode() = default;

bool CNode::Validate(CErrorInfo&, int) { return true; }
int CNode::Compare(const CNode&) const { return 0; }
bool CNode::WriteRecord(std::vector<uint8_t>&) const { return false; }
bool CNode::ReadRecord(std::span<const uint8_t>) { return false; }
uint16_t CNode::GetRecordSize() const { return 0; }
std::string CNode::GetPrintLine(int) const { return {}; }
int CNode::GetPrintLineCount() const { return 0; }

CProjekt* CNode::GetRoot() const
{
    const CNode* n = this;
    while (n->m_parent) n = n->m_parent;
    if (n->GetType() != NT_PROJEKT) return nullptr;
    return static_cast<CProjekt*>(const_cast<CNode*>(n));
}

CNode* CNode::GetOwningList()
{
    for (CNode* n = this; n; n = n->m_parent)
        if (IsFileListType(n->GetType())) return n;
    return nullptr;
}

bool CNode::IsListType(int t)
{
    return (t >= 0 && t <= 6) || (t >= 8 && t <= 14) || (t >= 17 && t <= 23) || (t >= 29 && t <= 31) || t == 40 ||
           t == 48 || t == 49;
}

bool CNode::IsFolderType(int t) { return (t >= 1 && t <= 6) || t == 49; }

bool CNode::IsList() const { return IsListType(GetType()); }
bool CNode::IsFolder() const { return IsFolderType(GetType()); }

