#include "util/Strings.h"

namespace {
char Up(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
char Low(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
}  // namespace

std::string ToUpper(std::string_view s)
{
    std::string r(s);
    for (char& c : r) c = Up(c);
    return r;
}

std::string ToLower(std::string_view s)
{
    std::string r(s);
    for (char& c : r) c = Low(c);
    return r;
}

bool IEquals(std::string_view a, std::string_view b) { return ICompare(a, b) == 0; }

int ICompare(std::string_view a, std::string_view b)
{
    size_t n = a.size() < b.size() ? a.size() : b.size();
    for (size_t i = 0; i < n; ++i) {
        unsigned char x = static_cast<unsigned char>(Low(a[i]));
        unsigned char y = static_cast<unsigned char>(Low(b[i]));
        if (x != y) return x < y ? -1 : 1;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

bool IStartsWith(std::string_view s, std::string_view prefix)
{
    return s.size() >= prefix.size() && IEquals(s.substr(0, prefix.size()), prefix);
}

bool IEndsWith(std::string_view s, std::string_view suffix)
{
    return s.size() >= suffix.size() && IEquals(s.substr(s.size() - suffix.size()), suffix);
}

std::string TrimRight(std::string_view s, char ch)
{
    size_t e = s.size();
    while (e > 0 && s[e - 1] == ch) --e;
    return std::string(s.substr(0, e));
}

std::string TrimLeft(std::string_view s, char ch)
{
    size_t b = 0;
    while (b < s.size() && s[b] == ch) ++b;
    return std::string(s.substr(b));
}

std::string Trim(std::string_view s, char ch) { return TrimLeft(TrimRight(s, ch), ch); }

std::string PadRight(std::string_view s, size_t n, char ch)
{
    std::string r(s.substr(0, n));
    r.resize(n, ch);
    return r;
}

bool WildcardMatch(std::string_view p, std::string_view s)
{
    // Iterative matcher with backtracking to the last star: linear memory, no recursion.
    size_t pi = 0, si = 0, star = std::string_view::npos, mark = 0;
    while (si < s.size()) {
        if (pi < p.size() && (p[pi] == '?' || Low(p[pi]) == Low(s[si]))) {
            ++pi;
            ++si;
        } else if (pi < p.size() && p[pi] == '*') {
            star = pi++;
            mark = si;
        } else if (star != std::string_view::npos) {
            pi = star + 1;
            si = ++mark;
        } else {
            return false;
        }
    }
    while (pi < p.size() && p[pi] == '*') ++pi;
    return pi == p.size();
}

bool IsValidNamePart(std::string_view text)
{
    return text.find_first_of("\\/:*?\"<>!.") == std::string_view::npos;
}
