#include "texts/StandardTextListe.h"

#include "app/Application.h"
#include "listfile/ByteStream.h"
#include "listfile/ListHeader.h"
#include "project/Projekt.h"
#include "util/ErrorInfo.h"
#include "util/FileException.h"
#include "util/FileSystem.h"
#include "util/StringTable.h"

// ------------------------------------------------------------ CStandardTextListe

CStandardTextListe::CStandardTextListe(CNode* parent, const std::string& fileName) : CFileList(parent, fileName)
{
    m_imageIndex = 10;
    m_name = LoadString(63257);
    m_valid = 0;
    std::string path = GetPath();
    std::vector<uint8_t> head;
    if (!fsx::ReadFileHead(path, 3 + 81, head)) return;
    try {
        CByteReader in(head);
        ListHeader h;
        h.Read(in);
        if (h.type != LTC_STANDARD_TEXTS) return;
        m_fileLength = h.length;
        if (auto st = fsx::Stat(path)) m_fileDate = fsx::FormatFileTime(st->mtime);
        m_valid = 1;
    } catch (const CFileException&) {
        m_valid = 0;
    }
}

std::string CStandardTextListe::GetColumnText(int column) const { return CFileList::GetColumnText(column); }

bool CStandardTextListe::Validate(CErrorInfo& err, int)
{
    if (ComputeTotalLength() >= 0x10000) {
        err.Set(62098, GetBaseName());
        return false;
    }
    return true;
}

bool CStandardTextListe::IsCommandEnabled(int command, int s, int first)
{
    bool room = GetChildCount() < kMaxStandardTexts;
    switch (command) {
    case CMD_NEW: return room;
    case CMD_OPEN:
    case CMD_PROPERTIES: return s == 1;
    case CMD_CLOSE:
    case CMD_SAVE:
    case CMD_CLOSE_PROJECT: return true;
    case CMD_DELETE:
    case CMD_COPY:
    case CMD_CUT: return s > 0;
    case CMD_PASTE: return room && ClipboardHasFormat(App().Clipboard());
    case CMD_DEVICE_LOAD:
    case CMD_DEVICE_READ:
    case CMD_DEVICE_DELETE:
    case CMD_EPROM:
    case CMD_PAKDAT:
    case CMD_ROMGEN:
    case 35: return false;
    default: return CListNode::IsCommandEnabled(command, s, first);
    }
}

bool CStandardTextListe::RefuseWhenFull(CNode* node)
{
    if (GetChildCount() < kMaxStandardTexts) return false;
    CErrorInfo err;
    err.Set(62086, kMaxStandardTexts);
    err.Report(App().Ui());
    delete node;
    return true;
}

void CStandardTextListe::AddChild(CNode* node)
{
    if (RefuseWhenFull(node)) return;
    CListNode::AddChild(node);
    Renumber();
}

void CStandardTextListe::InsertChildAfter(CNode* node, int index)
{
    if (RefuseWhenFull(node)) return;
    CListNode::InsertChildAfter(node, index);
    Renumber();
}

int CStandardTextListe::DeleteChild(CNode* node)
{
    int r = CListNode::DeleteChild(node);
    if (r) {
        Renumber();
        m_modified = 1;
    }
    return r;
}

int CStandardTextListe::ChildChanged(CNode* child)
{
    m_modified = 1;
    return CListNode::ChildChanged(child);
}

void CStandardTextListe::Sort()
{
    InsertionSort();
}

void CStandardTextListe::Renumber()
{
    uint16_t n = 0;
    for (CNode* c : m_children) static_cast<CStandardText*>(c)->m_number = ++n;
}

int CStandardTextListe::GetColumnWidth(int column) const
{
    static const int widths[] = {7, 50};
    return column >= 0 && column < 2 ? widths[column] : 0;
}

CNode* CStandardTextListe::CreateChildFromRecord(int insertAfter, std::span<const uint8_t> record)
{
    if (GetChildCount() >= kMaxStandardTexts) {
        CErrorInfo err;
        err.Set(62086, kMaxStandardTexts);
        err.Report(App().Ui());
        return nullptr;
    }
    auto* text = new CStandardText(this);
    if (!text->ReadRecord(record)) {
        delete text;
        return nullptr;
    }
    InsertChildAfter(text, insertAfter);
    return text;
}

std::string CStandardTextListe::GetColumnHeaders() const { return LoadString(64018); }

size_t CStandardTextListe::ComputeTotalLength() const
{
    CProjekt* root = GetRoot();
    size_t len = 6 + (root ? root->m_name.size() : 0) + 2 * m_children.size();
    for (CNode* c : m_children) len += static_cast<CStandardText*>(c)->m_text.size();
    return len;
}

std::vector<uint8_t> CStandardTextListe::Serialize() const
{
    size_t total = ComputeTotalLength();
    if (total > 0xFFFF) CFileException::ThrowGeneric("standard text list too long");
    CByteWriter w;
    ListHeader h;
    h.type = LTC_STANDARD_TEXTS;
    h.length = static_cast<uint16_t>(total);
    CProjekt* root = GetRoot();
    h.project = root ? root->m_name : std::string();
    h.Write(w);
    w.WriteU16(static_cast<uint16_t>(m_children.size()));
    size_t end = 0;
    for (CNode* c : m_children) {
        end += static_cast<CStandardText*>(c)->m_text.size();
        w.WriteU16(static_cast<uint16_t>(end));
    }
    for (CNode* c : m_children) w.WriteChars(static_cast<CStandardText*>(c)->m_text);
    if (w.Size() != total) CFileException::ThrowGeneric("standard text list length mismatch");
    return std::move(w.Data());
}

void CStandardTextListe::ParseFile(std::span<const uint8_t> data)
{
    CByteReader in(data);
    ListHeader h;
    h.Read(in);
    if (h.type != LTC_STANDARD_TEXTS) CFileException::ThrowGeneric("not a standard text list");
    uint16_t count = in.ReadU16();
    std::vector<uint16_t> ends(count);
    for (auto& e : ends) e = in.ReadU16();
    size_t textStart = in.Position();
    uint16_t previous = 0;
    for (uint16_t i = 0; i < count; ++i) {
        // End offsets never go backwards; a smaller one marks a damaged file.
        if (ends[i] < previous) CFileException::ThrowGeneric("standard text offsets out of order");
        in.Seek(textStart + previous);
        auto* t = new CStandardText(this, i + 1);
        m_children.push_back(t);
        t->SetText(in.ReadChars(ends[i] - previous));
        previous = ends[i];
    }
}

bool CStandardTextListe::Load()
{
    if (m_loaded) return true;
    return LoadFileImage([this](std::span<const uint8_t> image) { ParseFile(image); });
}

bool CStandardTextListe::Save()
{
    // An unloaded list holds none of its texts: writing it would empty the file.
    if (!m_loaded) return false;
    if (!SaveFileImage([this] { return Serialize(); })) return false;
    // The composite lists that name this list show its new date and length.
    if (CProjekt* root = GetRoot()) root->RenameInComposites(GetBaseName(), GetBaseName());
    return true;
}
