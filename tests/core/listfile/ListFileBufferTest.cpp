#include <gtest/gtest.h>

#include <sys/stat.h>

#include "listfile/ListFileBuffer.h"
#include "util/FileException.h"
#include "../util/TempDir.h"

TEST(ListFileBuffer, ReadsTheWholeFile)
{
    TempDir dir;
    std::vector<uint8_t> content = {1, 0, 0, 'x', 0, 255};
    dir.Write("SDAT.920", content);
    CListFileBuffer buf(dir / "SDAT.920", CListFileBuffer::modeRead);
    EXPECT_EQ(buf.Bytes(), content);
    EXPECT_EQ(buf.Reader().Size(), content.size());
    EXPECT_EQ(buf.Reader().ReadU8(), 1);
    buf.Close();  // nothing happens on disk for a reading buffer
    EXPECT_EQ(dir.Read("SDAT.920"), content);
}

TEST(ListFileBuffer, MissingFileIsAFileErrorButNotInvalidData)
{
    TempDir dir;
    try {
        CListFileBuffer buf(dir / "NONE.920", CListFileBuffer::modeRead);
        FAIL() << "opened a missing file";
    } catch (const CFileException& e) {
        EXPECT_NE(e.GetCause(), CFileException::generic);
    }
}

TEST(ListFileBuffer, WritesOnlyOnClose)
{
    TempDir dir;
    std::vector<uint8_t> old = {9, 9, 9};
    dir.Write("TABC.920", old);
    {
        CListFileBuffer buf(dir / "TABC.920", CListFileBuffer::modeWrite);
        buf.Writer().WriteU16(0x0102);
        EXPECT_EQ(dir.Read("TABC.920"), old);
        // Destroyed without Close, as when serialization fails: the old file stays.
    }
    EXPECT_EQ(dir.Read("TABC.920"), old);

    CListFileBuffer buf(dir / "TABC.920", CListFileBuffer::modeWrite);
    std::vector<uint8_t> big(5000, 0x5A);  // beyond any initial block size
    buf.Writer().WriteBytes(big);
    buf.Close();
    EXPECT_EQ(dir.Read("TABC.920"), big);
    EXPECT_EQ(buf.Bytes(), big);
}

TEST(ListFileBuffer, WriteIntoAMissingDirectoryFails)
{
    TempDir dir;
    CListFileBuffer buf(dir / "nowhere/SDAT.920", CListFileBuffer::modeWrite);
    buf.Writer().WriteU8(1);
    EXPECT_THROW(buf.Close(), CFileException);
}
