#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <vector>

// Bounds-checked reader over a byte block. Every read that would pass the
// end of the data raises the generic file error instead of reading on.
class CByteReader {
public:
    CByteReader() = default;
    explicit CByteReader(std::span<const uint8_t> data) : m_data(data) {}

    uint8_t ReadU8();
    uint16_t ReadU16();
    void ReadBytes(uint8_t* out, size_t n);
    std::string ReadChars(size_t n);
    // Length byte L (1..81), then L-1 characters.
    std::string ReadShortString();
    // Bytes up to the first 0 (the 0 is consumed).
    std::string ReadZString();
    // As a zero-terminated string, but ESC takes the next two bytes unexamined.
    std::string ReadEscapedText();
    void Skip(size_t n);
    void Seek(size_t pos);

    size_t Position() const { return m_pos; }
    size_t Size() const { return m_data.size(); }
    size_t Remaining() const { return m_data.size() - m_pos; }
    bool AtEnd() const { return m_pos >= m_data.size(); }
    std::span<const uint8_t> Data() const { return m_data; }
    // A reader over the next n bytes; the outer reader moves past them.
    CByteReader Sub(size_t n);

private:
    void Need(size_t n) const;
    std::span<const uint8_t> m_data;
    size_t m_pos = 0;
};

// Writer into a growing byte block.
class CByteWriter {
public:
    void WriteU8(uint8_t v) { m_data.push_back(v); }
    void WriteU16(uint16_t v);
    void WriteBytes(const uint8_t* p, size_t n) { m_data.insert(m_data.end(), p, p + n); }
    void WriteBytes(std::span<const uint8_t> s) { m_data.insert(m_data.end(), s.begin(), s.end()); }
    void WriteChars(const std::string& s) { m_data.insert(m_data.end(), s.begin(), s.end()); }
    // Fails (generic file error) above 80 characters.
    void WriteShortString(const std::string& s);
    void WriteZString(const std::string& s);
    void WriteEscapedText(const std::string& s);
    // Overwrites a u16 written earlier (for length fields known only at the end).
    void PatchU16(size_t pos, uint16_t v);

    size_t Size() const { return m_data.size(); }
    const std::vector<uint8_t>& Data() const { return m_data; }
    std::vector<uint8_t>& Data() { return m_data; }

private:
    std::vector<uint8_t> m_data;
};

constexpr char ESC = 27;

// Editing form ("@" and up to three digits) to stored form (ESC + u16) and back.
std::string EscapeText(const std::string& editing);
std::string UnescapeText(const std::string& stored);
// Number of characters shown for a stored text (an escape counts as its editing form "@nnn").
size_t StoredTextLength(const std::string& stored);

// Little-endian helpers on raw blocks (callers check the bounds).
inline uint16_t GetU16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
inline void PutU16(uint8_t* p, uint16_t v)
{
    p[0] = static_cast<uint8_t>(v & 0xFF);
    p[1] = static_cast<uint8_t>(v >> 8);
}
