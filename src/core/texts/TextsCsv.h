#pragma once
// Text groups as CSV for spreadsheets and translators: UTF-8, ";" as the
// separator, double quotes where needed, one line per message text.
#include <string>
#include <vector>

class CProjekt;
class CTextgruppe;

// The header line (without line end).
extern const char* const kTextsCsvHeader;

// Splits CSV text into records of fields. lineOf receives the 1-based line
// on which each record starts. False with the line number and a message
// (display bytes) on an unclosed quote.
bool ParseCsv(const std::string& text, std::vector<std::vector<std::string>>& records, std::vector<int>& lineOf,
              int& errorLine, std::string& error);
// One field as written: quoted when it holds ";", a quote, a line break or
// blanks at either end.
std::string CsvField(const std::string& utf8);

// The texts of a loaded group as CSV, lists in group order, texts in list
// order; a list without texts is one line with the text fields empty.
std::string ExportTextGroupCsv(const CTextgruppe& group, bool cyrillic);

// The group a command line names: its base name ("TABC") or its identifier
// ("ABC"), ignoring case. Null when there is none.
CTextgruppe* FindTextGroup(CProjekt& root, const std::string& nameOrIdentifier);

// Replaces the lists and texts of the group named by nameOrIdentifier with
// those of the CSV, creating the group (with name, 32 blanks when empty) if
// it does not exist, then validates and saves. Nothing is written when any
// line is refused or the group fails its check. False with a message
// (display bytes) naming the line where it has one.
bool ImportTextGroupCsv(CProjekt& root, const std::string& nameOrIdentifier, const std::string& csv,
                        const std::string& nameUtf8, bool cyrillic, std::string& message);
