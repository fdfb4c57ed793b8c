#include "model/ListNode.h"

#include "app/Application.h"
#include "listfile/ByteStream.h"
#include "model/Clipboard.h"
#include "model/DocumentLink.h"
#include "project/Projekt.h"
#include "util/ErrorInfo.h"
#include "util/StringTable.h"
#include "util/Strings.h"

// ------------------------------------------------------------ CListNode

CListNode::CListNode(CNode* parent, int imageIndex, std::string name)
    : CNode(parent, imageIndex, std::move(name)), m_clipFormat(0), m_loaded(0)
{
}

CListNode::~CListNode() { DestroyChildren(); }

void CListNode::DestroyChildren()
{
    // Children may look at their parent while they go; detach first.
    std::vector<CNode*> children;
    children.swap(m_children);
    for (CNode* c : children) delete c;
}

bool CListNode::IsCommandEnabled(int command, int selectedCount, int)
{
    CWinPX920App& app = App();
    switch (command) {
    case CMD_DEVICE_LOAD:
    case CMD_DEVICE_READ:
    case CMD_DEVICE_DELETE:
        if (selectedCount == 0) return false;
        [[fallthrough]];
    case CMD_DEVICE_DIRECTORY:
    case CMD_KEYBOARD:
        return app.IsOnline() && !app.IsLinkOpen();
    case CMD_TEVOWIN:
    case CMD_PRINTER_FONT:
    case CMD_PAGE_SETUP:
    case CMD_PRINTER_SETUP:
        return true;
    case CMD_PRINT:
        return selectedCount != 0;
    case CMD_ONLINE_PICTURE:
    case CMD_ONLINE_SYMBOLS:
        return app.IsOnline() && app.IsLink3964R();
    default:
        return false;
    }
}

void CListNode::AddChild(CNode* node) { m_children.push_back(node); }

int CListNode::DeleteChild(CNode* node)
{
    int i = IndexOf(node);
    if (i < 0) return 0;
    m_children.erase(m_children.begin() + i);
    delete node;
    return 1;
}

CNode* CListNode::DetachChild(CNode* node)
{
    int i = IndexOf(node);
    if (i < 0) return nullptr;
    m_children.erase(m_children.begin() + i);
    return node;
}

void CListNode::InsertChildAfter(CNode* node, int index)
{
    if (index < 0 || index >= GetChildCount())
        m_children.push_back(node);
    else
        m_children.insert(m_children.begin() + index + 1, node);
}

int CListNode::ChildChanged(CNode* child)
{
    if (child) {
        int i = IndexOf(child);
        if (i < 0) return -1;
        bool outOfPlace = (i > 0 && child->Compare(*m_children[i - 1]) < 0) ||
                          (i + 1 < GetChildCount() && child->Compare(*m_children[i + 1]) > 0);
        if (outOfPlace) Sort();
    } else {
        Sort();
    }
    if (m_document) m_document->RefreshViews(0);
    return 0;
}

bool CListNode::Save() { return false; }

void CListNode::Unload()
{
    DestroyChildren();
    m_loaded = 0;
    m_modified = 0;
}

void CListNode::Sort() {}

void CListNode::InsertionSort()
{
    for (size_t k = 1; k < m_children.size(); ++k)
        for (size_t j = k; j > 0 && m_children[j]->Compare(*m_children[j - 1]) < 0; --j)
            std::swap(m_children[j], m_children[j - 1]);
}

std::string CListNode::GetStatusText(int pane) const
{
    if (pane == 0) {
        if (CProjekt* root = GetRoot()) return TrimRight(root->m_name);
    }
    return {};
}

uint16_t CListNode::GetNestedRecordSize() const
{
    unsigned size = 2;
    for (CNode* c : m_children) size += c->GetRecordSize();
    return static_cast<uint16_t>(size);
}

std::string CListNode::GetClipboardFormatName() const { return {}; }

void CListNode::CollectPrintLists(std::vector<CListNode*>& lists)
{
    if (GetType() == NT_USER_SYMBOLS) return;
    if (!m_loaded) Load();
    if (!m_children.empty()) lists.push_back(this);
    for (CNode* c : m_children) {
        if (!c->IsList()) continue;
        auto* ln = static_cast<CListNode*>(c);
        ln->CollectPrintLists(lists);
        if (c->GetType() == NT_GSYMBOL) {
            // The G-symbol's single-symbol list is the one child kept outside m_children.
            if (CListNode* singles = ln->GetSingleSymbolList()) singles->CollectPrintLists(lists);
        }
    }
}

CListNode* CListNode::GetSingleSymbolList() { return nullptr; }

bool CListNode::HasOwnPrintLayout() const { return false; }

CNode* CListNode::CreateChildFromRecord(int, std::span<const uint8_t>) { return nullptr; }

