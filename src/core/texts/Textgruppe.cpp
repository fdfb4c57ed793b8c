#include "texts/Textgruppe.h"

#include <algorithm>
#include <cstdio>
#include <memory>

#include "app/Application.h"
#include "listfile/ByteStream.h"
#include "listfile/ListFileBuffer.h"
#include "listfile/ListHeader.h"
#include "model/DocumentLink.h"
#include "project/Category.h"
#include "project/Projekt.h"
#include "util/Charset.h"
#include "util/ErrorInfo.h"
#include "util/FileException.h"
#include "util/FileSystem.h"
#include "util/Format.h"
#include "util/StringTable.h"
#include "util/Strings.h"
#include "util/UserInteraction.h"

namespace {
std::string Dec(long v) { return std::to_string(v); }

// Characters up to the first NUL of a fixed-size field.
std::string FixedField(const uint8_t* p, size_t n)
{
    std::string s;
    for (size_t i = 0; i < n && p[i] != 0; ++i) s += static_cast<char>(p[i]);
    return s;
}

// Index of the NUL that ends a string starting at offset inside the record, or npos.
size_t FindTerminator(std::span<const uint8_t> rec, size_t offset)
{
    for (size_t i = offset; i < rec.size(); ++i)
        if (rec[i] == 0) return i;
    return std::string::npos;
}

void PutU32(std::vector<uint8_t>& out, uint32_t v)
{
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>((v >> (8 * i)) & 0xFF));
}

void PutU16(std::vector<uint8_t>& out, uint16_t v)
{
    out.push_back(static_cast<uint8_t>(v & 0xFF));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

void ReportMessage(int id, int number)
{
    CErrorInfo err;
    err.Set(id, number);
    err.Report(App().Ui());
}
}  // namespace

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

// ------------------------------------------------------------ CTextgruppe

CTextgruppe::CTextgruppe(CNode* parent, const std::string& fileName) : CTextgruppe(parent, fileName, true) {}

CTextgruppe::CTextgruppe(CNode* parent, std::string fileName, bool probe) : CFileList(parent, std::move(fileName))
{
    m_imageIndex = 4;
    m_displayConvert = 1;
    m_name = std::string(kTextNameWidth, ' ');
    if (probe) Probe();
}

CTextgruppe* CTextgruppe::CreateNew(CNode* parent, const std::string& extension)
{
    auto* g = new CTextgruppe(parent, "T." + extension, false);
    g->m_valid = 1;
    g->m_loaded = 1;
    return g;
}

void CTextgruppe::Probe()
{
    m_valid = 0;
    std::string base = GetBaseName();
    if (base.size() != 4) return;
    std::string path = GetPath();
    std::vector<uint8_t> head;
    // Type, length, project (at most 81), identifier, name (at most 81).
    if (!fsx::ReadFileHead(path, 3 + 81 + 3 + 81, head)) return;
    try {
        CByteReader in(head);
        ListHeaderEx h;
        h.Read(in);
        if (h.type != LTC_TEXTGROUP && h.type != LTC_TEXTGROUP_PROTOCOL) return;
        if (!IEquals(h.identifier, base.substr(1))) return;
        m_identifier = h.identifier;
        m_name = h.name;
        m_fileLength = h.length;
        if (auto st = fsx::Stat(path)) m_fileDate = fsx::FormatFileTime(st->mtime);
        m_valid = 1;
    } catch (const CFileException&) {
        m_valid = 0;
    }
}

bool CTextgruppe::Validate(CErrorInfo& err, int mode)
{
    std::string base = GetBaseName();
    if (GetChildCount() > kMaxTextListen) {
        err.Set(62097, base);
        return false;
    }
    if (ComputeTotalLength() > 0xFFFF) {
        err.Set(62098, base);
        return false;
    }
    for (size_t i = 0; i < m_children.size(); ++i) {
        const std::string& id = static_cast<CTextliste*>(m_children[i])->m_identifier;
        for (size_t j = 0; j < m_children.size(); ++j) {
            if (i != j && IEquals(id, static_cast<CTextliste*>(m_children[j])->m_identifier)) {
                err.Set(62099, id);
                return false;
            }
        }
    }
    if (mode != 0) {
        for (CNode* c : m_children) {
            auto* list = static_cast<CTextliste*>(c);
            CErrorInfo listErr;
            if (!list->Validate(listErr, mode)) {
                err.Set(62096, "N" + list->m_identifier);
                return false;
            }
        }
    }
    return true;
}

