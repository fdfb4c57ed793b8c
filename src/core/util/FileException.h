#pragma once
#include <stdexcept>
#include <string>

// A failed file operation. "generic" marks invalid data (a damaged list),
// the other causes come from the operating system.
class CFileException : public std::runtime_error {
public:
    enum Cause { generic, fileNotFound, accessDenied, diskError, endOfFile };

    explicit CFileException(Cause cause, const std::string& what = "file error", int osError = 0)
        : std::runtime_error(what), m_cause(cause), m_osError(osError) {}

    Cause GetCause() const { return m_cause; }
    int GetOsError() const { return m_osError; }

    [[noreturn]] static void ThrowGeneric(const std::string& what = "invalid data") {
        throw CFileException(generic, what);
    }

private:
    Cause m_cause;
    int m_osError;
};
