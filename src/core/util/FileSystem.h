#pragma once
#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

// File helpers over POSIX. Names inside a project directory are matched
// ignoring case, as on the module's original platform.
namespace fsx {

// Appends '/' when missing (an empty directory stays empty).
std::string WithSlash(const std::string& dir);
std::string JoinPath(const std::string& dir, const std::string& name);
std::string DirName(const std::string& path);   // with trailing '/'
std::string FileName(const std::string& path);

bool IsDirectory(const std::string& path);
bool IsRegularFile(const std::string& path);

// The name of the entry in dir that equals name ignoring case (the exact
// spelling wins), or empty when there is none.
std::string FindIgnoreCase(const std::string& dir, const std::string& name);
// dir + the on-disk spelling of name when it exists, else dir + name.
std::string ResolvePath(const std::string& dir, const std::string& name);
bool ExistsIgnoreCase(const std::string& dir, const std::string& name);

struct DirEntry {
    std::string name;
    bool isDirectory;
};
// Entries of dir whose names match the wildcard pattern ignoring case, sorted by name.
std::vector<DirEntry> FindFiles(const std::string& dir, const std::string& pattern);

struct FileStatus {
    int64_t size = 0;
    std::time_t mtime = 0;
    std::time_t ctime = 0;
};
std::optional<FileStatus> Stat(const std::string& path);

// Date and time of a file in the user's locale, short date then time.
std::string FormatFileTime(std::time_t t);

// Reads at most maxBytes from the start of the file (probes need only the header).
bool ReadFileHead(const std::string& path, size_t maxBytes, std::vector<uint8_t>& data);
bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& data, std::string* error = nullptr);
// Writes through a temporary file in the same directory, flushed and renamed
// over the target, so a failed write never leaves a half-written file.
bool WriteFileAtomic(const std::string& path, const uint8_t* data, size_t size, std::string* error = nullptr);
bool RemoveFile(const std::string& path);  // a missing file is no error
bool CopyFile(const std::string& from, const std::string& to);
// Creates every directory along path.
bool MakeDirectories(const std::string& path);

// True when path, made absolute and normalised, lies inside dir.
bool IsInside(const std::string& dir, const std::string& path);

}  // namespace fsx
