#include "project/Projekt.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <clocale>

#include "app/Application.h"
#include "eprom/VerbundListe.h"
#include "listfile/ByteStream.h"
#include "listfile/ListHeader.h"
#include "project/Category.h"
#include "project/ListKinds.h"
#include "util/ErrorInfo.h"
#include "util/FileException.h"
#include "util/FileSystem.h"
#include "util/StringTable.h"
#include "util/Strings.h"
#include "util/UserInteraction.h"

namespace {
// The earlier of creation and last-write time; creation where the file system keeps it.
std::time_t ProjectTime(const std::string& path)
{
    std::time_t t = 0;
    if (auto st = fsx::Stat(path)) t = st->mtime;
#ifdef STATX_BTIME
    struct statx sx {};
    if (::statx(AT_FDCWD, path.c_str(), 0, STATX_BTIME, &sx) == 0 && (sx.stx_mask & STATX_BTIME) &&
        sx.stx_btime.tv_sec > 0 && sx.stx_btime.tv_sec < t)
        t = sx.stx_btime.tv_sec;
#endif
    return t;
}

// Order of the root's children: categories, composites by index, then the fixed lists.
int RootRank(const CNode* n)
{
    int t = n->GetType();
    if (t >= NT_CAT_BILDER && t <= NT_CAT_OPTIONEN) return t;
    if (t == NT_COMPOSITE_LIST) return 10 + static_cast<const CVerbundListe*>(n)->m_index;
    switch (t) {
    case NT_SYSDATA: return 20;
    case NT_FIXED_SYMBOLS: return 21;
    case NT_USER_SYMBOLS: return 22;
    case NT_STANDARD_TEXTS: return 23;
    default: return 30;
    }
}
}  // namespace

CProjekt::CProjekt(const std::string& directory, const std::string& extension)
    : CListNode(nullptr, 0, std::string()), m_directory(fsx::WithSlash(directory)), m_extension(extension)
{
    // List dates follow the user's locale.
    std::setlocale(LC_TIME, "");
    m_valid = 0;
    if (m_directory.empty()) m_directory = "./";
    if (m_extension.empty()) {
        m_extension = "920";
        if (fsx::FindIgnoreCase(m_directory, "SDAT.920").empty()) m_extension = "SYS";
    }
    std::string found = fsx::FindIgnoreCase(m_directory, MakeFileName("SDAT"));
    if (found.empty()) return;
    std::string path = m_directory + found;
    std::vector<uint8_t> head;
    if (!fsx::ReadFileHead(path, 4 + 81, head)) return;
    try {
        CByteReader in(head);
        ListHeader h;
        h.Read(in);
        if (h.type != LTC_SYSDATA) return;
        m_name = h.project;
        m_date = fsx::FormatFileTime(ProjectTime(path));
        m_valid = 1;
    } catch (const CFileException&) {
        m_valid = 0;
    }
}

CProjekt::~CProjekt() { DestroyChildren(); }

std::string CProjekt::GetColumnText(int column) const { return column == 0 ? m_name : std::string(); }

std::string CProjekt::PathOf(const std::string& fileName) const { return fsx::ResolvePath(m_directory, fileName); }

int CProjekt::GetColumnWidth(int column) const
{
    static const int widths[] = {30, 8, 4, 18, 7};
    return column >= 0 && column < 5 ? widths[column] : 0;
}

std::string CProjekt::GetColumnHeaders() const { return LoadString(64007); }

CCategory* CProjekt::GetCategory(int nodeType) const
{
    for (CNode* c : m_children)
        if (c->GetType() == nodeType && nodeType >= NT_CAT_BILDER && nodeType <= NT_CAT_OPTIONEN)
            return static_cast<CCategory*>(c);
    return nullptr;
}

CFileList* CProjekt::GetComposite(int index) const
{
    return index >= 0 && index < 6 ? m_composites[index] : nullptr;
}

