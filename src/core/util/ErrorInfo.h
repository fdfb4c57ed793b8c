#pragma once
#include <string>

class IUserInteraction;

// The error record that a failing operation fills and its caller reports.
class CErrorInfo {
public:
    void Clear();
    void Set(int id, int number = 0);
    void Set(int id, const std::string& text, int number = 0);

    int Id() const { return m_id; }
    const std::string& Text() const { return m_text; }
    int Number() const { return m_number; }

    // The message as the report shows it: the string-table text formatted
    // with the arguments, plus an optional extra line.
    std::string Format(const std::string& extra = {}) const;

    // Shows the message with the given style (error icon when style is 0)
    // and returns the answer.
    int Report(IUserInteraction& ui, unsigned style = 0, const std::string& extra = {}) const;

private:
    int m_id = 0;
    std::string m_text;
    int m_number = 0;
};

// Formats a string-table pattern the way the original messages expect:
// "%s" takes the text and a following "%d"/"%u"/"%x" the number; without
// "%s" the first numeric conversion takes the number. Only the conversions
// are interpreted; the arguments are never used as patterns.
std::string FormatMessageText(const std::string& pattern, const std::string& text, long number);
std::string FormatMessageText(const std::string& pattern, long number);
std::string FormatMessageText(const std::string& pattern, const std::string& text);
