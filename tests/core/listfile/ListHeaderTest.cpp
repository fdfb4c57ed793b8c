#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "listfile/ByteStream.h"
#include "listfile/ListHeader.h"
#include "util/FileException.h"

namespace {
// A text group header: type 9, length 0x0123, project "PRJ", identifier "ABC", name "Name".
const std::vector<uint8_t> kHeaderEx = {
    9, 0x23, 0x01,           // type, length
    4, 'P', 'R', 'J',        // project
    'A', 'B', 'C',           // identifier
    5, 'N', 'a', 'm', 'e',   // name
};
}  // namespace

TEST(ListHeader, WritesAndReadsTheShortForm)
{
    ListHeader h;
    h.type = LTC_SYSDATA;
    h.length = 0x0203;
    h.project = "Anlage";
    CByteWriter w;
    h.Write(w);
    EXPECT_EQ(w.Data(), (std::vector<uint8_t>{1, 0x03, 0x02, 7, 'A', 'n', 'l', 'a', 'g', 'e'}));
    EXPECT_EQ(w.Size(), h.Size());

    CByteReader r(w.Data());
    ListHeader back;
    back.Read(r);
    EXPECT_EQ(back.type, 1);
    EXPECT_EQ(back.length, 0x0203);
    EXPECT_EQ(back.project, "Anlage");
}

TEST(ListHeaderEx, MatchesTheFixture)
{
    ListHeaderEx h;
    h.type = LTC_TEXTGROUP;
    h.length = 0x0123;
    h.project = "PRJ";
    h.identifier = "ABC";
    h.name = "Name";
    CByteWriter w;
    h.Write(w);
    EXPECT_EQ(w.Data(), kHeaderEx);
    EXPECT_EQ(w.Size(), h.Size());

    CByteReader r(kHeaderEx);
    ListHeaderEx back;
    back.Read(r);
    EXPECT_EQ(back.type, 9);
    EXPECT_EQ(back.length, 0x0123);
    EXPECT_EQ(back.project, "PRJ");
    EXPECT_EQ(back.identifier, "ABC");
    EXPECT_EQ(back.name, "Name");
    EXPECT_TRUE(r.AtEnd());
}

TEST(ListHeaderEx, WritingRefusesBadIdentifiersAndLongNames)
{
    struct Case {
        std::string identifier, project, name;
    } cases[] = {
        {"AB", "P", "N"},
        {"ABCD", "P", "N"},
        {"", "P", "N"},
        {"ABC", std::string(81, 'p'), "N"},
        {"ABC", "P", std::string(81, 'n')},
    };
    for (const Case& c : cases) {
        ListHeaderEx h;
        h.type = 2;
        h.identifier = c.identifier;
        h.project = c.project;
        h.name = c.name;
        CByteWriter w;
        try {
            h.Write(w);
            ADD_FAILURE() << "accepted identifier '" << c.identifier << "'";
        } catch (const CFileException& e) {
            EXPECT_EQ(e.GetCause(), CFileException::generic);
        }
    }
}

TEST(ListHeader, ShortHeaderRefusesAProjectNameAbove80)
{
    ListHeader h;
    h.type = 1;
    h.project = std::string(81, 'x');
    CByteWriter w;
    EXPECT_THROW(h.Write(w), CFileException);
    h.project = std::string(80, 'x');
    CByteWriter ok;
    h.Write(ok);
    EXPECT_EQ(ok.Size(), 84u);
}

TEST(ListHeaderEx, EveryCutOfTheFixtureFails)
{
    for (size_t cut = 0; cut < kHeaderEx.size(); ++cut) {
        SCOPED_TRACE(cut);
        std::vector<uint8_t> data(kHeaderEx.begin(), kHeaderEx.begin() + static_cast<std::ptrdiff_t>(cut));
        data.shrink_to_fit();
        CByteReader r(data);
        ListHeaderEx h;
        EXPECT_THROW(h.Read(r), CFileException);
    }
    for (size_t cut = 0; cut < 7; ++cut) {
        SCOPED_TRACE(cut);
        std::vector<uint8_t> data(kHeaderEx.begin(), kHeaderEx.begin() + static_cast<std::ptrdiff_t>(cut));
        data.shrink_to_fit();
        CByteReader r(data);
        ListHeader h;
        EXPECT_THROW(h.Read(r), CFileException);
    }
}
