#include "transfer/ModuleDirectory.h"

#include "app/Application.h"
#include "comm/Comm.h"
#include "listfile/ByteStream.h"
#include "util/ErrorInfo.h"
#include "util/Format.h"
#include "util/StringTable.h"
#include "util/Strings.h"
#include "util/UserInteraction.h"

namespace {

constexpr int IDS_DIRECTORY_TITLE = 63358;
constexpr int IDS_DIRECTORY_HEADERS = 64008;
constexpr int IDS_CATEGORY_HEADERS = 63354;
constexpr int IDS_TOTAL_LENGTH = 64236;

const struct {
    const char* id;
    int text;
} kFixedDesignations[] = {{"ASYM", 63256}, {"XTEX", 63257}, {"SDAT", 63258}, {"ERST", 63217}, {"CSKA", 63218},
                          {"CPRO", 63219}, {"CSER", 63220}, {"CTR8", 63221}, {"CRKO", 63222}};

const struct {
    const char* selector;
    int text;
} kSections[] = {{"B*", 63349}, {"T*", 63350}, {"G*", 63351}, {"P*", 63352}, {"C*", 63353}};

int SumLengths(const CListNode& node)
{
    int total = 0;
    for (CNode* c : node.m_children) {
        if (c->GetType() == NT_DEVICE_LIST)
            total += static_cast<CModulListe*>(c)->m_fileLength;
        else if (c->GetType() == NT_DEVICE_FOLDER)
            total += static_cast<CVerzeichnisAbschnitt*>(c)->TotalLength();
    }
    return total;
}

// The enabling rules the directory and its sections share; -1 means the
// default rule decides.
int DirectoryRule(int command, int selectedCount, bool isFolder)
{
    switch (command) {
    case CMD_OPEN:
        return isFolder ? 0 : selectedCount == 1;
    case CMD_PROPERTIES:
        return selectedCount == 1;
    case CMD_CLOSE:
    case CMD_EPROM:
    case CMD_CLOSE_PROJECT:
        return 1;
    case CMD_PAKDAT:
    case CMD_ROMGEN:
        return selectedCount > 0;
    case CMD_NEW:
    case CMD_SAVE:
    case CMD_DELETE:
    case CMD_PRINT:
    case CMD_COPY:
    case CMD_PASTE:
    case CMD_CUT:
        return 0;
    default:
        return -1;
    }
}

}  // namespace

// ------------------------------------------------------------ CModulListe

bool IsSafeModuleIdentifier(const std::string& identifier)
{
    if (identifier.size() != 4) return false;
    for (unsigned char c : identifier)
        if (c < 0x21 || c >= 0x7F) return false;  // control characters, blanks and 8-bit bytes
    return IsValidNamePart(identifier);
}

std::string FixedDesignation(const std::string& identifier)
{
    for (const auto& f : kFixedDesignations)
        if (IEquals(identifier, f.id)) return LoadString(f.text);
    return {};
}

CModulListe::CModulListe(CNode* parent, const std::string& identifier, const std::string& extension)
    : CFileList(parent, identifier.empty() ? std::string() : identifier + "." + extension), m_extension(extension)
{
}

int CModulListe::Compare(const CNode& other) const
{
    if (other.GetType() != NT_DEVICE_LIST) return 0;
    return ICompare(GetBaseName(), static_cast<const CModulListe&>(other).GetBaseName());
}

bool CModulListe::Load()
{
    m_loaded = 1;
    return true;
}

bool CModulListe::Fill(const uint8_t* answer, size_t length)
{
    // 'b', identifier (4), length (2), L, L-1 characters.
    if (!answer || length < 8 || answer[0] != 'b') return false;
    std::string id(reinterpret_cast<const char*>(answer + 1), 4);
    if (!IsSafeModuleIdentifier(id)) return false;
    size_t nameLength = answer[7];
    if (nameLength == 0 || 8 + (nameLength - 1) > length) return false;
    std::string designation = FixedDesignation(id);
    if (designation.empty()) {
        designation.assign(reinterpret_cast<const char*>(answer + 8), nameLength - 1);
        for (char& c : designation)
            if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
        m_displayConvert = 1;
    } else {
        m_displayConvert = 0;
    }
    m_fileName = ToUpper(id) + "." + m_extension;
    m_fileLength = GetU16(answer + 5);
    m_name = designation;
    m_fileDate.clear();
    m_found = true;
    return true;
}

