#include "CliCommon.h"

#include <cstdio>

#include "app/Application.h"
#include "project/Projekt.h"
#include "util/Charset.h"
#include "util/ErrorInfo.h"
#include "util/StringTable.h"
#include "util/Strings.h"

void PrintLine(const std::string& displayBytes, bool cyrillic)
{
    std::string utf8 = DisplayToUtf8(displayBytes, cyrillic);
    std::fwrite(utf8.data(), 1, utf8.size(), stdout);
    std::fputc('\n', stdout);
}

void PrintError(const std::string& displayBytes)
{
    std::string utf8 = Cp1252ToUtf8(displayBytes);
    std::fwrite(utf8.data(), 1, utf8.size(), stderr);
    std::fputc('\n', stderr);
}

std::unique_ptr<CProjekt> OpenProjectForCli(const std::string& dir)
{
    auto root = std::make_unique<CProjekt>(dir);
    if (!root->m_valid) {
        PrintError("Kein Projekt: " + Utf8ToCp1252(dir));
        return nullptr;
    }
    root->Load();
    return root;
}

namespace {
// Loads a list as opening its window does; reports 62042 when that fails.
bool LoadOrReport(CListNode& list, int& exitCode)
{
    if (list.m_loaded || list.Load()) return true;
    CErrorInfo err;
    err.Set(IDS_FILE_ACCESS);
    PrintError(err.Format());
    exitCode = kExitFailure;
    return false;
}
}  // namespace

CNode* ResolveNodePath(CProjekt& root, const std::string& path, bool cyrillic, int& exitCode)
{
    exitCode = kExitOk;
    CNode* node = &root;
    size_t pos = 0;
    while (pos < path.size()) {
        size_t slash = path.find('/', pos);
        std::string element = path.substr(pos, slash == std::string::npos ? std::string::npos : slash - pos);
        pos = slash == std::string::npos ? path.size() : slash + 1;
        if (element.empty()) continue;
        if (!node->IsList()) {
            PrintError("Unbekanntes Pfadelement: " + Utf8ToCp1252(element));
            exitCode = kExitUsage;
            return nullptr;
        }
        auto* list = static_cast<CListNode*>(node);
        if (!LoadOrReport(*list, exitCode)) return nullptr;
        CNode* next = nullptr;
        bool numeric = !element.empty() && element.find_first_not_of("0123456789") == std::string::npos;
        if (numeric && element.size() < 9) {
            next = list->GetChild(std::stoi(element) - 1);
        }
        if (!next) {
            // Column texts are display bytes; the element comes from the terminal as UTF-8.
            std::string wanted = Utf8ToDisplay(element, cyrillic);
            for (CNode* c : list->m_children) {
                if (IEquals(c->GetColumnText(0), wanted) || IEquals(c->GetColumnText(1), wanted) ||
                    IEquals(TrimRight(c->GetColumnText(0)), wanted)) {
                    next = c;
                    break;
                }
            }
        }
        if (!next) {
            PrintError("Unbekanntes Pfadelement: " + Utf8ToCp1252(element));
            exitCode = kExitUsage;
            return nullptr;
        }
        node = next;
    }
    if (node->IsList() && !LoadOrReport(*static_cast<CListNode*>(node), exitCode)) return nullptr;
    return node;
}
