#include "texts/Textliste.h"

#include "app/Application.h"
#include "listfile/ByteStream.h"
#include "texts/TextRecords.h"
#include "texts/Textgruppe.h"
#include "util/Charset.h"
#include "util/ErrorInfo.h"
#include "util/Format.h"
#include "util/StringTable.h"
#include "util/Strings.h"

using namespace textrec;

// ------------------------------------------------------------ CTextliste

CTextliste::CTextliste(CNode* parent) : CListNode(parent, 2, std::string(kTextNameWidth, ' '))
{
    m_loaded = 1;
}

CTextgruppe* CTextliste::GetGroup() const
{
    return m_parent && m_parent->GetType() == NT_TEXTGRUPPE ? static_cast<CTextgruppe*>(m_parent) : nullptr;
}

std::string CTextliste::GetColumnText(int column) const
{
    CTextgruppe* group = GetGroup();
    switch (column) {
    case 0: return ToDisplayCharset(m_name);
    case 1: return "N" + m_identifier;
    case 2: return group ? group->GetExtension() : std::string();
    case 3: return Dec(m_db);
    case 4: return Dec(m_recordLength);
    case 5: return group ? group->m_fileDate : std::string();
    default: return {};
    }
}

int CTextliste::Compare(const CNode& other) const
{
    if (other.GetType() != NT_TEXTLISTE) return 0;
    return ICompare(m_identifier, static_cast<const CTextliste&>(other).m_identifier);
}

bool CTextliste::Validate(CErrorInfo& err, int)
{
    // The first text in list order that shares its address with another one.
    std::vector<std::pair<uint32_t, size_t>> keys;
    keys.reserve(m_children.size());
    for (size_t i = 0; i < m_children.size(); ++i) {
        auto* t = static_cast<CMeldetext*>(m_children[i]);
        keys.emplace_back((static_cast<uint32_t>(t->m_dw) << 8) | t->m_bit, i);
    }
    std::sort(keys.begin(), keys.end());
    size_t first = std::string::npos;
    for (size_t k = 0; k + 1 < keys.size(); ++k) {
        if (keys[k].first == keys[k + 1].first) first = std::min({first, keys[k].second, keys[k + 1].second});
    }
    if (first != std::string::npos) {
        auto* t = static_cast<CMeldetext*>(m_children[first]);
        char addr[32];
        std::snprintf(addr, sizeof addr, "%u.%u", static_cast<unsigned>(t->m_dw), static_cast<unsigned>(t->m_bit));
        err.Set(62095, addr);
        return false;
    }
    // The text count of a DW run is one byte in the file. Only texts with
    // bits beyond 15 (foreign clipboard data) can get here.
    if (LongestRun() > kMaxTextsPerRun) {
        err.Set(62098, "N" + m_identifier);
        return false;
    }
    return true;
}

uint16_t CTextliste::GetRecordSize() const { return static_cast<uint16_t>(m_name.size() + 8); }

// size(2), DB, identifier(3), name NUL-terminated, 1 spare.
bool CTextliste::WriteRecord(std::vector<uint8_t>& out) const
{
    if (m_identifier.size() != 3 || m_name.size() + 8 > 0xFFFF) return false;
    PutU16(out, GetRecordSize());
    out.push_back(m_db);
    out.insert(out.end(), m_identifier.begin(), m_identifier.end());
    out.insert(out.end(), m_name.begin(), m_name.end());
    out.push_back(0);
    out.push_back(0);
    return true;
}

bool CTextliste::ReadRecord(std::span<const uint8_t> rec)
{
    if (rec.size() < 7 || GetU16(rec.data()) > rec.size()) return false;
    size_t end = FindTerminator(rec, 6);
    if (end == std::string::npos) return false;
    m_db = rec[2];
    m_identifier = FixedField(rec.data() + 3, 3);
    // Names are 32 characters wide in the group file whatever the sender held.
    m_name = PadRight(std::string(reinterpret_cast<const char*>(rec.data() + 6), end - 6), kTextNameWidth);
    return true;
}

bool CTextliste::IsCommandEnabled(int command, int s, int first)
{
    switch (command) {
    case CMD_NEW:
    case CMD_CLOSE:
    case CMD_EPROM:
    case CMD_CLOSE_PROJECT: return true;
    case CMD_OPEN:
    case CMD_PROPERTIES: return s == 1;
    case CMD_DELETE:
    case CMD_COPY:
    case CMD_CUT: return s >= 1;
    case CMD_PASTE: return ClipboardHasFormat(App().Clipboard());
    case CMD_SAVE:
    case CMD_DEVICE_LOAD:
    case CMD_DEVICE_READ:
    case CMD_DEVICE_DELETE:
    case CMD_PAKDAT:
    case CMD_ROMGEN:
    case 35: return false;
    default: return CListNode::IsCommandEnabled(command, s, first);
    }
}

int CTextliste::ChildChanged(CNode* child)
{
    UpdateRecordLength();
    int r = CListNode::ChildChanged(child);
    if (CTextgruppe* group = GetGroup()) group->ChildChanged(this);
    return r;
}

void CTextliste::Sort()
{
    InsertionSort();
    Renumber();
}

void CTextliste::Renumber()
{
    int n = 0;
    for (CNode* c : m_children) static_cast<CMeldetext*>(c)->m_lineNumber = ++n;
}

int CTextliste::GetColumnWidth(int column) const
{
    static const int widths[] = {10, 6, 6, 13, 13, 80};
    return column >= 0 && column < 6 ? widths[column] : 0;
}

std::string CTextliste::GetStatusText(int pane) const
{
    CTextgruppe* group = GetGroup();
    switch (pane) {
    case 1:
    case 2: return group ? group->GetStatusText(pane) : std::string();
    case 3: return "N" + m_identifier;
    case 4: return ToDisplayCharset(m_name);
    case 5: return FormatString(LoadString(64235), {static_cast<long>(m_db)});
    default: return CListNode::GetStatusText(pane);
    }
}

CNode* CTextliste::CreateChildFromRecord(int insertAfter, std::span<const uint8_t> record)
{
    auto text = std::make_unique<CMeldetext>(this);
    if (!text->ReadRecord(record)) return nullptr;
    CMeldetext* t = text.release();
    InsertChildAfter(t, insertAfter);
    return t;
}

std::string CTextliste::GetColumnHeaders() const { return LoadString(64016); }

int CTextliste::RunCount() const
{
    int runs = 0;
    for (size_t i = 0; i < m_children.size(); ++i)
        if (i == 0 || static_cast<CMeldetext*>(m_children[i])->m_dw != static_cast<CMeldetext*>(m_children[i - 1])->m_dw)
            ++runs;
    return runs;
}

int CTextliste::LongestRun() const
{
    int longest = 0, current = 0;
    for (size_t i = 0; i < m_children.size(); ++i) {
        bool start =
            i == 0 || static_cast<CMeldetext*>(m_children[i])->m_dw != static_cast<CMeldetext*>(m_children[i - 1])->m_dw;
        current = start ? 1 : current + 1;
        longest = std::max(longest, current);
    }
    return longest;
}

size_t CTextliste::ComputeRecordLength() const
{
    size_t len = 9 + m_name.size() + 3 * static_cast<size_t>(RunCount());
    for (CNode* c : m_children) len += static_cast<CMeldetext*>(c)->FileRecordLength();
    return len;
}

void CTextliste::UpdateRecordLength()
{
    m_recordLength = static_cast<uint16_t>(std::min<size_t>(ComputeRecordLength(), 0xFFFF));
}