bool CTextgruppe::IsCommandEnabled(int command, int s, int first)
{
    bool room = GetChildCount() < kMaxTextListen;
    switch (command) {
    case CMD_NEW: return room;
    case CMD_OPEN:
    case CMD_PROPERTIES: return s == 1;
    case CMD_CLOSE:
    case CMD_SAVE:
    case CMD_EPROM:
    case CMD_CLOSE_PROJECT: return true;
    case CMD_DELETE:
    case CMD_COPY:
    case CMD_CUT: return s >= 1;
    case CMD_PASTE: return room && ClipboardHasFormat(App().Clipboard());
    case CMD_DEVICE_LOAD:
    case CMD_DEVICE_READ:
    case CMD_DEVICE_DELETE:
    case CMD_PAKDAT:
    case CMD_ROMGEN:
    case 35: return false;
    default: return CListNode::IsCommandEnabled(command, s, first);
    }
}

int CTextgruppe::DeleteChild(CNode* node)
{
    if (IndexOf(node) < 0) return 0;
    auto* list = static_cast<CTextliste*>(node);
    CProjekt* root = GetRoot();
    CCategory* pictures = root ? root->GetCategory(NT_CAT_BILDER) : nullptr;
    if (pictures && !pictures->m_loaded && !pictures->Load()) {
        ReportMessage(IDS_FILE_ACCESS, 0);
        return 0;
    }
    bool confirmed = true;
    if (const TextGroupReferenceFinder* finder = GetTextGroupReferenceFinder(); finder && pictures) {
        std::vector<CKennungVerwendung> usages;
        (*finder)(*pictures, GetBaseName(), list->m_identifier, usages);
        if (!usages.empty()) {
            std::string title = FormatString(LoadString(63297), {"N" + list->m_identifier});
            IProjectUi* ui = App().ProjectUi();
            confirmed = ui && ui->ConfirmDeleteWithUsages(title, usages);
        }
        // Pictures loaded only for the search go back to disk.
        for (CNode* c : pictures->m_children) {
            auto* pic = static_cast<CFileList*>(c);
            if (pic->m_loaded && !pic->m_modified && !pic->m_document) pic->Unload();
        }
    }
    if (!confirmed) return 0;
    int r = CListNode::DeleteChild(node);
    if (r) m_modified = 1;
    return r;
}

int CTextgruppe::ChildChanged(CNode* child)
{
    m_modified = 1;
    return CListNode::ChildChanged(child);
}

void CTextgruppe::Sort() { InsertionSort(); }

int CTextgruppe::GetColumnWidth(int column) const
{
    static const int widths[] = {32, 7, 4, 7, 7, 18};
    return column >= 0 && column < 6 ? widths[column] : 0;
}

CNode* CTextgruppe::CreateChildFromRecord(int insertAfter, std::span<const uint8_t> record)
{
    if (GetChildCount() >= kMaxTextListen) {
        ReportMessage(62086, kMaxTextListen);
        return nullptr;
    }
    auto list = std::make_unique<CTextliste>(this);
    if (!list->ReadRecord(record)) return nullptr;
    // A record without a full identifier could never be saved: skip it.
    if (list->m_identifier.size() != 3) return nullptr;
    list->UpdateRecordLength();
    CTextliste* l = list.release();
    InsertChildAfter(l, insertAfter);
    return l;
}

std::string CTextgruppe::GetColumnHeaders() const { return LoadString(64015); }

CTextliste* CTextgruppe::FindList(const std::string& identifier) const
{
    for (CNode* c : m_children)
        if (IEquals(static_cast<CTextliste*>(c)->m_identifier, identifier)) return static_cast<CTextliste*>(c);
    return nullptr;
}

uint8_t CTextgruppe::ComputeTypeCode() const
{
    for (CNode* l : m_children)
        for (CNode* t : static_cast<CTextliste*>(l)->m_children)
            if (static_cast<CMeldetext*>(t)->m_protocolNumber != 0) return LTC_TEXTGROUP_PROTOCOL;
    return LTC_TEXTGROUP;
}

size_t CTextgruppe::ComputeTotalLength() const
{
    CProjekt* root = GetRoot();
    size_t len = 9 + (root ? root->m_name.size() : 0) + m_name.size();
    for (CNode* c : m_children) len += static_cast<CTextliste*>(c)->ComputeRecordLength();
    return len;
}

