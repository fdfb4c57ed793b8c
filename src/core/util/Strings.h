#pragma once
#include <string>
#include <string_view>

// ASCII case handling: names and identifiers are compared as the module and
// the original file system compare them, byte by byte, letters a-z folded.
std::string ToUpper(std::string_view s);
std::string ToLower(std::string_view s);
bool IEquals(std::string_view a, std::string_view b);
int ICompare(std::string_view a, std::string_view b);
bool IStartsWith(std::string_view s, std::string_view prefix);
bool IEndsWith(std::string_view s, std::string_view suffix);

std::string TrimRight(std::string_view s, char ch = ' ');
std::string TrimLeft(std::string_view s, char ch = ' ');
std::string Trim(std::string_view s, char ch = ' ');
// Pads with blanks (or cuts) to exactly n characters.
std::string PadRight(std::string_view s, size_t n, char ch = ' ');

// Wildcard match of a file name against "*" and "?" ignoring case.
bool WildcardMatch(std::string_view pattern, std::string_view name);

// True when text holds none of \ / : * ? " < > ! and the full stop, so that
// it can become part of a file name.
bool IsValidNamePart(std::string_view text);
