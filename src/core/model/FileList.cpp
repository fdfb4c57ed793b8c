#include "model/FileList.h"

#include "listfile/ListFileBuffer.h"
#include "model/DocumentLink.h"
#include "project/Projekt.h"
#include "util/Charset.h"
#include "util/FileSystem.h"
#include "util/Strings.h"

// ------------------------------------------------------------ CFileList

CFileList::CFileList(CNode* parent, std::string fileName)
    : CListNode(parent, 2, std::string()), m_fileName(std::move(fileName)), m_fileLength(0), m_displayConvert(0)
{
}

std::string CFileList::GetIdentifier() const { return {}; }

std::string CFileList::GetColumnText(int column) const
{
    switch (column) {
    case 0:
        return m_displayConvert ? ToDisplayCharset(m_name) : m_name;
    case 1: {
        std::string base = GetBaseName();
        std::string id = GetIdentifier();
        if (id.size() <= base.size()) base.replace(base.size() - id.size(), id.size(), id);
        return base;
    }
    case 2:
        return GetExtension();
    case 3:
        return m_fileDate;
    case 4:
        return std::to_string(m_fileLength);
    default:
        return {};
    }
}

std::string CFileList::GetStatusText(int pane) const
{
    if (pane == 1) return GetBaseName();
    if (pane == 2) return m_displayConvert ? ToDisplayCharset(m_name) : m_name;
    return CListNode::GetStatusText(pane == 0 ? 0 : -1);
}

std::string CFileList::GetClipboardFormatName() const { return {}; }

int CompareBaseNames(const CFileList& a, const CNode& b)
{
    if (a.GetType() != b.GetType()) return 0;
    return ICompare(a.GetBaseName(), static_cast<const CFileList&>(b).GetBaseName());
}

int CFileList::Compare(const CNode& other) const { return CompareBaseNames(*this, other); }

std::string CFileList::GetBaseName() const
{
    size_t dot = m_fileName.find('.');
    if (dot == std::string::npos || dot == 0) return m_fileName;
    return m_fileName.substr(0, dot);
}

std::string CFileList::GetExtension() const
{
    size_t dot = m_fileName.find('.');
    if (dot == std::string::npos) return {};
    return m_fileName.substr(dot + 1);
}

std::string CFileList::GetPath() const
{
    CProjekt* root = GetRoot();
    std::string dir = root ? root->GetDirectory() : std::string();
    return fsx::ResolvePath(dir, m_fileName);
}

bool CFileList::LoadFileImage(const std::function<void(std::span<const uint8_t>)>& parse)
{
    try {
        CListFileBuffer buf(GetPath(), CListFileBuffer::modeRead);
        parse(buf.Bytes());
        m_loaded = 1;
    } catch (const std::exception&) {
        Unload();
        return false;
    }
    return true;
}

bool CFileList::SaveFileImage(const std::function<std::vector<uint8_t>()>& serialize)
{
    try {
        std::vector<uint8_t> image = serialize();
        CListFileBuffer buf(GetPath(), CListFileBuffer::modeWrite);
        buf.Writer().WriteBytes(image);
        buf.Close();
    } catch (const std::exception&) {
        return false;
    }
    AfterSave();
    return true;
}

void CFileList::AfterSave()
{
    m_modified = 0;
    if (auto st = fsx::Stat(GetPath())) {
        m_fileLength = static_cast<int>(st->size);
        m_fileDate = fsx::FormatFileTime(st->mtime);
    }
    if (m_parent && m_parent->IsList()) static_cast<CListNode*>(m_parent)->ChildChanged(this);
}

bool CFileList::SetProperties(const std::string& newBaseNameIn, const std::string& newName)
{
    std::string newBase = ToUpper(newBaseNameIn);
    // The dialogs refuse such names; a name with a path character must never
    // reach the file system whoever calls.
    if (newBase.empty() || !IsValidNamePart(newBase)) return false;
    std::string oldBase = GetBaseName();
    bool wasLoaded = m_loaded != 0;
    if (!wasLoaded) Load();

    m_name = newName;
    m_modified = 1;
    bool ok;
    if (newBase == oldBase) {
        ok = Save();
    } else {
        std::string oldFileName = m_fileName;
        std::string oldPath = GetPath();
        m_fileName = newBase + "." + GetExtension();
        if (oldBase.size() < 3) {
            ok = Save();
        } else {
            ok = Save();
            if (ok) {
                if (CProjekt* root = GetRoot()) root->RenameInComposites(oldBase, newBase);
                // Only remove the old file when it is not the one just written
                // (a change of letter case only).
                if (!IEquals(oldFileName, m_fileName)) fsx::RemoveFile(oldPath);
            } else {
                m_fileName = oldFileName;
            }
        }
    }
    if (!wasLoaded) Unload();
    if (m_parent && m_parent->IsList()) static_cast<CListNode*>(m_parent)->ChildChanged(this);
    if (m_document) m_document->SetTitle(m_displayConvert ? ToDisplayCharset(m_name) : m_name);
    return ok;
}
