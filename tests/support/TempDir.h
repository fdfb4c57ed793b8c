#pragma once
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "util/FileSystem.h"

// A fresh directory below $TMPDIR that is removed with everything in it.
class TempDir {
public:
    TempDir()
    {
        const char* base = std::getenv("TMPDIR");
        std::string tmpl = std::string(base && *base ? base : "/tmp") + "/px920test-XXXXXX";
        std::vector<char> buf(tmpl.begin(), tmpl.end());
        buf.push_back('\0');
        m_path = fsx::WithSlash(::mkdtemp(buf.data()));
    }
    ~TempDir()
    {
        std::string cmd = "rm -rf '" + m_path + "'";
        (void)std::system(cmd.c_str());
    }
    const std::string& path() const { return m_path; }
    std::string operator/(const std::string& name) const { return m_path + name; }

    void Write(const std::string& name, const std::vector<uint8_t>& bytes) const
    {
        fsx::WriteFileAtomic(m_path + name, bytes.data(), bytes.size());
    }
    std::vector<uint8_t> Read(const std::string& name) const
    {
        std::vector<uint8_t> data;
        fsx::ReadWholeFile(m_path + name, data);
        return data;
    }
    static void WriteTo(const std::string& path, const std::vector<uint8_t>& bytes)
    {
        fsx::WriteFileAtomic(path, bytes.data(), bytes.size());
    }
    bool Exists(const std::string& name) const { return fsx::IsRegularFile(m_path + name); }

private:
    std::string m_path;
};

// Byte-table helpers for fixtures.
inline void Append(std::vector<uint8_t>& v, std::initializer_list<int> bytes)
{
    for (int b : bytes) v.push_back(static_cast<uint8_t>(b));
}
inline void AppendText(std::vector<uint8_t>& v, const std::string& s) { v.insert(v.end(), s.begin(), s.end()); }
inline void AppendU16(std::vector<uint8_t>& v, unsigned x)
{
    v.push_back(static_cast<uint8_t>(x & 0xFF));
    v.push_back(static_cast<uint8_t>(x >> 8));
}
