#include "app/IniFile.h"

#include <climits>
#include <cstdint>

#include "util/FileSystem.h"
#include "util/Strings.h"

namespace {
// The original read every string into a 255-byte buffer.
constexpr size_t kMaxValue = 254;

std::string TrimBlanks(const std::string& s)
{
    size_t b = 0, e = s.size();
    while (b < e && (s[b] == ' ' || s[b] == '\t')) ++b;
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t' || s[e - 1] == '\r')) --e;
    return s.substr(b, e - b);
}
}  // namespace

void CIniFile::Parse(const std::string& text)
{
    m_sections.clear();
    // Lines in front of the first section header live in a nameless section
    // that no lookup can reach but that a rewrite keeps.
    m_sections.push_back(Section{});
    size_t pos = 0;
    while (pos < text.size()) {
        size_t nl = text.find('\n', pos);
        std::string line = text.substr(pos, nl == std::string::npos ? std::string::npos : nl - pos);
        pos = nl == std::string::npos ? text.size() : nl + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::string t = TrimBlanks(line);
        if (!t.empty() && t[0] == '[') {
            size_t close = t.find(']');
            if (close != std::string::npos) {
                m_sections.push_back(Section{TrimBlanks(t.substr(1, close - 1)), {}});
                continue;
            }
        }
        size_t eq = t.find('=');
        if (t.empty() || t[0] == ';' || eq == std::string::npos || eq == 0) {
            m_sections.back().entries.push_back(Entry{line, {}, true});
            continue;
        }
        m_sections.back().entries.push_back(Entry{TrimBlanks(t.substr(0, eq)), TrimBlanks(t.substr(eq + 1)), false});
    }
    if (m_sections.front().entries.empty()) m_sections.erase(m_sections.begin());
}

bool CIniFile::Load(const std::string& path)
{
    m_sections.clear();
    std::vector<uint8_t> data;
    if (!fsx::ReadWholeFile(path, data)) return false;
    Parse(std::string(data.begin(), data.end()));
    return true;
}

std::string CIniFile::ToText() const
{
    std::string out;
    for (const Section& s : m_sections) {
        // The nameless leading section has no header line.
        if (!s.name.empty() || &s != &m_sections.front()) out += "[" + s.name + "]\n";
        for (const Entry& e : s.entries) {
            if (e.raw) out += e.key + "\n";
            else out += e.key + "=" + e.value + "\n";
        }
    }
    return out;
}

bool CIniFile::Save(const std::string& path) const
{
    std::string text = ToText();
    return fsx::WriteFileAtomic(path, reinterpret_cast<const uint8_t*>(text.data()), text.size());
}

CIniFile::Section* CIniFile::Find(const std::string& section)
{
    for (Section& s : m_sections)
        if (!s.name.empty() && IEquals(s.name, section)) return &s;
    return nullptr;
}

const CIniFile::Section* CIniFile::Find(const std::string& section) const
{
    for (const Section& s : m_sections)
        if (!s.name.empty() && IEquals(s.name, section)) return &s;
    return nullptr;
}

std::string CIniFile::GetString(const std::string& section, const std::string& key, const std::string& def) const
{
    std::string value = def;
    if (const Section* s = Find(section)) {
        for (const Entry& e : s->entries) {
            if (e.raw || !IEquals(e.key, key)) continue;
            value = e.value;
            // A value enclosed in matching quotes is read without them.
            if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0])
                value = value.substr(1, value.size() - 2);
            break;
        }
    }
    if (value.size() > kMaxValue) value.resize(kMaxValue);
    return value;
}

int CIniFile::GetInt(const std::string& section, const std::string& key, int def) const
{
    if (!HasKey(section, key)) return def;
    std::string v = GetString(section, key, std::string());
    if (v.empty()) return def;
    size_t i = 0;
    while (i < v.size() && (v[i] == ' ' || v[i] == '\t')) ++i;
    bool negative = false;
    if (i < v.size() && (v[i] == '-' || v[i] == '+')) negative = v[i++] == '-';
    // 32-bit arithmetic that wraps, as the platform's conversion does.
    uint32_t value = 0;
    while (i < v.size() && v[i] >= '0' && v[i] <= '9') value = value * 10u + static_cast<uint32_t>(v[i++] - '0');
    if (negative) value = 0u - value;
    return static_cast<int>(static_cast<int32_t>(value));
}

bool CIniFile::HasKey(const std::string& section, const std::string& key) const
{
    if (const Section* s = Find(section))
        for (const Entry& e : s->entries)
            if (!e.raw && IEquals(e.key, key)) return true;
    return false;
}

bool CIniFile::HasSection(const std::string& section) const { return Find(section) != nullptr; }

std::vector<std::string> CIniFile::Keys(const std::string& section) const
{
    std::vector<std::string> keys;
    if (const Section* s = Find(section))
        for (const Entry& e : s->entries)
            if (!e.raw) keys.push_back(e.key);
    return keys;
}

void CIniFile::SetString(const std::string& section, const std::string& key, const std::string& valueIn)
{
    // A line break in a value would split it into lines of their own.
    std::string value;
    for (char c : valueIn) value += (c == '\n' || c == '\r') ? ' ' : c;
    Section* s = Find(section);
    if (!s) {
        m_sections.push_back(Section{section, {}});
        s = &m_sections.back();
    }
    for (Entry& e : s->entries) {
        if (!e.raw && IEquals(e.key, key)) {
            e.value = value;
            return;
        }
    }
    // New keys go behind the last key of the section, ahead of trailing blank lines.
    size_t at = s->entries.size();
    while (at > 0 && s->entries[at - 1].raw && TrimBlanks(s->entries[at - 1].key).empty()) --at;
    s->entries.insert(s->entries.begin() + static_cast<std::ptrdiff_t>(at), Entry{key, value, false});
}

void CIniFile::SetInt(const std::string& section, const std::string& key, int value)
{
    SetString(section, key, std::to_string(value));
}

void CIniFile::DeleteKey(const std::string& section, const std::string& key)
{
    if (Section* s = Find(section)) {
        for (size_t i = 0; i < s->entries.size(); ++i) {
            if (!s->entries[i].raw && IEquals(s->entries[i].key, key)) {
                s->entries.erase(s->entries.begin() + static_cast<std::ptrdiff_t>(i));
                return;
            }
        }
    }
}

void CIniFile::DeleteSection(const std::string& section)
{
    for (size_t i = 0; i < m_sections.size(); ++i) {
        if (!m_sections[i].name.empty() && IEquals(m_sections[i].name, section)) {
            m_sections.erase(m_sections.begin() + static_cast<std::ptrdiff_t>(i));
            return;
        }
    }
}
