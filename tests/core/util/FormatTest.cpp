#include <gtest/gtest.h>

#include "util/Format.h"

TEST(FormatString, Conversions)
{
    struct Case {
        const char* pattern;
        std::vector<FormatArg> args;
        const char* expected;
    } cases[] = {
        {"%d", {42L}, "42"},
        {"%5d|%-5d|", {7L, -7L}, "    7|-7   |"},
        {"%02X %03u %%", {27L, 5L}, "1B 005 %"},
        {"%x", {-1L}, "ffffffff"},  // 32-bit unsigned as on the original platform
        {"%c", {65L}, "A"},
        {"%s", {std::string("abc")}, "abc"},
        {"[%-6s]", {std::string("ab")}, "[ab    ]"},
        {"[%6s]", {std::string("ab")}, "[    ab]"},
        {"[%-20.20s]", {std::string("Projektname")}, "[Projektname         ]"},
        {"[%-3.3s]", {std::string("abcdef")}, "[abc]"},
        {"%s", {12L}, "12"},                      // a number where text is expected
        {"%d", {std::string("34")}, "34"},        // text where a number is expected
        {"%s %s %d", {std::string("a")}, "a  0"},  // missing arguments
        {"100%", {}, "100%"},                      // a lone percent at the end
        {"%q", {1L}, "%q"},                        // unknown conversions print as they are
        {"%ld", {123L}, "123"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pattern);
        EXPECT_EQ(FormatString(c.pattern, c.args), c.expected);
    }
}

TEST(FormatString, LongTextsAreNotCutByABuffer)
{
    std::string longText(2000, 'z');
    EXPECT_EQ(FormatString("<%s>", {longText}), "<" + longText + ">");
    EXPECT_EQ(FormatString("%-10s|", {longText}), longText + "|");
}

TEST(FormatString, ArgumentsAreNeverPatterns)
{
    EXPECT_EQ(FormatString("%s", {std::string("%d%s%n")}), "%d%s%n");
}
