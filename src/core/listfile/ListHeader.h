#pragma once
#include <cstdint>
#include <string>

class CByteReader;
class CByteWriter;

// First byte of every list file: the list type, the same code the device telegrams use.
enum ListTypeCode : uint8_t {
    LTC_SYSDATA = 1,
    LTC_PICTURE = 2,
    LTC_OPTION = 3,
    LTC_TEXTGROUP = 9,
    LTC_TEXTGROUP_PROTOCOL = 10,
    LTC_PROTOCOL = 11,
    LTC_STEPSEQUENCE = 12,
    LTC_STANDARD_TEXTS = 128,
    LTC_USER_SYMBOLS = 129,
    LTC_FIXED_SYMBOLS = 132,
};

// Short header: type, total length, project name.
struct ListHeader {
    uint8_t type = 0;
    uint16_t length = 0;
    std::string project;

    void Read(CByteReader& in);
    void Write(CByteWriter& out) const;
    // Bytes the header takes when written.
    size_t Size() const { return 4 + project.size(); }
};

// Long header: the short header plus the 3-character identifier and the list name.
struct ListHeaderEx {
    uint8_t type = 0;
    uint16_t length = 0;
    std::string project;
    std::string identifier;
    std::string name;

    void Read(CByteReader& in);
    void Write(CByteWriter& out) const;
    size_t Size() const { return 4 + project.size() + 3 + 1 + name.size(); }
};

// The header form of a list file, as its type code determines it.
enum class HeaderForm { Short, Long, TypeAndLength };

// Whichever header the type code at the start of a list file calls for:
// the short header (SDAT, XTEX, ASYM), the long one (pictures, text groups,
// protocol and step-sequence lists) or type and length only (FSYM). A code
// that no list uses raises the generic file error.
struct AnyListHeader {
    uint8_t type = 0;
    uint16_t length = 0;
    HeaderForm form = HeaderForm::Short;
    std::string identifier;  // long header only
    std::string name;        // long header only

    void Read(CByteReader& in);
};
