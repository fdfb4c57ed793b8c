#include "sysdata/PrinterControl.h"

#include <cstdio>

const PrinterControls& DefaultPrinterControls()
{
    static const PrinterControls controls = {
        std::string("\x1B\x45"),
        std::string("\x0D"),
        std::string("\x0A"),
        std::string("\x0D"),
        std::string("\x1B\x28\x73\x31\x42"),
        std::string("\x1B\x28\x73\x30\x42"),
        std::string("\x1B\x26\x64\x44"),
        std::string("\x1B\x26\x64\x40"),
        std::string("\x1B\x26\x6B\x30\x53"),
        std::string("\x1B\x26\x6B\x34\x53"),
        std::string("\x1B\x26\x6B\x32\x53"),
    };
    return controls;
}

std::string FormatControlHex(const std::string& sequence)
{
    std::string out;
    char buf[4];
    for (unsigned char c : sequence) {
        std::snprintf(buf, sizeof buf, "%02X ", c);
        out += buf;
    }
    return out;
}

namespace {
int HexDigit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}
bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }
}  // namespace

bool ParseControlHex(const std::string& text, std::string& sequence)
{
    std::string out;
    size_t i = 0;
    for (;;) {
        while (i < text.size() && IsSpace(text[i])) ++i;
        if (i >= text.size()) break;
        unsigned value = 0;
        size_t start = i;
        while (i < text.size() && HexDigit(text[i]) >= 0) {
            value = value * 16u + static_cast<unsigned>(HexDigit(text[i]));
            if (value > 0xFF) return false;
            ++i;
        }
        if (i == start) return false;                       // neither digit nor blank
        if (i < text.size() && !IsSpace(text[i])) return false;  // "1B,45"
        if (value == 0) return false;
        out += static_cast<char>(value);
    }
    sequence = out;
    return true;
}
