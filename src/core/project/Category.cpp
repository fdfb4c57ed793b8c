#include "project/Category.h"

#include "app/Application.h"
#include "model/DocumentLink.h"
#include "project/ListKinds.h"
#include "project/Projekt.h"
#include "util/ErrorInfo.h"
#include "util/FileSystem.h"
#include "util/Format.h"
#include "util/StringTable.h"
#include "util/Strings.h"
#include "util/UserInteraction.h"

namespace {
struct CategoryInfo {
    int nameId;
    const char* pattern;
};

CategoryInfo InfoOf(int type)
{
    switch (type) {
    case NT_CAT_BILDER: return {63349, "B*"};
    case NT_CAT_TEXTGRUPPEN: return {63350, "T*"};
    case NT_CAT_SCHRITTKETTEN: return {63351, "G*"};
    case NT_CAT_PROTOKOLLE: return {63352, "P@??"};
    default: return {63353, "C*"};
    }
}

TextGroupReferenceFinder& Finder()
{
    static TextGroupReferenceFinder finder;
    return finder;
}
}  // namespace

void SetTextGroupReferenceFinder(TextGroupReferenceFinder finder) { Finder() = std::move(finder); }

const TextGroupReferenceFinder* GetTextGroupReferenceFinder() { return Finder() ? &Finder() : nullptr; }

CCategory::CCategory(CNode* root, int nodeType) : CListNode(root, 1, LoadString(InfoOf(nodeType).nameId)), m_type(nodeType)
{
    m_pattern = InfoOf(nodeType).pattern;
}

std::string CCategory::GetColumnText(int column) const
{
    switch (column) {
    case 0: return m_name;
    case 1: return m_pattern;
    case 3: {
        CProjekt* root = GetRoot();
        return root ? root->GetDate() : std::string();
    }
    case 4: return std::to_string(m_totalLength);
    default: return {};
    }
}

// Categories stand first under the root, in their type order.
int CCategory::Compare(const CNode& other) const
{
    int t = other.GetType();
    if (t >= NT_CAT_BILDER && t <= NT_CAT_OPTIONEN) return m_type - t;
    return -1;
}

bool CCategory::IsCommandEnabled(int command, int s, int first)
{
    bool options = m_type == NT_CAT_OPTIONEN;
    switch (command) {
    case CMD_NEW: return !options;
    case CMD_OPEN:
    case CMD_PROPERTIES: return !options && s == 1;
    case CMD_CLOSE:
    case CMD_CLOSE_PROJECT: return true;
    case CMD_EPROM: return options ? CListNode::IsCommandEnabled(command, s, first) : true;
    case CMD_SAVE:
    case CMD_COPY:
    case CMD_PASTE:
    case CMD_CUT: return false;
    case CMD_DELETE: return !options && s != 0;
    case CMD_DEVICE_DIRECTORY: return options ? true : CListNode::IsCommandEnabled(command, s, first);
    case CMD_PAKDAT:
    case CMD_ROMGEN: return s != 0;
    default: return CListNode::IsCommandEnabled(command, s, first);
    }
}

int CCategory::GetColumnWidth(int column) const
{
    static const int widths[] = {32, 7, 4, 18, 7};
    return column >= 0 && column < 5 ? widths[column] : 0;
}

std::string CCategory::GetColumnHeaders() const { return LoadString(63354); }

void CCategory::RecalcTotalLength()
{
    m_totalLength = 0;
    for (CNode* c : m_children) m_totalLength += static_cast<CFileList*>(c)->m_fileLength;
}

int CCategory::ChildChanged(CNode* child)
{
    RecalcTotalLength();
    return CListNode::ChildChanged(child);
}

void CCategory::Sort()
{
    InsertionSort();
}