CFileList* CProjekt::FindFixedList(int nodeType) const
{
    for (size_t i = 5; i < m_children.size(); ++i)
        if (m_children[i]->GetType() == nodeType) return static_cast<CFileList*>(m_children[i]);
    return nullptr;
}

void CProjekt::Sort()
{
    std::stable_sort(m_children.begin(), m_children.end(),
                     [](const CNode* a, const CNode* b) { return RootRank(a) < RootRank(b); });
}

bool CProjekt::IsCommandEnabled(int command, int s, int first)
{
    CNode* c = GetChild(first);
    int ct = c ? c->GetType() : -1;
    switch (command) {
    case CMD_NEW: return !(FindFixedList(NT_USER_SYMBOLS) && FindFixedList(NT_STANDARD_TEXTS));
    case CMD_OPEN: return s == 1;
    case CMD_CLOSE:
    case CMD_EPROM:
    case CMD_CLOSE_PROJECT: return true;
    case CMD_SAVE:
    case CMD_COPY:
    case CMD_PASTE:
    case CMD_CUT: return false;
    case CMD_DELETE: return s == 1 && (ct == NT_USER_SYMBOLS || ct == NT_FIXED_SYMBOLS || ct == NT_STANDARD_TEXTS);
    case CMD_PROPERTIES: return s == 1 && ct == NT_SYSDATA;
    case CMD_PAKDAT:
    case CMD_ROMGEN: return s != 0;
    case CMD_PRINT: return s != 0 && ct != NT_USER_SYMBOLS && ct != NT_FIXED_SYMBOLS;
    default: return CListNode::IsCommandEnabled(command, s, first);
    }
}

int CProjekt::DeleteChild(CNode* node)
{
    if (IndexOf(node) < 0) return 0;
    int t = node->GetType();
    if (t != NT_USER_SYMBOLS && t != NT_FIXED_SYMBOLS && t != NT_STANDARD_TEXTS) return 0;
    auto* list = static_cast<CFileList*>(node);
    fsx::RemoveFile(list->GetPath());
    RemoveFromAllComposites(list->GetBaseName());
    return CListNode::DeleteChild(node);
}

bool CProjekt::Load()
{
    RegisterBuiltInListKinds();
    DestroyChildren();
    m_composites.fill(nullptr);
    CErrorInfo err;
    IUserInteraction& ui = App().Ui();

    if (fsx::ExistsIgnoreCase(m_directory, "LISA.SYS") && !ConvertContainer("LISA.SYS", LTC_STEPSEQUENCE, 'G', err))
        err.Report(ui);
    if (fsx::ExistsIgnoreCase(m_directory, "PROP.SYS") && !ConvertContainer("PROP.SYS", LTC_PROTOCOL, 'P', err))
        err.Report(ui);

    for (int t = NT_CAT_BILDER; t <= NT_CAT_OPTIONEN; ++t) AddChild(new CCategory(this, t));

    for (int i = 0; i < 6; ++i) {
        auto* composite = new CVerbundListe(this, i);
        if (composite->m_valid) {
            AddChild(composite);
            m_composites[i] = composite;
            composite->Load();
        } else {
            delete composite;
        }
    }

    static const int fixedOrder[] = {NT_SYSDATA, NT_FIXED_SYMBOLS, NT_USER_SYMBOLS, NT_STANDARD_TEXTS};
    static const char* fixedNames[] = {"SDAT", "FSYM", "ASYM", "XTEX"};
    for (int k = 0; k < 4; ++k) {
        const ListFactory* factory = FixedListFactory(fixedOrder[k]);
        if (!factory) continue;
        CFileList* node = (*factory)(this, MakeFileName(fixedNames[k]));
        if (node && node->m_valid) AddChild(node);
        else delete node;
    }

    for (int t = NT_CAT_BILDER; t <= NT_CAT_OPTIONEN; ++t) GetCategory(t)->Load();

    if (fsx::ExistsIgnoreCase(m_directory, "PINHV.SYS") && !ConvertPinhv(err)) err.Report(ui);

    m_loaded = 1;
    return true;
}

