#pragma once
#include <string>

#include "model/Node.h"

// One member of a composite list: a list file of the project named by its base name.
class CVerbundEintrag : public CFileList {
public:
    CVerbundEintrag(CListNode* composite, const std::string& fileName);

    int GetType() const override { return NT_COMPOSITE_ENTRY; }
    std::string GetColumnText(int column) const override;
    int Compare(const CNode& other) const override;
    bool WriteRecord(std::vector<uint8_t>& out) const override;
    bool ReadRecord(std::span<const uint8_t>) override { return false; }
    uint16_t GetRecordSize() const override;
    bool Load() override { return false; }
    int GetColumnCount() const override { return 0; }
    int GetColumnWidth(int) const override { return 0; }
    std::string GetColumnHeaders() const override { return {}; }
};