CFileList* CCategory::CreateChild(const std::string& fileName)
{
    const ListFactory* factory = CategoryFactory(m_type);
    if (!factory) return nullptr;
    CFileList* node = (*factory)(this, fileName);
    if (!node) return nullptr;
    if (!node->m_valid) {
        delete node;
        return nullptr;
    }
    AddChild(node);
    return node;
}

bool CCategory::Load()
{
    CProjekt* root = GetRoot();
    if (!root) return false;
    DestroyChildren();
    m_totalLength = 0;
    if (CategoryFactory(m_type)) {
        std::string pattern = m_pattern + "." + root->GetExtension();
        for (const fsx::DirEntry& e : fsx::FindFiles(root->GetDirectory(), pattern)) {
            if (e.isDirectory || e.name.size() != 8) continue;
            // Two spellings of one name on a case-sensitive disk: the first one counts.
            if (FindByBaseName(ToUpper(e.name.substr(0, 4)))) continue;
            CreateChild(ToUpper(e.name));
        }
        if (m_type == NT_CAT_OPTIONEN) {
            std::string erst = root->MakeFileName("ERST");
            if (!fsx::FindIgnoreCase(root->GetDirectory(), erst).empty()) CreateChild(ToUpper(erst));
        }
    }
    RecalcTotalLength();
    Sort();
    m_loaded = 1;
    return true;
}

CFileList* CCategory::FindByBaseName(const std::string& baseName) const
{
    for (CNode* c : m_children) {
        auto* f = static_cast<CFileList*>(c);
        if (IEquals(f->GetBaseName(), baseName)) return f;
    }
    return nullptr;
}

void CCategory::RescanFile(const std::string& baseName)
{
    CProjekt* root = GetRoot();
    if (!root) return;
    if (CFileList* existing = FindByBaseName(baseName)) {
        if (existing->m_loaded) return;
        CListNode::DeleteChild(existing);
    }
    std::string fileName = root->MakeFileName(baseName);
    std::string found = fsx::FindIgnoreCase(root->GetDirectory(), fileName);
    if (!found.empty() && found.size() == 8 && !fsx::IsDirectory(root->GetDirectory() + found)) {
        if (CFileList* node = CreateChild(ToUpper(found))) {
            ChildChanged(node);
            return;
        }
    }
    ChildChanged(nullptr);
}

int CCategory::DeleteChild(CNode* node)
{
    int index = IndexOf(node);
    if (index < 0) return 0;
    CProjekt* root = GetRoot();
    auto* list = static_cast<CFileList*>(node);

    if (m_type == NT_CAT_TEXTGRUPPEN && root) {
        CCategory* pictures = root->GetCategory(NT_CAT_BILDER);
        if (pictures && !pictures->m_loaded && !pictures->Load()) {
            CErrorInfo err;
            err.Set(IDS_FILE_ACCESS);
            err.Report(App().Ui());
            return 0;
        }
        bool confirmed = true;
        if (const TextGroupReferenceFinder* finder = GetTextGroupReferenceFinder(); finder && pictures) {
            std::vector<CKennungVerwendung> usages;
            (*finder)(*pictures, list->GetBaseName(), std::string(), usages);
            if (!usages.empty()) {
                std::string title = FormatString(LoadString(63298), {list->GetBaseName()});
                IProjectUi* ui = App().ProjectUi();
                confirmed = ui && ui->ConfirmDeleteWithUsages(title, usages);
            }
            // Pictures the search loaded but no window shows go back to disk.
            for (CNode* c : pictures->m_children) {
                auto* pic = static_cast<CFileList*>(c);
                if (pic->m_loaded && !pic->m_document) {
                    if (pic->m_modified) pic->Save();
                    pic->Unload();
                }
            }
        }
        if (!confirmed) return 0;
    }

    if (root) {
        fsx::RemoveFile(list->GetPath());
        root->RemoveFromAllComposites(list->GetBaseName());
    }
    m_totalLength -= list->m_fileLength;
    return CListNode::DeleteChild(node);
}
