#pragma once
// Small helpers for the clipboard records and file images of the text classes.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace textrec {
inline std::string Dec(long v) { return std::to_string(v); }

// Characters up to the first NUL of a fixed-size field.
inline std::string FixedField(const uint8_t* p, size_t n)
{
    std::string s;
    for (size_t i = 0; i < n && p[i] != 0; ++i) s += static_cast<char>(p[i]);
    return s;
}

// Index of the NUL that ends a string starting at offset inside the record, or npos.
inline size_t FindTerminator(std::span<const uint8_t> rec, size_t offset)
{
    for (size_t i = offset; i < rec.size(); ++i)
        if (rec[i] == 0) return i;
    return std::string::npos;
}

inline void PutU32(std::vector<uint8_t>& out, uint32_t v)
{
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>((v >> (8 * i)) & 0xFF));
}

inline void PutU16(std::vector<uint8_t>& out, uint16_t v)
{
    out.push_back(static_cast<uint8_t>(v & 0xFF));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

// Shows a message with a number argument to the user.
void ReportMessage(int id, int number);
}  // namespace textrec
