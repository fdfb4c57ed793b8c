#include "listfile/ListFileBuffer.h"

#include "util/FileException.h"
#include "util/FileSystem.h"

CListFileBuffer::CListFileBuffer(const std::string& path, Mode mode) : m_path(path), m_mode(mode)
{
    if (mode == modeRead) {
        std::string err;
        if (!fsx::ReadWholeFile(path, m_data, &err))
            throw CFileException(CFileException::fileNotFound, "cannot read " + path + ": " + err);
        m_reader = CByteReader(m_data);
    }
}

void CListFileBuffer::Close()
{
    if (m_closed) return;
    m_closed = true;
    if (m_mode == modeWrite) {
        std::string err;
        if (!fsx::WriteFileAtomic(m_path, m_writer.Data().data(), m_writer.Size(), &err))
            throw CFileException(CFileException::diskError, "cannot write " + m_path + ": " + err);
    }
}
