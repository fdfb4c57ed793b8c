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
