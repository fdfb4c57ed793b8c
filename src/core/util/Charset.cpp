#include "util/Charset.h"

#include <cstdint>

#include "app/Application.h"

namespace {
// Unicode code points of bytes 0x80..0xFF; 0 marks a byte the code page leaves undefined.
const uint16_t kCp1252[128] = {
    0x20AC, 0, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0, 0x017D, 0,
    0, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0, 0x017E, 0x0178,
    0x00A0, 0x00A1, 0x00A2, 0x00A3, 0x00A4, 0x00A5, 0x00A6, 0x00A7, 0x00A8, 0x00A9, 0x00AA, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x00AF,
    0x00B0, 0x00B1, 0x00B2, 0x00B3, 0x00B4, 0x00B5, 0x00B6, 0x00B7, 0x00B8, 0x00B9, 0x00BA, 0x00BB, 0x00BC, 0x00BD, 0x00BE, 0x00BF,
    0x00C0, 0x00C1, 0x00C2, 0x00C3, 0x00C4, 0x00C5, 0x00C6, 0x00C7, 0x00C8, 0x00C9, 0x00CA, 0x00CB, 0x00CC, 0x00CD, 0x00CE, 0x00CF,
    0x00D0, 0x00D1, 0x00D2, 0x00D3, 0x00D4, 0x00D5, 0x00D6, 0x00D7, 0x00D8, 0x00D9, 0x00DA, 0x00DB, 0x00DC, 0x00DD, 0x00DE, 0x00DF,
    0x00E0, 0x00E1, 0x00E2, 0x00E3, 0x00E4, 0x00E5, 0x00E6, 0x00E7, 0x00E8, 0x00E9, 0x00EA, 0x00EB, 0x00EC, 0x00ED, 0x00EE, 0x00EF,
    0x00F0, 0x00F1, 0x00F2, 0x00F3, 0x00F4, 0x00F5, 0x00F6, 0x00F7, 0x00F8, 0x00F9, 0x00FA, 0x00FB, 0x00FC, 0x00FD, 0x00FE, 0x00FF,
};

const uint16_t kCp1251[128] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,
    0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417, 0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F,
    0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427, 0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F,
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437, 0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F,
    0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447, 0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F,
};

void AppendUtf8(std::string& out, uint32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

std::string ToUtf8(const std::string& bytes, const uint16_t* table)
{
    std::string out;
    out.reserve(bytes.size());
    for (unsigned char c : bytes) {
        if (c < 0x80) out += static_cast<char>(c);
        else AppendUtf8(out, table[c - 0x80] ? table[c - 0x80] : 0xFFFD);
    }
    return out;
}

std::string FromUtf8(const std::string& utf8, const uint16_t* table)
{
    std::string out;
    for (size_t i = 0; i < utf8.size();) {
        unsigned char c = static_cast<unsigned char>(utf8[i]);
        uint32_t cp;
        size_t n;
        if (c < 0x80) { cp = c; n = 1; }
        else if ((c & 0xE0) == 0xC0 && i + 1 < utf8.size()) { cp = ((c & 0x1F) << 6) | (utf8[i + 1] & 0x3F); n = 2; }
        else if ((c & 0xF0) == 0xE0 && i + 2 < utf8.size()) { cp = ((c & 0x0F) << 12) | ((utf8[i + 1] & 0x3F) << 6) | (utf8[i + 2] & 0x3F); n = 3; }
        else if ((c & 0xF8) == 0xF0 && i + 3 < utf8.size()) { cp = 0x110000; n = 4; }
        else { cp = 0x110000; n = 1; }
        i += n;
        if (cp < 0x80) { out += static_cast<char>(cp); continue; }
        char mapped = '?';
        for (int k = 0; k < 128; ++k)
            if (table[k] == cp) { mapped = static_cast<char>(0x80 + k); break; }
        out += mapped;
    }
    return out;
}
}  // namespace

std::string Cp1252ToUtf8(const std::string& bytes) { return ToUtf8(bytes, kCp1252); }
std::string Utf8ToCp1252(const std::string& utf8) { return FromUtf8(utf8, kCp1252); }
std::string Cp1251ToUtf8(const std::string& bytes) { return ToUtf8(bytes, kCp1251); }
std::string Utf8ToCp1251(const std::string& utf8) { return FromUtf8(utf8, kCp1251); }

std::string DisplayToUtf8(const std::string& bytes, bool cyrillic)
{
    return cyrillic ? Cp1251ToUtf8(bytes) : Cp1252ToUtf8(bytes);
}

std::string Utf8ToDisplay(const std::string& utf8, bool cyrillic)
{
    return cyrillic ? Utf8ToCp1251(utf8) : Utf8ToCp1252(utf8);
}

namespace {
// KOI-7 N2 puts the Cyrillic capitals on 0x60..0x7E; the Windows-1251 byte
// of the capital at each of those positions.
const uint8_t kKoi7ToCp1251[31] = {
    0xDE /* Ю */, 0xC0 /* А */, 0xC1 /* Б */, 0xD6 /* Ц */, 0xC4 /* Д */, 0xC5 /* Е */, 0xD4 /* Ф */, 0xC3 /* Г */,
    0xD5 /* Х */, 0xC8 /* И */, 0xC9 /* Й */, 0xCA /* К */, 0xCB /* Л */, 0xCC /* М */, 0xCD /* Н */, 0xCE /* О */,
    0xCF /* П */, 0xDF /* Я */, 0xD0 /* Р */, 0xD1 /* С */, 0xD2 /* Т */, 0xD3 /* У */, 0xC6 /* Ж */, 0xC2 /* В */,
    0xDC /* Ь */, 0xDB /* Ы */, 0xC7 /* З */, 0xD8 /* Ш */, 0xDD /* Э */, 0xD9 /* Щ */, 0xD7 /* Ч */,
};

// The inverse for the 32 capitals 0xC0..0xDF; the module has no hard sign,
// so Ъ shares the code of Ь.
struct Cp1251ToKoi7Table {
    uint8_t code[32] {};
    Cp1251ToKoi7Table()
    {
        for (int i = 0; i < 31; ++i) code[kKoi7ToCp1251[i] - 0xC0] = static_cast<uint8_t>(0x60 + i);
        code[0xDA - 0xC0] = 0x78;
    }
};
}  // namespace

std::string ToDisplayCharset(const std::string& device, bool cyrillic)
{
    if (!cyrillic) return device;
    std::string out = device;
    for (char& ch : out) {
        auto c = static_cast<unsigned char>(ch);
        if (c >= 0x60 && c <= 0x7E) ch = static_cast<char>(kKoi7ToCp1251[c - 0x60]);
    }
    return out;
}

std::string ToDeviceCharset(const std::string& display, bool cyrillic)
{
    if (!cyrillic) return display;
    static const Cp1251ToKoi7Table table;
    std::string out = display;
    for (char& ch : out) {
        auto c = static_cast<unsigned char>(ch);
        if (c >= 0xC0) ch = static_cast<char>(table.code[(c - 0xC0) & 0x1F]);  // small letters fold onto capitals
        else if (c >= 0x80) ch = '?';
    }
    return out;
}
std::string ToDisplayCharset(const std::string& device) { return ToDisplayCharset(device, App().IsCyrillic()); }
std::string ToDeviceCharset(const std::string& display) { return ToDeviceCharset(display, App().IsCyrillic()); }
