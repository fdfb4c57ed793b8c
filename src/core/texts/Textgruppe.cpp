#include "texts/Textgruppe.h"

#include "app/Application.h"
#include "listfile/ByteStream.h"
#include "listfile/ListHeader.h"
#include "model/DocumentLink.h"
#include "project/Category.h"
#include "project/Projekt.h"
#include "texts/TextRecords.h"
#include "util/ErrorInfo.h"
#include "util/FileException.h"
#include "util/FileSystem.h"
#include "util/Format.h"
#include "util/StringTable.h"
#include "util/Strings.h"

using namespace textrec;

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
