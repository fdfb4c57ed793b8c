#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "listfile/ByteStream.h"
#include "util/FileException.h"

namespace {
std::vector<uint8_t> Bytes(const std::string& s) { return std::vector<uint8_t>(s.begin(), s.end()); }

// Every reader on a block that ends too early must raise the generic file
// error. The block is copied into an allocation of exactly its size so that
// the address sanitizer sees any read past it.
template <typename Read>
void ExpectGenericError(const std::vector<uint8_t>& data, Read read)
{
    std::vector<uint8_t> exact(data.begin(), data.end());
    exact.shrink_to_fit();
    CByteReader in(exact);
    try {
        read(in);
        ADD_FAILURE() << "no error on " << data.size() << " bytes";
    } catch (const CFileException& e) {
        EXPECT_EQ(e.GetCause(), CFileException::generic);
    }
}
}  // namespace

TEST(ShortString, LengthLimitsOnWritingAndReading)
{
    struct Case {
        size_t chars;
        bool writable;
    } cases[] = {{0, true}, {1, true}, {80, true}, {81, false}, {255, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.chars);
        std::string text(c.chars, 'x');
        CByteWriter w;
        if (!c.writable) {
            EXPECT_THROW(w.WriteShortString(text), CFileException);
            continue;
        }
        w.WriteShortString(text);
        ASSERT_EQ(w.Size(), c.chars + 1);
        EXPECT_EQ(w.Data()[0], c.chars + 1);
        CByteReader r(w.Data());
        EXPECT_EQ(r.ReadShortString(), text);
        EXPECT_TRUE(r.AtEnd());
    }
}

TEST(ShortString, EmptyStringIsTheSingleByteOne)
{
    CByteWriter w;
    w.WriteShortString("");
    EXPECT_EQ(w.Data(), std::vector<uint8_t>{1});
}

TEST(ShortString, BadLengthBytesFail)
{
    // 0 and anything above 81 are invalid; 81 (80 characters) is the largest valid one.
    for (int len : {0, 82, 200, 255}) {
        SCOPED_TRACE(len);
        std::vector<uint8_t> data(300, 'a');
        data[0] = static_cast<uint8_t>(len);
        ExpectGenericError(data, [](CByteReader& in) { in.ReadShortString(); });
    }
    std::vector<uint8_t> ok(81, 'a');
    ok[0] = 81;
    CByteReader r(ok);
    EXPECT_EQ(r.ReadShortString().size(), 80u);
}

TEST(ShortString, LengthBeyondTheEndOrCharactersCutFail)
{
    ExpectGenericError({}, [](CByteReader& in) { in.ReadShortString(); });
    ExpectGenericError({5, 'a', 'b'}, [](CByteReader& in) { in.ReadShortString(); });
}

TEST(ByteReader, EveryReaderStopsAtTheEnd)
{
    ExpectGenericError({}, [](CByteReader& in) { in.ReadU8(); });
    ExpectGenericError({1}, [](CByteReader& in) { in.ReadU16(); });
    ExpectGenericError({1, 2}, [](CByteReader& in) {
        uint8_t out[3];
        in.ReadBytes(out, 3);
    });
    ExpectGenericError({1, 2}, [](CByteReader& in) { in.ReadChars(3); });
    ExpectGenericError({'a', 'b'}, [](CByteReader& in) { in.ReadZString(); });
    ExpectGenericError({'a', 'b'}, [](CByteReader& in) { in.ReadEscapedText(); });
    ExpectGenericError({'a', 27}, [](CByteReader& in) { in.ReadEscapedText(); });
    ExpectGenericError({'a', 27, 5}, [](CByteReader& in) { in.ReadEscapedText(); });
    ExpectGenericError({'a', 27, 5, 0}, [](CByteReader& in) { in.ReadEscapedText(); });  // no terminator after the escape
    ExpectGenericError({1, 2}, [](CByteReader& in) { in.Skip(3); });
    ExpectGenericError({1, 2}, [](CByteReader& in) { in.Seek(3); });
    ExpectGenericError({1, 2}, [](CByteReader& in) { in.Sub(3); });
    // A sub-reader ends where its slice ends, not where the outer data ends.
    ExpectGenericError({1, 2, 3, 4}, [](CByteReader& in) {
        CByteReader sub = in.Sub(2);
        sub.ReadU16();
        sub.ReadU8();
    });
}

