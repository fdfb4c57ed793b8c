#include "util/FileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <random>

#include "util/Strings.h"

namespace fsx {

std::string WithSlash(const std::string& dir)
{
    if (dir.empty() || dir.back() == '/') return dir;
    return dir + '/';
}

std::string JoinPath(const std::string& dir, const std::string& name)
{
    if (dir.empty()) return name;
    return WithSlash(dir) + name;
}

std::string DirName(const std::string& path)
{
    size_t p = path.rfind('/');
    if (p == std::string::npos) return {};
    return path.substr(0, p + 1);
}

std::string FileName(const std::string& path)
{
    size_t p = path.rfind('/');
    return p == std::string::npos ? path : path.substr(p + 1);
}

bool IsDirectory(const std::string& path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool IsRegularFile(const std::string& path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string FindIgnoreCase(const std::string& dir, const std::string& name)
{
    if (name.empty() || name.find('/') != std::string::npos) return {};
    struct stat st {};
    std::string d = dir.empty() ? std::string("./") : WithSlash(dir);
    if (::lstat((d + name).c_str(), &st) == 0) return name;
    DIR* dp = ::opendir(d.c_str());
    if (!dp) return {};
    std::string found;
    while (dirent* e = ::readdir(dp)) {
        if (IEquals(e->d_name, name)) {
            // Deterministic among several spellings: the smallest byte order wins.
            if (found.empty() || std::string(e->d_name) < found) found = e->d_name;
        }
    }
    ::closedir(dp);
    return found;
}

std::string ResolvePath(const std::string& dir, const std::string& name)
{
    std::string found = FindIgnoreCase(dir, name);
    return JoinPath(dir, found.empty() ? name : found);
}

bool ExistsIgnoreCase(const std::string& dir, const std::string& name)
{
    return !FindIgnoreCase(dir, name).empty();
}

std::vector<DirEntry> FindFiles(const std::string& dir, const std::string& pattern)
{
    std::vector<DirEntry> out;
    std::string d = dir.empty() ? std::string("./") : WithSlash(dir);
    DIR* dp = ::opendir(d.c_str());
    if (!dp) return out;
    while (dirent* e = ::readdir(dp)) {
        std::string n = e->d_name;
        if (n == "." || n == "..") continue;
        if (!WildcardMatch(pattern, n)) continue;
        out.push_back({n, IsDirectory(d + n)});
    }
    ::closedir(dp);
    std::sort(out.begin(), out.end(), [](const DirEntry& a, const DirEntry& b) { return a.name < b.name; });
    return out;
}

std::optional<FileStatus> Stat(const std::string& path)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return std::nullopt;
    FileStatus fs;
    fs.size = st.st_size;
    fs.mtime = st.st_mtime;
    fs.ctime = st.st_ctime;
    return fs;
}

std::string FormatFileTime(std::time_t t)
{
    std::tm tmv {};
    localtime_r(&t, &tmv);
    char buf[128];
    // The short date and the time of the locale: what "%c" gives on the
    // module's original platform (glibc's "%c" spells the weekday and month out).
    size_t n = std::strftime(buf, sizeof buf, "%x %X", &tmv);
    return std::string(buf, n);
}

namespace {
// Reads up to maxBytes of a regular file; a file that shrank meanwhile
// delivers what it had.
bool ReadRegularFile(const std::string& path, size_t maxBytes, std::vector<uint8_t>& data, std::string* error)
{
    data.clear();
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (error) *error = std::strerror(errno);
        return false;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        if (error) *error = "not a regular file";
        ::close(fd);
        return false;
    }
    data.resize(std::min<size_t>(maxBytes, static_cast<size_t>(st.st_size)));
    size_t got = 0;
    while (got < data.size()) {
        ssize_t r = ::read(fd, data.data() + got, data.size() - got);
        if (r < 0 && errno == EINTR) continue;
        if (r <= 0) break;
        got += static_cast<size_t>(r);
    }
    ::close(fd);
    data.resize(got);
    return true;
}
}  // namespace

bool ReadFileHead(const std::string& path, size_t maxBytes, std::vector<uint8_t>& data)
{
    return ReadRegularFile(path, maxBytes, data, nullptr);
}

bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& data, std::string* error)
{
    return ReadRegularFile(path, SIZE_MAX, data, error);
}

bool WriteFileAtomic(const std::string& path, const uint8_t* data, size_t size, std::string* error)
{
    std::string dir = DirName(path);
    std::string tmpl = (dir.empty() ? std::string("./") : dir) + ".px920-XXXXXX";
    std::vector<char> name(tmpl.begin(), tmpl.end());
    name.push_back('\0');
    int fd = ::mkstemp(name.data());
    if (fd < 0) {
        if (error) *error = std::strerror(errno);
        return false;
    }
    bool ok = true;
    size_t done = 0;
    while (ok && done < size) {
        ssize_t w = ::write(fd, data + done, size - done);
        if (w < 0 && errno == EINTR) continue;
        if (w <= 0) ok = false;
        else done += static_cast<size_t>(w);
    }
    if (ok && ::fsync(fd) != 0) ok = false;
    // Keep the permissions of the file we replace; new files get the usual 0644 less umask.
    struct stat st {};
    mode_t mode = 0666;
    if (::stat(path.c_str(), &st) == 0) mode = st.st_mode & 07777;
    else {
        mode_t um = ::umask(0);
        ::umask(um);
        mode = 0666 & ~um;
    }
    ::fchmod(fd, mode);
    if (::close(fd) != 0) ok = false;
    if (ok && ::rename(name.data(), path.c_str()) != 0) ok = false;
    if (!ok) {
        if (error) *error = std::strerror(errno);
        ::unlink(name.data());
    }
    return ok;
}

bool RemoveFile(const std::string& path)
{
    return ::unlink(path.c_str()) == 0 || errno == ENOENT;
}

bool CopyFile(const std::string& from, const std::string& to)
{
    std::vector<uint8_t> data;
    if (!ReadWholeFile(from, data)) return false;
    return WriteFileAtomic(to, data.data(), data.size());
}

bool MakeDirectories(const std::string& path)
{
    std::string p;
    size_t i = 0;
    while (i <= path.size()) {
        size_t j = path.find('/', i);
        if (j == std::string::npos) j = path.size();
        p = path.substr(0, j);
        if (!p.empty()) ::mkdir(p.c_str(), 0777);
        i = j + 1;
    }
    return IsDirectory(path.empty() ? "." : path);
}

namespace {
std::string Normalise(const std::string& path)
{
    std::string abs = path;
    if (abs.empty() || abs[0] != '/') {
        char cwd[PATH_MAX];
        if (::getcwd(cwd, sizeof cwd)) abs = std::string(cwd) + "/" + abs;
    }
    std::vector<std::string> parts;
    size_t i = 0;
    while (i <= abs.size()) {
        size_t j = abs.find('/', i);
        if (j == std::string::npos) j = abs.size();
        std::string part = abs.substr(i, j - i);
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        i = j + 1;
    }
    std::string out;
    for (auto& part : parts) out += "/" + part;
    return out.empty() ? "/" : out;
}
}  // namespace

bool IsInside(const std::string& dir, const std::string& path)
{
    std::string d = Normalise(dir);
    std::string p = Normalise(path);
    if (d == "/") return true;
    return p.size() > d.size() && p.compare(0, d.size(), d) == 0 && p[d.size()] == '/';
}

}  // namespace fsx
