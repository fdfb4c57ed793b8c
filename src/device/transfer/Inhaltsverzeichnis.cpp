#include "transfer/ModuleDirectory.h"

#include "app/Application.h"
#include "comm/Comm.h"
#include "transfer/DirectoryRules.h"
#include "util/ErrorInfo.h"
#include "util/StringTable.h"

using namespace moddir;

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

int CInhaltsverzeichnis::TotalLength() const { return SumLengths(*this); }