TEST(ByteReader, LittleEndianValues)
{
    CByteWriter w;
    w.WriteU16(0x1234);
    w.WriteU8(0xFE);
    w.WriteU16(0xFFFF);
    EXPECT_EQ(w.Data(), (std::vector<uint8_t>{0x34, 0x12, 0xFE, 0xFF, 0xFF}));
    CByteReader r(w.Data());
    EXPECT_EQ(r.ReadU16(), 0x1234);
    EXPECT_EQ(r.ReadU8(), 0xFE);
    EXPECT_EQ(r.ReadU16(), 0xFFFF);
    EXPECT_TRUE(r.AtEnd());

    w.PatchU16(0, 0xABCD);
    EXPECT_EQ(w.Data()[0], 0xCD);
    EXPECT_EQ(w.Data()[1], 0xAB);
    EXPECT_THROW(w.PatchU16(4, 1), CFileException);
}

TEST(ZString, ReadsUpToTheFirstZero)
{
    CByteWriter w;
    w.WriteZString("abc");
    w.WriteZString("");
    EXPECT_EQ(w.Data(), Bytes(std::string("abc\0\0", 5)));
    CByteReader r(w.Data());
    EXPECT_EQ(r.ReadZString(), "abc");
    EXPECT_EQ(r.ReadZString(), "");
    EXPECT_TRUE(r.AtEnd());
}

TEST(EscapedText, ValueWithZeroByteReadsBackWhole)
{
    // The value 256 is stored as ESC, 0, 1: the 0 belongs to the escape.
    std::string stored = EscapeText("a@256b");
    EXPECT_EQ(stored, std::string("a\x1B\x00\x01" "b", 5));
    CByteWriter w;
    w.WriteEscapedText(stored);
    w.WriteU8(0x77);
    EXPECT_EQ(w.Data(), Bytes(std::string("a\x1B\x00\x01" "b\x00\x77", 7)));
    CByteReader r(w.Data());
    EXPECT_EQ(r.ReadEscapedText(), stored);
    EXPECT_EQ(r.ReadU8(), 0x77);
    EXPECT_EQ(UnescapeText(stored), "a@256b");
}

TEST(EscapedText, EditingFormToStoredForm)
{
    struct Case {
        const char* editing;
        std::string stored;
    } cases[] = {
        {"@1234", std::string("\x1B\x7B\x00" "4", 4)},  // three digits at most, the fourth stays
        {"@5", std::string("\x1B\x05\x00", 3)},
        {"x@999y", std::string("x\x1B\xE7\x03y", 5)},
        {"@007", std::string("\x1B\x07\x00", 3)},
        {"@a", "@a"},                                   // at sign before a letter
        {"abc@", "abc@"},                               // at sign at the end
        {"@@1", std::string("@\x1B\x01\x00", 4)},
        {"", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.editing);
        EXPECT_EQ(EscapeText(c.editing), c.stored);
    }
}

TEST(EscapedText, StoredFormToEditingFormUsesThreeDigits)
{
    struct Case {
        std::string stored;
        const char* editing;
    } cases[] = {
        {std::string("\x1B\x05\x00", 3), "@005"},
        {std::string("\x1B\x7B\x00" "4", 4), "@1234"},
        {std::string("a\x1B\xE7\x03", 4), "a@999"},
        {std::string("\x1B\xFF\xFF", 3), "@65535"},
        {"plain", "plain"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.editing);
        EXPECT_EQ(UnescapeText(c.stored), c.editing);
        EXPECT_EQ(StoredTextLength(c.stored), std::string(c.editing).size());
    }
    // An escape cut off at the end of a text in memory does not read past it.
    std::string cut("a\x1B\x05", 3);
    EXPECT_EQ(UnescapeText(cut), "a@005");
}
