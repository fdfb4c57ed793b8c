#include <gtest/gtest.h>

#include "util/ErrorInfo.h"
#include "util/Format.h"

TEST(Format, ArgumentsAreNeverPatterns)
{
    EXPECT_EQ(FormatMessageText("Datei \"%s\".", "a%sb%d", 0), "Datei \"a%sb%d\".");
    EXPECT_EQ(FormatMessageText("Zeile %d.", 42), "Zeile 42.");
    EXPECT_EQ(FormatMessageText("Datei %s, Zeile %d.", "X", 7), "Datei X, Zeile 7.");
    EXPECT_EQ(FormatString("%02X %03u %%", {27L, 5L}), "1B 005 %");
    EXPECT_EQ(FormatString("%s %s %d", {std::string("a")}), "a  0");
}
