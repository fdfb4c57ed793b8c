#pragma once
#include <string>
#include <vector>

// A Windows-style initialisation file: "[Section]" lines and "Key=Value"
// lines. Section and key names match ignoring case; the file keeps the order
// and spelling of what it read, and unknown sections survive a rewrite.
class CIniFile {
public:
    bool Load(const std::string& path);     // false when the file cannot be read (then empty)
    bool Save(const std::string& path) const;  // written through a temporary file and rename

    // Profile reads: string values are cut to 254 characters as the original
    // 255-byte buffer did; integers follow the profile-integer rules (leading
    // blanks, optional sign, decimal digits; anything else reads as 0;
    // a missing key gives the default).
    std::string GetString(const std::string& section, const std::string& key, const std::string& def) const;
    int GetInt(const std::string& section, const std::string& key, int def) const;
    bool HasKey(const std::string& section, const std::string& key) const;
    bool HasSection(const std::string& section) const;
    std::vector<std::string> Keys(const std::string& section) const;

    void SetString(const std::string& section, const std::string& key, const std::string& value);
    void SetInt(const std::string& section, const std::string& key, int value);  // written as "%d"
    void DeleteKey(const std::string& section, const std::string& key);
    void DeleteSection(const std::string& section);
    void Clear() { m_sections.clear(); }

    // The file's text as Save writes it.
    std::string ToText() const;
    // Replaces the contents with the parsed text.
    void Parse(const std::string& text);

private:
    // A line that is not "key=value" (comment, blank, junk) is kept verbatim
    // in key with raw set, so a rewrite does not lose it.
    struct Entry { std::string key, value; bool raw = false; };
    struct Section { std::string name; std::vector<Entry> entries; };
    Section* Find(const std::string& section);
    const Section* Find(const std::string& section) const;
    std::vector<Section> m_sections;
};
