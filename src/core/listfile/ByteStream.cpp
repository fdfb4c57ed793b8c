#include "listfile/ByteStream.h"
#include <cstdio>

#include "util/FileException.h"

void CByteReader::Need(size_t n) const
{
    if (n > m_data.size() - m_pos) CFileException::ThrowGeneric("unexpected end of data");
}

uint8_t CByteReader::ReadU8()
{
    Need(1);
    return m_data[m_pos++];
}

uint16_t CByteReader::ReadU16()
{
    Need(2);
    uint16_t v = GetU16(m_data.data() + m_pos);
    m_pos += 2;
    return v;
}

void CByteReader::ReadBytes(uint8_t* out, size_t n)
{
    Need(n);
    for (size_t i = 0; i < n; ++i) out[i] = m_data[m_pos + i];
    m_pos += n;
}

std::string CByteReader::ReadChars(size_t n)
{
    Need(n);
    std::string s(reinterpret_cast<const char*>(m_data.data() + m_pos), n);
    m_pos += n;
    return s;
}

std::string CByteReader::ReadShortString()
{
    uint8_t len = AtEnd() ? 0 : ReadU8();  // a length byte beyond the end counts as 0
    if (len == 0 || len > 81) CFileException::ThrowGeneric("bad short string length");
    return ReadChars(len - 1u);
}

std::string CByteReader::ReadZString()
{
    std::string s;
    for (;;) {
        uint8_t c = ReadU8();
        if (c == 0) break;
        s += static_cast<char>(c);
    }
    return s;
}

std::string CByteReader::ReadEscapedText()
{
    std::string s;
    for (;;) {
        uint8_t c = ReadU8();
        if (c == 0) break;
        s += static_cast<char>(c);
        if (c == static_cast<uint8_t>(ESC)) {
            s += static_cast<char>(ReadU8());
            s += static_cast<char>(ReadU8());
        }
    }
    return s;
}

void CByteReader::Skip(size_t n)
{
    Need(n);
    m_pos += n;
}

void CByteReader::Seek(size_t pos)
{
    if (pos > m_data.size()) CFileException::ThrowGeneric("seek beyond end");
    m_pos = pos;
}

CByteReader CByteReader::Sub(size_t n)
{
    Need(n);
    CByteReader r(m_data.subspan(m_pos, n));
    m_pos += n;
    return r;
}

void CByteWriter::WriteU16(uint16_t v)
{
    m_data.push_back(static_cast<uint8_t>(v & 0xFF));
    m_data.push_back(static_cast<uint8_t>(v >> 8));
}

void CByteWriter::WriteShortString(const std::string& s)
{
    if (s.size() > 80) CFileException::ThrowGeneric("short string longer than 80 characters");
    WriteU8(static_cast<uint8_t>(s.size() + 1));
    WriteChars(s);
}

void CByteWriter::WriteZString(const std::string& s)
{
    WriteChars(s);
    WriteU8(0);
}

void CByteWriter::WriteEscapedText(const std::string& s)
{
    WriteChars(s);
    WriteU8(0);
}

void CByteWriter::PatchU16(size_t pos, uint16_t v)
{
    if (pos + 2 > m_data.size()) CFileException::ThrowGeneric("patch beyond end");
    PutU16(m_data.data() + pos, v);
}

std::string EscapeText(const std::string& editing)
{
    std::string out;
    for (size_t i = 0; i < editing.size(); ++i) {
        char c = editing[i];
        if (c == '@' && i + 1 < editing.size() && isdigit(static_cast<unsigned char>(editing[i + 1]))) {
            unsigned value = 0;
            size_t j = i + 1;
            while (j < editing.size() && j < i + 4 && isdigit(static_cast<unsigned char>(editing[j]))) {
                value = value * 10 + static_cast<unsigned>(editing[j] - '0');
                ++j;
            }
            out += ESC;
            out += static_cast<char>(value & 0xFF);
            out += static_cast<char>((value >> 8) & 0xFF);
            i = j - 1;
        } else {
            out += c;
        }
    }
    return out;
}

std::string UnescapeText(const std::string& stored)
{
    std::string out;
    for (size_t i = 0; i < stored.size(); ++i) {
        char c = stored[i];
        if (c == ESC) {
            unsigned lo = i + 1 < stored.size() ? static_cast<unsigned char>(stored[i + 1]) : 0;
            unsigned hi = i + 2 < stored.size() ? static_cast<unsigned char>(stored[i + 2]) : 0;
            char buf[16];
            std::snprintf(buf, sizeof buf, "@%03u", lo | (hi << 8));
            out += buf;
            i += 2;
        } else {
            out += c;
        }
    }
    return out;
}

size_t StoredTextLength(const std::string& stored) { return UnescapeText(stored).size(); }
