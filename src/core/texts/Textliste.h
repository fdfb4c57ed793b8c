#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "model/Node.h"
#include "texts/TextLimits.h"

class CTextgruppe;

// A text list: the message texts of one data block. It lives inside its
// group's file, so it is always loaded and never saved on its own.
class CTextliste : public CListNode {
public:
    explicit CTextliste(CNode* parent);

    int GetType() const override { return NT_TEXTLISTE; }
    std::string GetColumnText(int column) const override;
    // Address check: no two texts with the same DW and bit (62095).
    bool Validate(CErrorInfo& err, int mode) override;
    // List identifier, ignoring case.
    int Compare(const CNode& other) const override;
    bool WriteRecord(std::vector<uint8_t>& out) const override;
    bool ReadRecord(std::span<const uint8_t> record) override;
    uint16_t GetRecordSize() const override;

    bool IsCommandEnabled(int command, int selectedCount, int firstSelected) override;
    int ChildChanged(CNode* child) override;
    bool Load() override { return true; }
    bool Save() override { return false; }
    void Unload() override {}
    // DW, then bit (stable), then line numbers 1..n.
    void Sort() override;
    int GetColumnCount() const override { return 6; }
    int GetColumnWidth(int column) const override;
    std::string GetStatusText(int pane) const override;
    std::string GetClipboardFormatName() const override { return "PX920_MELDETEXT"; }
    CNode* CreateChildFromRecord(int insertAfter, std::span<const uint8_t> record) override;
    std::string GetColumnHeaders() const override;

    CTextgruppe* GetGroup() const;
    // Length of this list's record in the group file, from its contents
    // (may exceed 16 bits for a list that cannot be saved).
    size_t ComputeRecordLength() const;
    void UpdateRecordLength();
    // Number of DW runs and the longest run.
    int RunCount() const;
    int LongestRun() const;
    // Renumbers the texts 1..n in their current order.
    void Renumber();

    std::string m_identifier;   // 3 characters, as typed
    uint8_t m_db = 1;
    uint16_t m_recordLength = 0;
};

