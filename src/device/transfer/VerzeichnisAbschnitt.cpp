#include "transfer/ModuleDirectory.h"

#include "transfer/DirectoryRules.h"
#include "util/StringTable.h"

using namespace moddir;

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