// ------------------------------------------------------------ CVerzeichnisAbschnitt

CVerzeichnisAbschnitt::CVerzeichnisAbschnitt(CNode* parent, std::string selector, int categoryTextId,
                                             std::string extension)
    : CListNode(parent, 1, std::string()),
      m_selector(std::move(selector)),
      m_categoryText(LoadString(categoryTextId)),
      m_extension(std::move(extension))
{
    m_title = LoadString(IDS_DIRECTORY_TITLE) + " " + m_categoryText;
    m_name = m_title;
}

std::string CVerzeichnisAbschnitt::GetColumnText(int column) const
{
    // As a category row of the project: name, its pattern, total length.
    switch (column) {
    case 0: return m_categoryText;
    case 1: return m_selector;
    case 4: return m_loaded ? std::to_string(TotalLength()) : std::string();
    default: return {};
    }
}

bool CVerzeichnisAbschnitt::IsCommandEnabled(int command, int selectedCount, int firstSelected)
{
    int rule = DirectoryRule(command, selectedCount, true);
    if (rule >= 0) return rule != 0;
    return CListNode::IsCommandEnabled(command, selectedCount, firstSelected);
}

int CVerzeichnisAbschnitt::GetColumnWidth(int column) const
{
    static const int widths[] = {40, 8, 4, 18, 7};
    return column >= 0 && column < 5 ? widths[column] : 1;
}

std::string CVerzeichnisAbschnitt::GetColumnHeaders() const { return LoadString(IDS_CATEGORY_HEADERS); }

int CVerzeichnisAbschnitt::TotalLength() const { return SumLengths(*this); }

int CInhaltsverzeichnis::TotalLength() const { return SumLengths(*this); }

// ------------------------------------------------------------ CInhaltsverzeichnis

CInhaltsverzeichnis::CInhaltsverzeichnis(CComm& comm, std::string extension)
    : CListNode(nullptr, 0, LoadString(IDS_DIRECTORY_TITLE)), m_comm(comm), m_extension(std::move(extension))
{
}

std::string CInhaltsverzeichnis::GetColumnText(int column) const { return column == 0 ? m_name : std::string(); }

bool CInhaltsverzeichnis::IsCommandEnabled(int command, int selectedCount, int firstSelected)
{
    int rule = DirectoryRule(command, selectedCount, false);
    if (rule >= 0) return rule != 0;
    return CListNode::IsCommandEnabled(command, selectedCount, firstSelected);
}

int CInhaltsverzeichnis::GetColumnWidth(int column) const
{
    static const int widths[] = {40, 8, 4, 18, 7};
    return column >= 0 && column < 5 ? widths[column] : 1;
}

std::string CInhaltsverzeichnis::GetColumnHeaders() const { return LoadString(IDS_DIRECTORY_HEADERS); }

std::string CInhaltsverzeichnis::GetSummaryText() const
{
    return FormatMessageText(LoadString(IDS_TOTAL_LENGTH), TotalLength());
}

std::string CInhaltsverzeichnis::GetStatusText(int pane) const
{
    // Pane 3 carries totals, as in the window of a composite list.
    return pane == 3 ? GetSummaryText() : std::string();
}

bool CInhaltsverzeichnis::Load()
{
    IUserInteraction& ui = App().Ui();
    DestroyChildren();
    m_loaded = 0;
    if (!OpenLinkForUser(m_comm, 2, ui)) return false;

    for (const auto& s : kSections) {
        auto* section = new CVerzeichnisAbschnitt(this, s.selector, s.text, m_extension);
        AddChild(section);
        if (m_comm.ReadDirectorySection(s.selector, *section)) section->m_loaded = 1;
    }
    for (const char* id : {"SDAT", "ASYM", "XTEX"}) {
        auto* entry = new CModulListe(this, id, m_extension);
        m_comm.QueryEntry(id, *entry);
        if (entry->m_found)
            AddChild(entry);
        else
            delete entry;
    }
    CErrorInfo& err = m_comm.ErrorInfo();
    if (err.Id() == 0) {
        m_loaded = 1;
    } else {
        err.Report(ui);
        err.Clear();
    }
    m_comm.Close();
    return m_loaded != 0;
}
