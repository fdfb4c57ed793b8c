#pragma once
#include <string>

#include "model/Node.h"

// The lists of one kind in the module ("B*", "T*", "G*", "P*", "C*").
class CVerzeichnisAbschnitt : public CListNode {
public:
    CVerzeichnisAbschnitt(CNode* parent, std::string selector, int categoryTextId, std::string extension);

    int GetType() const override { return NT_DEVICE_FOLDER; }
    std::string GetColumnText(int column) const override;
    bool IsCommandEnabled(int command, int selectedCount, int firstSelected) override;
    // A section is filled by reading the directory; on its own it only
    // answers whether that succeeded.
    bool Load() override { return m_loaded != 0; }
    int GetColumnCount() const override { return 5; }
    int GetColumnWidth(int column) const override;
    std::string GetColumnHeaders() const override;

    const std::string& Selector() const { return m_selector; }
    const std::string& Extension() const { return m_extension; }
    const std::string& CategoryText() const { return m_categoryText; }
    int TotalLength() const;

    std::string m_title;

private:
    std::string m_selector;
    std::string m_categoryText;
    std::string m_extension;
};
