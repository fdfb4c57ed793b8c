#pragma once
#include <memory>
#include <string>
#include <vector>

class CNode;
class CProjekt;

// Options common to every px920 command.
struct CliOptions {
    bool cyrillic = false;   // --cyrillic
    std::string port;        // --port DEV (overrides the ComPort mapping)
    bool yes = false;        // --yes
    std::string name;        // --name NAME
    std::string ext;         // --ext 920|SYS
};

// Exit codes of the command-line tool.
constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

// Writes display bytes (Windows-1252/1251) to stdout/stderr as UTF-8.
void PrintLine(const std::string& displayBytes, bool cyrillic);
void PrintError(const std::string& displayBytes);

// Opens the project in dir and loads its root as the desktop does. Null,
// with "Kein Projekt: DIR" on stderr, when dir holds no project.
std::unique_ptr<CProjekt> OpenProjectForCli(const std::string& dir);

// Follows a '/'-separated PATH from the root as "px920 ls" does: each element
// is a 1-based row number or the first child whose column 0 or 1 equals it
// ignoring case. Lists on the way are loaded as opening a window loads them.
// Returns null and sets exitCode (1: a list could not be loaded, message
// printed; 2: unknown element, message printed).
CNode* ResolveNodePath(CProjekt& root, const std::string& path, bool cyrillic, int& exitCode);
