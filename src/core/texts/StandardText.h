#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "model/Node.h"

// Most entries of the standard text list and the longest standard text.
constexpr int kMaxStandardTexts = 255;
constexpr size_t kMaxStandardTextLength = 75;

// One numbered standard text; other texts embed it as "@" + its number.
class CStandardText : public CNode {
public:
    explicit CStandardText(CNode* parent, int number = 0);

    int GetType() const override { return NT_STANDARD_TEXT; }
    std::string GetColumnText(int column) const override;
    // By number.
    int Compare(const CNode& other) const override;
    // size(2), text NUL-terminated, 1 spare.
    bool WriteRecord(std::vector<uint8_t>& out) const override;
    bool ReadRecord(std::span<const uint8_t> record) override;
    uint16_t GetRecordSize() const override;

    // Stores a text (device character set) and its length.
    void SetText(const std::string& text);

    uint16_t m_number;
    std::string m_text;
    uint16_t m_length = 0;
};
