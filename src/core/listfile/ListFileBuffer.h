#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "listfile/ByteStream.h"

// The whole-file memory buffer through which every list is read and written:
// one disk read on open, one disk write on close. A write goes to a
// temporary file in the same directory that is flushed and renamed over the
// old file, so a failed save never leaves a half-written list behind.
class CListFileBuffer {
public:
    enum Mode { modeRead, modeWrite };

    // Opens for reading (whole file in memory) or writing (empty block).
    // Raises CFileException when a file to read cannot be opened.
    CListFileBuffer(const std::string& path, Mode mode);
    // The reader points into this object's own block: a copy would read
    // through a dangling view once the original is gone.
    CListFileBuffer(const CListFileBuffer&) = delete;
    CListFileBuffer& operator=(const CListFileBuffer&) = delete;

    CByteReader& Reader() { return m_reader; }
    CByteWriter& Writer() { return m_writer; }
    const std::vector<uint8_t>& Bytes() const { return m_mode == modeRead ? m_data : m_writer.Data(); }

    // Writing buffer: replaces the file on disk with the block (raises on failure).
    void Close();

private:
    std::string m_path;
    Mode m_mode;
    std::vector<uint8_t> m_data;
    CByteReader m_reader;
    CByteWriter m_writer;
    bool m_closed = false;
};