int CListNode::IndexOf(const CNode* child) const
{
    if (!child) return -1;
    for (size_t i = 0; i < m_children.size(); ++i)
        if (m_children[i] == child) return static_cast<int>(i);
    return -1;
}

std::string CListNode::GetColumnHeader(int column) const
{
    std::string all = GetColumnHeaders();
    size_t start = 0;
    for (int i = 0; i < column; ++i) {
        size_t nl = all.find('\n', start);
        if (nl == std::string::npos) return {};
        start = nl + 1;
    }
    size_t end = all.find('\n', start);
    return all.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

bool CListNode::ClipboardHasFormat(const IClipboard& clipboard)
{
    std::string name = GetClipboardFormatName();
    if (name.empty()) return false;
    m_clipFormat = RegisterClipboardFormat(name);
    return clipboard.HasFormat(name);
}

// The clipboard block: u16 count; per entry the record, then the nested size
// (0 for a child without children of its own) and the nested block.
bool CListNode::CopyToClipboard(IClipboard& clipboard, const std::vector<int>& selectedRows, CErrorInfo& err)
{
    std::string name = GetClipboardFormatName();
    if (name.empty()) return false;
    m_clipFormat = RegisterClipboardFormat(name);
    if (selectedRows.empty() || m_children.empty()) return false;

    size_t total = 2;
    for (int row : selectedRows) {
        CNode* c = GetChild(row);
        if (!c) return false;
        total += c->GetRecordSize() + 2u;
        if (c->IsList()) total += static_cast<const CListNode*>(c)->GetNestedRecordSize();
    }
    if (total >= 65536) {
        err.Set(IDS_CLIPBOARD_TOO_BIG, 65535);
        return false;
    }

    std::vector<uint8_t> block;
    block.reserve(total);
    CByteWriter w;
    w.WriteU16(static_cast<uint16_t>(selectedRows.size()));
    block = std::move(w.Data());
    for (int row : selectedRows) {
        CNode* c = GetChild(row);
        size_t before = block.size();
        if (!c->WriteRecord(block) || block.size() - before != c->GetRecordSize()) return false;
        if (c->IsList()) {
            auto* ln = static_cast<CListNode*>(c);
            uint16_t nested = ln->GetNestedRecordSize();
            block.push_back(static_cast<uint8_t>(nested & 0xFF));
            block.push_back(static_cast<uint8_t>(nested >> 8));
            uint16_t n = static_cast<uint16_t>(ln->GetChildCount());
            block.push_back(static_cast<uint8_t>(n & 0xFF));
            block.push_back(static_cast<uint8_t>(n >> 8));
            for (CNode* gc : ln->m_children) {
                size_t b2 = block.size();
                if (!gc->WriteRecord(block) || block.size() - b2 != gc->GetRecordSize()) return false;
            }
        } else {
            block.push_back(0);
            block.push_back(0);
        }
    }
    if (block.size() != total) return false;
    return clipboard.SetData(name, block);
}

CNode* CListNode::PasteFromClipboard(IClipboard& clipboard, int firstSelected)
{
    std::string name = GetClipboardFormatName();
    if (name.empty()) return nullptr;
    m_clipFormat = RegisterClipboardFormat(name);
    std::vector<uint8_t> block;
    if (!clipboard.GetData(name, block)) return nullptr;

    // The block may come from another program: every step is bounds-checked,
    // and a damaged block ends the paste after the entries read so far.
    CNode* last = nullptr;
    try {
        CByteReader in(block);
        uint16_t count = in.ReadU16();
        for (int i = 0; i < count; ++i) {
            size_t start = in.Position();
            uint16_t size = in.ReadU16();
            if (size < 2) break;
            in.Seek(start);
            CByteReader recReader = in.Sub(size);
            int index = firstSelected < 0 ? -1 : firstSelected + i;
            CNode* child = CreateChildFromRecord(index, recReader.Data());
            last = child;
            uint16_t nestedSize = in.ReadU16();
            if (nestedSize == 0) continue;
            CByteReader nested = in.Sub(nestedSize);
            if (!child || !child->IsList()) continue;
            auto* ln = static_cast<CListNode*>(child);
            uint16_t n = nested.ReadU16();
            for (int j = 0; j < n; ++j) {
                size_t s2 = nested.Position();
                uint16_t rs = nested.ReadU16();
                if (rs < 2) break;
                nested.Seek(s2);
                CByteReader r2 = nested.Sub(rs);
                ln->CreateChildFromRecord(j - 1, r2.Data());
            }
            ln->ChildChanged(nullptr);
        }
    } catch (const std::exception&) {
        // A truncated block: keep what was pasted.
    }
    ChildChanged(nullptr);
    return last;
}

