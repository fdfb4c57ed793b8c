#include "util/ErrorInfo.h"

#include "util/Format.h"
#include "util/StringTable.h"
#include "util/UserInteraction.h"

void CErrorInfo::Clear()
{
    m_id = 0;
    m_text.clear();
    m_number = 0;
}

void CErrorInfo::Set(int id, int number)
{
    m_id = id;
    m_text.clear();
    m_number = number;
}

void CErrorInfo::Set(int id, const std::string& text, int number)
{
    m_id = id;
    m_text = text;
    m_number = number;
}

std::string FormatMessageText(const std::string& pattern, const std::string& text, long number)
{
    if (pattern.find("%s") != std::string::npos)
        return FormatString(pattern, {text, number});
    return FormatString(pattern, {number});
}

std::string FormatMessageText(const std::string& pattern, long number)
{
    return FormatMessageText(pattern, std::string(), number);
}

std::string FormatMessageText(const std::string& pattern, const std::string& text)
{
    return FormatMessageText(pattern, text, 0);
}

std::string CErrorInfo::Format(const std::string& extra) const
{
    std::string msg = m_id == 0 ? LoadString(IDS_NO_ERROR) : FormatMessageText(LoadString(m_id), m_text, m_number);
    if (!extra.empty()) {
        msg += '\n';
        msg += extra;
    }
    return msg;
}

int CErrorInfo::Report(IUserInteraction& ui, unsigned style, const std::string& extra) const
{
    if (style == 0) style = mb::ICONERROR;
    return ui.MessageBox(Format(extra), style);
}