// ------------------------------------------------------ composite upkeep

CFileList* CProjekt::EnsureComposite(int index)
{
    if (index < 0 || index > 5) return nullptr;
    if (m_composites[index]) return m_composites[index];
    auto* composite = new CVerbundListe(this, index);
    composite->m_valid = 1;
    composite->m_loaded = 1;
    m_composites[index] = composite;
    AddChild(composite);
    ChildChanged(composite);
    return composite;
}

namespace {
CVerbundListe* AsComposite(CFileList* f) { return static_cast<CVerbundListe*>(f); }

void Finish(CVerbundListe* c)
{
    c->ChildChanged(nullptr);
    c->Save();
}
}  // namespace

bool CProjekt::IsInComposite(int index, const std::string& baseName) const
{
    CFileList* c = GetComposite(index);
    return c && AsComposite(c)->Find(baseName) != nullptr;
}

bool CProjekt::AddToComposite(int index, const std::string& baseName)
{
    return AddAllToComposite(index, {baseName});
}

bool CProjekt::RemoveFromComposite(int index, const std::string& baseName)
{
    return RemoveAllFromComposite(index, {baseName});
}

bool CProjekt::AddAllToComposite(int index, const std::vector<std::string>& names)
{
    auto* c = AsComposite(EnsureComposite(index));
    if (!c) return false;
    bool changed = false, all = true;
    for (const std::string& n : names) {
        if (c->Find(n)) continue;
        if (c->Add(n)) changed = true;
        else all = false;
    }
    if (changed) Finish(c);
    return all;
}

bool CProjekt::RemoveAllFromComposite(int index, const std::vector<std::string>& names)
{
    auto* c = AsComposite(GetComposite(index));
    if (!c) return false;
    bool changed = false;
    for (const std::string& n : names) changed |= c->Remove(n);
    if (changed) Finish(c);
    return changed;
}

void CProjekt::RemoveFromAllComposites(const std::string& baseName)
{
    for (int i = 0; i < 6; ++i) RemoveAllFromComposite(i, {baseName});
}

void CProjekt::RenameInComposites(const std::string& oldBase, const std::string& newBase)
{
    for (int i = 0; i < 6; ++i) {
        auto* c = AsComposite(GetComposite(i));
        if (!c || !c->Find(oldBase)) continue;
        c->Remove(oldBase);
        c->Add(newBase);
        Finish(c);
    }
}

void CProjekt::RefreshAfterOutsideWrite(const std::string& baseNameIn)
{
    std::string baseName = ToUpper(baseNameIn);
    if (baseName == "ASYM" || baseName == "XTEX") {
        int type = baseName == "ASYM" ? NT_USER_SYMBOLS : NT_STANDARD_TEXTS;
        CFileList* existing = FindFixedList(type);
        if (existing && existing->m_loaded) return;
        const ListFactory* factory = FixedListFactory(type);
        if (!factory) return;
        if (existing) CListNode::DeleteChild(existing);
        CFileList* node = (*factory)(this, MakeFileName(baseName));
        if (node && node->m_valid) {
            AddChild(node);
            Sort();
            ChildChanged(node);
        } else {
            delete node;
            ChildChanged(nullptr);
        }
        return;
    }
    int category = 0;
    if (baseName == "ERST") category = NT_CAT_OPTIONEN;
    else if (!baseName.empty()) {
        switch (baseName[0]) {
        case 'B': category = NT_CAT_BILDER; break;
        case 'C': category = NT_CAT_OPTIONEN; break;
        case 'G': category = NT_CAT_SCHRITTKETTEN; break;
        case 'P': category = NT_CAT_PROTOKOLLE; break;
        case 'T': category = NT_CAT_TEXTGRUPPEN; break;
        default: break;
        }
    }
    CCategory* cat = category ? GetCategory(category) : nullptr;
    if (cat && cat->m_loaded) cat->RescanFile(baseName);
}