std::vector<uint8_t> CTextgruppe::Serialize() const
{
    if (GetChildCount() > kMaxTextListen) CFileException::ThrowGeneric("too many text lists");
    size_t total = ComputeTotalLength();
    if (total > 0xFFFF) CFileException::ThrowGeneric("text group too long");

    CByteWriter w;
    ListHeaderEx h;
    h.type = ComputeTypeCode();
    h.length = static_cast<uint16_t>(total);
    CProjekt* root = GetRoot();
    h.project = root ? root->m_name : std::string();
    h.identifier = m_identifier;
    h.name = m_name;
    h.Write(w);
    w.WriteU8(static_cast<uint8_t>(m_children.size()));
    for (CNode* c : m_children) {
        auto* list = static_cast<CTextliste*>(c);
        if (list->m_identifier.size() != 3) CFileException::ThrowGeneric("list identifier must have 3 characters");
        if (list->RunCount() > 0xFFFF) CFileException::ThrowGeneric("too many DW runs");
        w.WriteChars(list->m_identifier);
        w.WriteU16(static_cast<uint16_t>(list->ComputeRecordLength()));
        w.WriteShortString(list->m_name);
        w.WriteU8(list->m_db);
        w.WriteU16(static_cast<uint16_t>(list->RunCount()));
        const auto& texts = list->m_children;
        for (size_t i = 0; i < texts.size();) {
            uint16_t dw = static_cast<CMeldetext*>(texts[i])->m_dw;
            size_t j = i;
            while (j < texts.size() && static_cast<CMeldetext*>(texts[j])->m_dw == dw) ++j;
            if (j - i > static_cast<size_t>(kMaxTextsPerRun)) CFileException::ThrowGeneric("more than 255 texts with one DW");
            w.WriteU16(dw);
            w.WriteU8(static_cast<uint8_t>(j - i));
            for (; i < j; ++i) {
                auto* t = static_cast<CMeldetext*>(texts[i]);
                w.WriteU8(t->m_bit);
                w.WriteU8(t->ProtocolByte());
                w.WriteEscapedText(MeldetextToStored(t->m_text));
            }
        }
    }
    // The length field must describe exactly what was written.
    if (w.Size() != total) CFileException::ThrowGeneric("text group length mismatch");
    return std::move(w.Data());
}

void CTextgruppe::ParseFile(std::span<const uint8_t> data)
{
    CByteReader in(data);
    ListHeaderEx h;
    h.Read(in);
    if (h.type != LTC_TEXTGROUP && h.type != LTC_TEXTGROUP_PROTOCOL) CFileException::ThrowGeneric("not a text group");
    std::string base = GetBaseName();
    if (base.size() != 4 || !IEquals(h.identifier, base.substr(1))) CFileException::ThrowGeneric("identifier does not match the file name");
    m_identifier = h.identifier;
    m_name = h.name;

    int count = in.ReadU8();
    for (int i = 0; i < count; ++i) {
        auto* list = new CTextliste(this);
        CListNode::AddChild(list);
        size_t start = in.Position();
        list->m_identifier = in.ReadChars(3);
        uint16_t recordLength = in.ReadU16();
        list->m_name = in.ReadShortString();
        list->m_db = in.ReadU8();
        uint16_t runs = in.ReadU16();
        for (int r = 0; r < runs; ++r) {
            if (in.Position() - start > recordLength) CFileException::ThrowGeneric("text list record overrun");
            uint16_t dw = in.ReadU16();
            int texts = in.ReadU8();
            for (int k = 0; k < texts; ++k) {
                auto* t = new CMeldetext(list);
                list->m_children.push_back(t);
                t->m_dw = dw;
                t->m_bit = in.ReadU8();
                uint8_t protocol = in.ReadU8();
                t->m_protocolNumber = protocol & 0x1F;
                t->m_protocolMode = static_cast<uint8_t>(protocol >> 5);
                t->m_text = UnescapeText(in.ReadEscapedText());
            }
        }
        if (in.Position() - start > recordLength) CFileException::ThrowGeneric("text list record overrun");
        in.Seek(start + recordLength);
        list->Sort();
        list->UpdateRecordLength();
    }
    Sort();
}

bool CTextgruppe::Load()
{
    if (m_loaded) return true;
    return LoadFileImage([this](std::span<const uint8_t> image) { ParseFile(image); });
}

bool CTextgruppe::Save()
{
    // An unloaded group holds none of its lists: writing it would empty the file.
    if (!m_loaded) return false;
    if (!SaveFileImage([this] { return Serialize(); })) return false;
    return true;
}
