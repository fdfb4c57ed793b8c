#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "model/NodeTypes.h"

class CErrorInfo;
class IDocumentLink;
class IClipboard;
class CProjekt;

// Any node of the project tree.
class CNode {
public:
    CNode(CNode* parent, int imageIndex, std::string name);
    virtual ~CNode();
    CNode(const CNode&) = delete;
    CNode& operator=(const CNode&) = delete;

    virtual int GetType() const = 0;
    // Text of one column of this node as a row in its parent's view.
    virtual std::string GetColumnText(int column) const = 0;
    // Consistency check before saving and before a view closes; every caller passes mode 1.
    virtual bool Validate(CErrorInfo& err, int mode);
    // Ordering among siblings.
    virtual int Compare(const CNode& other) const;
    // Clipboard record: appended to out, exactly GetRecordSize bytes, first u16 the size.
    virtual bool WriteRecord(std::vector<uint8_t>& out) const;
    virtual bool ReadRecord(std::span<const uint8_t> record);
    virtual uint16_t GetRecordSize() const;
    virtual std::string GetPrintLine(int line) const;
    virtual int GetPrintLineCount() const;

    CProjekt* GetRoot() const;
    CNode* GetOwningList();
    bool IsList() const;
    bool IsFolder() const;
    static bool IsListType(int type);
    static bool IsFolderType(int type);
    static bool IsFileListType(int type) { return type >= 6 && type <= 14; }

    int m_valid;
    CNode* m_parent;
    int m_imageIndex;
    std::string m_name;
    int m_modified;
    IDocumentLink* m_document;
};

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

// A list stored as a file of its own in the project directory.
class CFileList : public CListNode {
public:
    CFileList(CNode* parent, std::string fileName);

    virtual std::string GetIdentifier() const;

    std::string GetColumnText(int column) const override;
    std::string GetStatusText(int pane) const override;
    std::string GetClipboardFormatName() const override;
    int Compare(const CNode& other) const override;

    std::string GetBaseName() const;
    std::string GetExtension() const;
    const std::string& GetFileName() const { return m_fileName; }
    // Project directory + file name.
    std::string GetPath() const;
    // New base name (upper-cased) and new list name; saves, renames the file
    // and keeps the composite lists in step.
    bool SetProperties(const std::string& newBaseName, const std::string& newName);
    // After a successful save: file length and date from the disk, parent notified.
    void AfterSave();

protected:
    // Whole-file load for lists that parse their image in one piece: on any
    // error what was read is discarded and the answer is false.
    bool LoadFileImage(const std::function<void(std::span<const uint8_t>)>& parse);
    // Writes an image built in memory; nothing is written when building it
    // fails. Clears m_modified and refreshes length and date on success.
    bool SaveFileImage(const std::function<std::vector<uint8_t>()>& serialize);

public:

    std::string m_fileName;
    std::string m_fileDate;
    int m_fileLength;
    int m_displayConvert;
};

// Ordering helper shared by the list file classes: base names ignoring case
// when both nodes have the same type, else equal.
int CompareBaseNames(const CFileList& a, const CNode& b);
