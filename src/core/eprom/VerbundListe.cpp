#include "eprom/VerbundListe.h"

#include "app/Application.h"
#include "listfile/ListFileBuffer.h"
#include "project/Projekt.h"
#include "util/ErrorInfo.h"
#include "util/FileException.h"
#include "util/FileSystem.h"
#include "util/Format.h"
#include "util/StringTable.h"
#include "util/Strings.h"

// --------------------------------------------------------- CVerbundListe

std::string CVerbundListe::BaseNameOf(int index)
{
    static const char* names[] = {"LDAT1", "LDAT2", "LDAT3", "ROMGEN1", "ROMGEN2", "ROMGEN3"};
    return index >= 0 && index < 6 ? names[index] : std::string();
}

CVerbundListe::CVerbundListe(CListNode* root, int index) : CFileList(root, std::string()), m_index(index)
{
    CProjekt* project = GetRoot();
    m_fileName = project ? project->MakeFileName(BaseNameOf(index)) : BaseNameOf(index);
    m_name = LoadString(63223 + index);
    m_valid = 0;
    if (project) {
        std::string found = fsx::FindIgnoreCase(project->GetDirectory(), m_fileName);
        if (!found.empty() && fsx::IsRegularFile(project->GetDirectory() + found)) {
            m_valid = 1;
            if (auto st = fsx::Stat(project->GetDirectory() + found)) m_fileDate = fsx::FormatFileTime(st->mtime);
        }
    }
}

CVerbundEintrag* CVerbundListe::Find(const std::string& baseName) const
{
    for (CNode* c : m_children) {
        auto* e = static_cast<CVerbundEintrag*>(c);
        if (IEquals(e->GetBaseName(), baseName)) return e;
    }
    return nullptr;
}

bool CVerbundListe::Add(const std::string& baseName)
{
    if (Find(baseName)) return true;
    CProjekt* root = GetRoot();
    if (!root || baseName.empty() || !IsValidNamePart(baseName)) return false;
    auto* e = new CVerbundEintrag(this, root->MakeFileName(ToUpper(baseName)));
    if (!e->m_valid) {
        delete e;
        return false;
    }
    AddChild(e);
    m_modified = 1;
    return true;
}

bool CVerbundListe::Remove(const std::string& baseName)
{
    CVerbundEintrag* e = Find(baseName);
    if (!e) return false;
    DeleteChild(e);
    m_modified = 1;
    return true;
}

int CVerbundListe::TotalLength() const
{
    int total = 0;
    for (CNode* c : m_children) total += static_cast<CFileList*>(c)->m_fileLength;
    return total;
}

int CVerbundListe::Compare(const CNode& other) const
{
    int t = other.GetType();
    if (t == NT_COMPOSITE_LIST) return m_index - static_cast<const CVerbundListe&>(other).m_index;
    if (t >= NT_SYSDATA && t <= NT_STANDARD_TEXTS) return -1;
    return 1;
}

bool CVerbundListe::IsCommandEnabled(int command, int s, int first)
{
    switch (command) {
    case CMD_CLOSE:
    case CMD_SAVE:
    case CMD_CLOSE_PROJECT: return true;
    case CMD_DELETE:
    case CMD_COPY:
    case CMD_CUT: return s > 0;
    case CMD_PASTE: return ClipboardHasFormat(App().Clipboard());
    case CMD_NEW:
    case CMD_OPEN:
    case CMD_PROPERTIES:
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

int CVerbundListe::DeleteChild(CNode* node)
{
    if (IndexOf(node) < 0) return 0;
    m_fileLength = TotalLength() - static_cast<CFileList*>(node)->m_fileLength;
    return CListNode::DeleteChild(node);
}

int CVerbundListe::ChildChanged(CNode* child)
{
    if (!child) m_modified = 1;
    m_fileLength = TotalLength();
    int r = CListNode::ChildChanged(child);
    if (m_parent && m_parent->IsList()) static_cast<CListNode*>(m_parent)->ChildChanged(this);
    return r;
}

void CVerbundListe::Sort()
{
    InsertionSort();
}

bool CVerbundListe::Load()
{
    CProjekt* root = GetRoot();
    if (!root) return false;
    try {
        CListFileBuffer buffer(GetPath(), CListFileBuffer::modeRead);
        const std::vector<uint8_t>& data = buffer.Bytes();
        DestroyChildren();
        size_t n = data.size() / 4;
        for (size_t i = 0; i < n; ++i) {
            std::string base(reinterpret_cast<const char*>(&data[i * 4]), 4);
            // A base name with a path character could point outside the project: drop it.
            auto* e = IsValidNamePart(base) ? new CVerbundEintrag(this, root->MakeFileName(ToUpper(base))) : nullptr;
            if (e && e->m_valid) {
                AddChild(e);
            } else {
                delete e;
                m_modified = 1;
            }
        }
        m_fileLength = TotalLength();
        Sort();
        m_loaded = 1;
    } catch (const CFileException&) {
        return false;
    }
    if (m_loaded && m_modified) Save();
    return m_loaded != 0;
}

bool CVerbundListe::Save()
{
    try {
        CListFileBuffer buffer(GetPath(), CListFileBuffer::modeWrite);
        for (CNode* c : m_children) {
            std::string base = static_cast<CFileList*>(c)->GetBaseName();
            if (base.size() != 4) CFileException::ThrowGeneric("composite entry name must have 4 characters");
            buffer.Writer().WriteChars(base);
        }
        buffer.Close();
    } catch (const CFileException&) {
        return false;
    }
    m_modified = 0;
    m_valid = 1;
    if (auto st = fsx::Stat(GetPath())) m_fileDate = fsx::FormatFileTime(st->mtime);
    if (m_parent && m_parent->IsList()) static_cast<CListNode*>(m_parent)->ChildChanged(this);
    return true;
}

int CVerbundListe::GetColumnWidth(int column) const
{
    static const int widths[] = {7, 4, 30, 2, 18, 7};
    return column >= 0 && column < 6 ? widths[column] : 1;
}

std::string CVerbundListe::GetStatusText(int pane) const
{
    if (pane == 3) return FormatString(LoadString(64236), {static_cast<long>(TotalLength())});
    if (pane == 1 || pane == 2 || pane == 0) return CFileList::GetStatusText(pane);
    return {};
}

CNode* CVerbundListe::CreateChildFromRecord(int, std::span<const uint8_t> record)
{
    if (record.size() < 3) return nullptr;
    std::string base;
    for (size_t i = 2; i < record.size() && record[i] != 0; ++i) base += static_cast<char>(record[i]);
    CErrorInfo err;
    if (Find(base)) {
        err.Set(62101, base);
        err.Report(App().Ui());
        return nullptr;
    }
    CProjekt* root = GetRoot();
    CVerbundEintrag* e = nullptr;
    if (root && base.size() == 4 && IsValidNamePart(base)) e = new CVerbundEintrag(this, root->MakeFileName(ToUpper(base)));
    if (!e || !e->m_valid) {
        delete e;
        err.Set(62100, base);
        err.Report(App().Ui());
        return nullptr;
    }
    AddChild(e);
    m_modified = 1;
    return e;
}

std::string CVerbundListe::GetColumnHeaders() const { return LoadString(64006); }
