#include "texts/StandardText.h"

#include "listfile/ByteStream.h"
#include "util/Charset.h"

// ------------------------------------------------------------ CStandardText

CStandardText::CStandardText(CNode* parent, int number)
    : CNode(parent, 11, std::string()), m_number(static_cast<uint16_t>(number))
{
}

std::string CStandardText::GetColumnText(int column) const
{
    switch (column) {
    case 0: return std::to_string(m_number);
    case 1: return ToDisplayCharset(m_text);
    default: return {};
    }
}

int CStandardText::Compare(const CNode& other) const
{
    if (other.GetType() != NT_STANDARD_TEXT) return 0;
    uint16_t o = static_cast<const CStandardText&>(other).m_number;
    return m_number < o ? -1 : (m_number > o ? 1 : 0);
}

void CStandardText::SetText(const std::string& text)
{
    m_text = text;
    m_length = static_cast<uint16_t>(std::min<size_t>(text.size(), 0xFFFF));
}

uint16_t CStandardText::GetRecordSize() const { return static_cast<uint16_t>(m_text.size() + 4); }

bool CStandardText::WriteRecord(std::vector<uint8_t>& out) const
{
    if (m_text.size() + 4 > 0xFFFF) return false;
    uint16_t size = GetRecordSize();
    out.push_back(static_cast<uint8_t>(size & 0xFF));
    out.push_back(static_cast<uint8_t>(size >> 8));
    out.insert(out.end(), m_text.begin(), m_text.end());
    out.push_back(0);
    out.push_back(0);
    return true;
}

bool CStandardText::ReadRecord(std::span<const uint8_t> rec)
{
    if (rec.size() < 3 || GetU16(rec.data()) > rec.size()) return false;
    size_t end = 2;
    while (end < rec.size() && rec[end] != 0) ++end;
    if (end == rec.size()) return false;
    SetText(std::string(reinterpret_cast<const char*>(rec.data() + 2), end - 2));
    return true;
}

