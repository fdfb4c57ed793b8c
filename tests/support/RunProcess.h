#pragma once
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

// Runs a built program and collects its output; tests of the command-line
// tools use it. The programs live in $PX920_BIN (set by CMake for ctest).
struct ProcessResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

inline std::string BinDir()
{
    const char* bin = std::getenv("PX920_BIN");
    return bin && *bin ? std::string(bin) + "/" : std::string("./bin/");
}

inline ProcessResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                                const std::vector<std::string>& env = {}, const std::string& input = {})
{
    ProcessResult r;
    int outPipe[2], errPipe[2], inPipe[2];
    if (pipe(outPipe) || pipe(errPipe) || pipe(inPipe)) return r;
    pid_t pid = fork();
    if (pid == 0) {
        dup2(inPipe[0], 0);
        dup2(outPipe[1], 1);
        dup2(errPipe[1], 2);
        close(inPipe[1]);
        close(outPipe[0]);
        close(errPipe[0]);
        for (const std::string& e : env) putenv(const_cast<char*>(e.c_str()));
        std::vector<char*> argv;
        std::string path = BinDir() + program;
        argv.push_back(const_cast<char*>(path.c_str()));
        for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(path.c_str(), argv.data());
        _exit(127);
    }
    close(inPipe[0]);
    close(outPipe[1]);
    close(errPipe[1]);
    if (!input.empty()) (void)!write(inPipe[1], input.data(), input.size());
    close(inPipe[1]);
    auto drain = [](int fd, std::string& into) {
        char buf[4096];
        ssize_t n;
        while ((n = read(fd, buf, sizeof buf)) > 0) into.append(buf, static_cast<size_t>(n));
        close(fd);
    };
    // stderr is small; read stdout first, then stderr (both pipes buffer 64 KiB).
    drain(outPipe[0], r.out);
    drain(errPipe[0], r.err);
    int status = 0;
    waitpid(pid, &status, 0);
    r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return r;
}

inline std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t nl = text.find('\n', start);
        if (nl == std::string::npos) nl = text.size();
        lines.push_back(text.substr(start, nl - start));
        start = nl + 1;
    }
    return lines;
}
