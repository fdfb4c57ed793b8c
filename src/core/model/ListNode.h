#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "model/NodeBase.h"

class CErrorInfo;
class IClipboard;

// A node that owns an ordered array of children.
class CListNode : public CNode {
public:
    CListNode(CNode* parent, int imageIndex, std::string name);
    ~CListNode() override;

    virtual bool IsCommandEnabled(int command, int selectedCount, int firstSelected);
    virtual void AddChild(CNode* node);
    virtual int DeleteChild(CNode* node);
    virtual void InsertChildAfter(CNode* node, int index);
    // Re-sorts when child is out of place (or always when child is null) and refreshes the views.
    virtual int ChildChanged(CNode* child);
    virtual bool Load() = 0;
    virtual bool Save();
    virtual void Unload();
    virtual void Sort();
    virtual int GetColumnCount() const = 0;
    virtual int GetColumnWidth(int column) const = 0;
    virtual std::string GetStatusText(int pane) const;
    // Copies the selected rows (indices into m_children, in row order).
    virtual bool CopyToClipboard(IClipboard& clipboard, const std::vector<int>& selectedRows, CErrorInfo& err);
    // Pastes after the first selected row (-1: append); returns the last child created.
    virtual CNode* PasteFromClipboard(IClipboard& clipboard, int firstSelected);
    virtual uint16_t GetNestedRecordSize() const;
    virtual std::string GetClipboardFormatName() const;
    virtual void CollectPrintLists(std::vector<CListNode*>& lists);
    virtual bool HasOwnPrintLayout() const;
    virtual CNode* CreateChildFromRecord(int insertAfter, std::span<const uint8_t> record);
    // Header texts of all columns, separated by line feeds.
    virtual std::string GetColumnHeaders() const = 0;
    // The single-symbol list of a G-symbol, which lives beside the children; null elsewhere.
    virtual CListNode* GetSingleSymbolList();

    int IndexOf(const CNode* child) const;
    std::string GetColumnHeader(int column) const;
    // Whether the clipboard offers this node's format (registers it on first use).
    bool ClipboardHasFormat(const IClipboard& clipboard);
    int GetChildCount() const { return static_cast<int>(m_children.size()); }
    CNode* GetChild(int i) const { return i >= 0 && i < GetChildCount() ? m_children[i] : nullptr; }
    // Removes a child from the array without destroying it; returns it or null.
    CNode* DetachChild(CNode* node);
    // Destroys every child and empties the array.
    void DestroyChildren();
    // The sort of sortable lists: insertion sort by Compare; only "less than"
    // moves an element, so equal elements keep their order.
    void InsertionSort();

    unsigned m_clipFormat;
    std::vector<CNode*> m_children;
    int m_loaded;
};
