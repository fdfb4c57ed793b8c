#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "model/Node.h"
#include "texts/TextLimits.h"

class CTextliste;

// The stored form of a message text: "@" and up to three digits become an
// escape with a 16-bit value. A raw ESC or NUL in the editing form (which
// nothing should let in, but clipboard data is foreign) would swallow the
// bytes after it and tear the record apart, so it is written as '?'.
std::string MeldetextToStored(const std::string& editing);

// One message text of a text list: an address (DW, bit), the logging
// settings and the text in editing form, device character set.
class CMeldetext : public CNode {
public:
    explicit CMeldetext(CNode* parent);

    int GetType() const override { return NT_MELDETEXT; }
    std::string GetColumnText(int column) const override;
    // DW, then bit.
    int Compare(const CNode& other) const override;
    bool WriteRecord(std::vector<uint8_t>& out) const override;
    bool ReadRecord(std::span<const uint8_t> record) override;
    uint16_t GetRecordSize() const override;

    // Bytes this text takes in the group file: bit, protocol byte, stored text, NUL.
    size_t FileRecordLength() const { return 3 + MeldetextToStored(m_text).size(); }
    uint8_t ProtocolByte() const { return static_cast<uint8_t>((m_protocolNumber & 0x1F) | ((m_protocolMode & 0x07) << 5)); }
    CTextliste* GetList() const;

    int m_lineNumber = 0;
    uint16_t m_dw = 1;
    uint8_t m_bit = 0;
    uint8_t m_protocolNumber = 0;  // 5 bits used
    uint8_t m_protocolMode = 0;    // 3 bits used
    std::string m_text;            // editing form ("@005"), device character set
};

