#include <gtest/gtest.h>

#include <string>

#include "util/Charset.h"

namespace {
std::string B(std::initializer_list<int> bytes)
{
    std::string s;
    for (int b : bytes) s += static_cast<char>(b);
    return s;
}
}  // namespace

TEST(Charset, CyrillicScreenToDevice)
{
    struct Case {
        const char* what;
        int display;
        int device;
    } cases[] = {
        {"capital Be", 0xC1, 0x62},
        {"small be", 0xE1, 0x62},
        {"capital A", 0xC0, 0x61},
        {"capital Yu", 0xDE, 0x60},
        {"capital Che", 0xD7, 0x7E},
        {"capital Ya", 0xDF, 0x71},
        {"small ya", 0xFF, 0x71},
        {"capital hard sign", 0xDA, 0x78},
        {"small hard sign", 0xFA, 0x78},
        {"capital soft sign", 0xDC, 0x78},
        {"small yo", 0xB8, '?'},
        {"copyright sign", 0xA9, '?'},
        {"0x80", 0x80, '?'},
        {"0xBF", 0xBF, '?'},
        {"Latin A", 'A', 'A'},
        {"Latin b", 'b', 'b'},
        {"DEL", 0x7F, 0x7F},
        {"ESC", 0x1B, 0x1B},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(ToDeviceCharset(B({c.display}), true), B({c.device}));
    }
}

TEST(Charset, CyrillicDeviceToScreen)
{
    struct Case {
        int device;
        int display;
    } cases[] = {
        {0x60, 0xDE}, {0x61, 0xC0}, {0x62, 0xC1}, {0x63, 0xD6}, {0x64, 0xC4}, {0x65, 0xC5}, {0x66, 0xD4},
        {0x67, 0xC3}, {0x68, 0xD5}, {0x69, 0xC8}, {0x6A, 0xC9}, {0x6B, 0xCA}, {0x6C, 0xCB}, {0x6D, 0xCC},
        {0x6E, 0xCD}, {0x6F, 0xCE}, {0x70, 0xCF}, {0x71, 0xDF}, {0x72, 0xD0}, {0x73, 0xD1}, {0x74, 0xD2},
        {0x75, 0xD3}, {0x76, 0xC6}, {0x77, 0xC2}, {0x78, 0xDC}, {0x79, 0xDB}, {0x7A, 0xC7}, {0x7B, 0xD8},
        {0x7C, 0xDD}, {0x7D, 0xD9}, {0x7E, 0xD7},
        {0x7F, 0x7F}, {0x5F, 0x5F}, {'A', 'A'}, {0xC1, 0xC1}, {0x00, 0x00},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.device);
        EXPECT_EQ(ToDisplayCharset(B({c.device}), true), B({c.display}));
    }
    // Shown through the Cyrillic code page: "БАЗА" in module codes.
    EXPECT_EQ(Cp1251ToUtf8(ToDisplayCharset("bazA", true)), "БАЗA");
}

TEST(Charset, RoundTripsAndIdentityWhenOff)
{
    for (int c = 0; c < 256; ++c) {
        SCOPED_TRACE(c);
        std::string one = B({c});
        EXPECT_EQ(ToDisplayCharset(one, false), one);
        EXPECT_EQ(ToDeviceCharset(one, false), one);
        if (c >= 0x60 && c <= 0x7E) {
            EXPECT_EQ(ToDeviceCharset(ToDisplayCharset(one, true), true), one);
        }
        // Every letter comes back as its capital (the hard sign as the soft sign).
        if (c >= 0xC0) {
            int capital = c >= 0xE0 ? c - 0x20 : c;
            if (capital == 0xDA) capital = 0xDC;
            EXPECT_EQ(ToDisplayCharset(ToDeviceCharset(one, true), true), B({capital}));
        }
    }
    std::string mixed = B({'N', 0xC1, 0xE1, 0xB8, 0x00, 0x7F});
    EXPECT_EQ(ToDeviceCharset(mixed, true), B({'N', 0x62, 0x62, '?', 0x00, 0x7F}));
}