// ------------------------------------------------- legacy containers

bool CProjekt::ConvertContainer(const std::string& containerName, uint8_t requiredType, char prefix, CErrorInfo& err)
{
    err.Clear();
    std::string path = fsx::ResolvePath(m_directory, containerName);
    std::vector<uint8_t> data;
    if (!fsx::ReadWholeFile(path, data)) {
        err.Set(IDS_FILE_ACCESS);
        return false;
    }
    if (data.size() < 384) {
        err.Set(IDS_INVALID_DATA, containerName);
        return false;
    }
    for (int e = 0; e < 64; ++e) {
        const uint8_t* entry = &data[e * 6];
        std::string identifier(reinterpret_cast<const char*>(entry), 3);
        size_t startBlock = GetU16(entry + 3);
        size_t blocks = entry[5];
        if (startBlock == 0) break;
        size_t offset = startBlock * 128, size = blocks * 128;
        if (offset > data.size() || size > data.size() - offset || size < 3) {
            err.Set(IDS_INVALID_DATA, containerName);
            return false;
        }
        const uint8_t* list = &data[offset];
        uint16_t length = GetU16(list + 1);
        // An identifier with a path character would write outside the project.
        if (list[0] != requiredType || length > size || identifier.find('\0') != std::string::npos ||
            !IsValidNamePart(identifier)) {
            err.Set(IDS_INVALID_DATA, containerName);
            return false;
        }
        std::string outName = std::string(1, prefix) + ToUpper(identifier) + ".SYS";
        if (!fsx::WriteFileAtomic(fsx::ResolvePath(m_directory, outName), list, length)) {
            err.Set(IDS_FILE_ACCESS);
            return false;
        }
    }
    if (!fsx::RemoveFile(path)) {
        err.Set(IDS_FILE_ACCESS);
        return false;
    }
    return true;
}

bool CProjekt::ConvertPinhv(CErrorInfo& err)
{
    err.Clear();
    std::string path = fsx::ResolvePath(m_directory, "PINHV.SYS");
    std::vector<uint8_t> data;
    if (!fsx::ReadWholeFile(path, data)) {
        err.Set(IDS_FILE_ACCESS);
        return false;
    }
    if (data.size() < 847 || data[0] != 0 || GetU16(&data[35]) != 810) {
        err.Set(IDS_INVALID_DATA, std::string("PINHV.SYS"));
        return false;
    }
    std::vector<std::vector<std::string>> tables(8);
    try {
        CByteReader in(data);
        in.Seek(847);
        for (int t = 0; t < 8; ++t) {
            uint16_t n = in.ReadU16();
            for (int r = 0; r < n / 81; ++r) {
                uint8_t record[81];
                in.ReadBytes(record, 81);
                if (r < 2) continue;
                size_t len = std::min<size_t>(record[0], 80);
                std::string text(reinterpret_cast<const char*>(record + 1), len);
                if (text.size() >= 8) tables[t].push_back(text.substr(4, 4));
            }
        }
    } catch (const CFileException&) {
        err.Set(IDS_FILE_ACCESS);
        return false;
    }
    static const int compositeOf[8] = {-1, -1, 3, 4, 5, 0, 1, 2};
    for (int t = 2; t < 8; ++t)
        if (!tables[t].empty()) AddAllToComposite(compositeOf[t], tables[t]);
    if (!fsx::RemoveFile(path)) {
        err.Set(IDS_FILE_ACCESS);
        return false;
    }
    return true;
}

bool TestProject(const std::string& directory, std::string& name)
{
    CProjekt root(directory);
    if (!root.m_valid) {
        name.clear();
        return false;
    }
    name = TrimRight(root.m_name);
    return true;
}
