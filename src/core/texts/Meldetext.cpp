#include "texts/Meldetext.h"

#include "listfile/ByteStream.h"
#include "texts/TextRecords.h"
#include "texts/Textliste.h"
#include "util/Charset.h"

using namespace textrec;

std::string MeldetextToStored(const std::string& editing)
{
    std::string safe = editing;
    for (char& c : safe)
        if (c == ESC || c == 0) c = '?';
    return EscapeText(safe);
}

// ------------------------------------------------------------ CMeldetext

CMeldetext::CMeldetext(CNode* parent) : CNode(parent, 11, std::string()) {}

CTextliste* CMeldetext::GetList() const
{
    return m_parent && m_parent->GetType() == NT_TEXTLISTE ? static_cast<CTextliste*>(m_parent) : nullptr;
}

std::string CMeldetext::GetColumnText(int column) const
{
    switch (column) {
    case 0: return Dec(m_lineNumber);
    case 1: return Dec(m_dw);
    case 2: return Dec(m_bit);
    case 3: return Dec(m_protocolNumber);
    case 4: return Dec(m_protocolMode);
    case 5: return ToDisplayCharset(m_text);
    default: return {};
    }
}

int CMeldetext::Compare(const CNode& other) const
{
    if (other.GetType() != NT_MELDETEXT) return 0;
    const auto& o = static_cast<const CMeldetext&>(other);
    if (m_dw != o.m_dw) return m_dw < o.m_dw ? -1 : 1;
    if (m_bit != o.m_bit) return m_bit < o.m_bit ? -1 : 1;
    return 0;
}

// size(2), 2 unused, line number(4), DW(2), bit, protocol number, protocol
// mode, text NUL-terminated, 2 spare.
uint16_t CMeldetext::GetRecordSize() const { return static_cast<uint16_t>(m_text.size() + 16); }

bool CMeldetext::WriteRecord(std::vector<uint8_t>& out) const
{
    if (m_text.size() + 16 > 0xFFFF) return false;
    PutU16(out, GetRecordSize());
    PutU16(out, 0);
    PutU32(out, static_cast<uint32_t>(m_lineNumber));
    PutU16(out, m_dw);
    out.push_back(m_bit);
    out.push_back(m_protocolNumber);
    out.push_back(m_protocolMode);
    out.insert(out.end(), m_text.begin(), m_text.end());
    out.push_back(0);
    out.push_back(0);
    out.push_back(0);
    return true;
}

bool CMeldetext::ReadRecord(std::span<const uint8_t> rec)
{
    if (rec.size() < 14 || GetU16(rec.data()) > rec.size()) return false;
    size_t end = FindTerminator(rec, 13);
    if (end == std::string::npos) return false;
    const uint8_t* p = rec.data();
    m_lineNumber = static_cast<int>(p[4] | (p[5] << 8) | (p[6] << 16) | (static_cast<uint32_t>(p[7]) << 24));
    m_dw = GetU16(p + 8);
    m_bit = p[10];
    // The file keeps 5 and 3 bits of them; hold no more than can be saved.
    m_protocolNumber = p[11] & 0x1F;
    m_protocolMode = p[12] & 0x07;
    m_text.assign(reinterpret_cast<const char*>(p + 13), end - 13);
    return true;
}

