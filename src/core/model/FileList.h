#pragma once
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "model/ListNode.h"

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
