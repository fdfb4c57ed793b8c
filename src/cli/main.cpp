// px920: the command-line tool. Inspects any node of a project as its window
// would show it, validates lists, creates projects and writes the demo.
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "CliCommon.h"
#include "Demo.h"
#include "app/Application.h"
#include "project/ListKinds.h"
#include "project/NewProject.h"
#include "project/Projekt.h"
#include "util/Charset.h"
#include "util/ErrorInfo.h"
#include "util/FileSystem.h"
#include "util/StringTable.h"
#include "util/Strings.h"
#include "util/UserInteraction.h"
#include "DeviceCommands.h"
#include "TextsCommands.h"

namespace {

const char* kUsage =
    "Aufruf: px920 [--cyrillic] [--port GERÄT] BEFEHL ...\n"
    "  ls PROJEKT [PFAD]            Spalten des Knotens und seiner Zeilen\n"
    "  info PROJEKT                 Projektname, Erweiterung, Datum\n"
    "  validate PROJEKT [PFAD]      Listen prüfen\n"
    "  new VERZEICHNIS NAME [--ext 920|SYS]\n"
    "  demo VERZEICHNIS             Demo-Projekt anlegen\n"
    "  dir PROJEKT                  Inhaltsverzeichnis PX920\n"
    "  load PROJEKT PFAD...         Laden PX920\n"
    "  read PROJEKT PFAD...         Lesen PX920\n"
    "  delete PROJEKT PFAD... [--yes]  Löschen PX920\n"
    "  texts export PROJEKT TGRUPPE | texts import PROJEKT TGRUPPE DATEI [--name NAME]\n"
    ;

int Usage()
{
    std::fputs(kUsage, stderr);
    return kExitUsage;
}

// Messages on the terminal: printed, answered with the default button.
class CTerminalUserInteraction : public IUserInteraction {
public:
    int MessageBox(const std::string& text, unsigned style) override
    {
        PrintError(text);
        unsigned type = style & mb::TYPEMASK;
        return type == mb::YESNO || type == mb::YESNOCANCEL ? IDYES : IDOK;
    }
};

std::string ExecutableDir()
{
    char buf[PATH_MAX];
    ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0) return "./";
    buf[n] = 0;
    return fsx::DirName(buf);
}

int CmdInfo(const CliOptions&, const std::vector<std::string>& args)
{
    if (args.size() != 1) return Usage();
    CProjekt root(args[0]);
    if (!root.m_valid) {
        PrintError("Kein Projekt: " + Utf8ToCp1252(args[0]));
        return kExitFailure;
    }
    PrintLine(TrimRight(root.m_name) + "\t" + root.GetExtension() + "\t" + root.GetDate(), false);
    return kExitOk;
}

int CmdLs(const CliOptions& opt, const std::vector<std::string>& args)
{
    if (args.empty() || args.size() > 2) return Usage();
    auto root = OpenProjectForCli(args[0]);
    if (!root) return kExitFailure;
    int code = kExitOk;
    CNode* node = ResolveNodePath(*root, args.size() > 1 ? args[1] : std::string(), opt.cyrillic, code);
    if (!node) return code;
    if (!node->IsList()) {
        // An entry: its own row is all there is to show.
        std::string line;
        for (int c = 0; c < 8; ++c) {
            std::string text = node->GetColumnText(c);
            if (c > 0) line += '\t';
            line += text;
        }
        PrintLine(TrimRight(line, '\t'), opt.cyrillic);
        return kExitOk;
    }
    auto* list = static_cast<CListNode*>(node);
    std::string headers = list->GetColumnHeaders();
    for (char& ch : headers)
        if (ch == '\n') ch = '\t';
    PrintLine(headers, false);
    int columns = list->GetColumnCount();
    for (CNode* child : list->m_children) {
        std::string line;
        for (int c = 0; c < columns; ++c) {
            if (c > 0) line += '\t';
            line += child->GetColumnText(c);
        }
        PrintLine(line, opt.cyrillic);
    }
    return kExitOk;
}

// Validates one list; prints "<base name>: <message>" on failure.
bool ValidateList(CNode* node, const std::string& label)
{
    CErrorInfo err;
    if (node->IsList()) {
        auto* list = static_cast<CListNode*>(node);
        if (!list->m_loaded && !list->Load()) {
            err.Set(IDS_FILE_ACCESS);
            PrintError(label + ": " + err.Format());
            return false;
        }
    }
    if (!node->Validate(err, 1)) {
        PrintError(label + ": " + err.Format());
        return false;
    }
    return true;
}

std::string LabelOf(CNode* node)
{
    if (CNode* owner = node->GetOwningList()) return static_cast<CFileList*>(owner)->GetBaseName();
    return node->GetColumnText(0);
}

int CmdValidate(const CliOptions& opt, const std::vector<std::string>& args)
{
    if (args.empty() || args.size() > 2) return Usage();
    auto root = OpenProjectForCli(args[0]);
    if (!root) return kExitFailure;
    bool ok = true;
    if (args.size() == 2) {
        int code = kExitOk;
        CNode* node = ResolveNodePath(*root, args[1], opt.cyrillic, code);
        if (!node) return code;
        ok = ValidateList(node, LabelOf(node));
    } else {
        for (CNode* c : root->m_children) {
            if (c->GetType() >= NT_CAT_BILDER && c->GetType() <= NT_CAT_OPTIONEN) {
                for (CNode* list : static_cast<CListNode*>(c)->m_children)
                    ok &= ValidateList(list, static_cast<CFileList*>(list)->GetBaseName());
            } else {
                ok &= ValidateList(c, static_cast<CFileList*>(c)->GetBaseName());
            }
        }
    }
    return ok ? kExitOk : kExitFailure;
}

int CmdNew(const CliOptions& opt, const std::vector<std::string>& args)
{
    if (args.size() != 2) return Usage();
    std::string ext = opt.ext.empty() ? App().Settings().projectExtension : ToUpper(opt.ext);
    if (ext != "920" && ext != "SYS") return Usage();
    CErrorInfo err;
    std::string dir;
    std::string name = Utf8ToCp1252(args[1]);
    if (name.size() > 32) {
        PrintError(Utf8ToCp1252("Der Projektname darf höchstens 32 Zeichen lang sein."));
        return kExitFailure;
    }
    if (!CheckNewProject(name, args[0], App().InstallRoot(), dir, err)) {
        PrintError(err.Format());
        return kExitFailure;
    }
    NewProjectRequest request;
    request.name = name;
    request.directory = dir;
    request.newSystemDataList = true;
    if (!CreateNewProject(request, dir, App().InstallRoot(), ext, err)) {
        PrintError(err.Format());
        return kExitFailure;
    }
    return kExitOk;
}

int CmdDemo(const CliOptions&, const std::vector<std::string>& args)
{
    if (args.size() != 1) return Usage();
    return WriteDemoProject(args[0]) ? kExitOk : kExitFailure;
}

}  // namespace

int main(int argc, char** argv)
{
    CliOptions opt;
    std::vector<std::string> words;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        auto value = [&](std::string& out) {
            if (i + 1 >= argc) return false;
            out = argv[++i];
            return true;
        };
        if (a == "--cyrillic") opt.cyrillic = true;
        else if (a == "--yes") opt.yes = true;
        else if (a == "--port") { if (!value(opt.port)) return Usage(); }
        else if (a == "--name") { if (!value(opt.name)) return Usage(); }
        else if (a == "--ext") { if (!value(opt.ext)) return Usage(); }
        else if (a == "--help" || a == "-h") { std::fputs(kUsage, stdout); return kExitOk; }
        else if (a.size() > 2 && a[0] == '-' && a[1] == '-') return Usage();
        else words.push_back(a);
    }
    if (words.empty()) return Usage();

    CWinPX920App& app = App();
    app.SetExecutableDir(ExecutableDir());
    CTerminalUserInteraction ui;
    app.SetUi(&ui);
    if (const char* ini = std::getenv("PX920WIN_INI"); ini && *ini) app.Settings().Read(ini);
    if (opt.cyrillic) app.Settings().cyrillic = true;
    opt.cyrillic = app.Settings().cyrillic;
    RegisterBuiltInListKinds();

    std::string cmd = words[0];
    std::vector<std::string> args(words.begin() + 1, words.end());
    int rc;
    if (cmd == "ls") rc = CmdLs(opt, args);
    else if (cmd == "info") rc = CmdInfo(opt, args);
    else if (cmd == "validate") rc = CmdValidate(opt, args);
    else if (cmd == "new") rc = CmdNew(opt, args);
    else if (cmd == "demo") rc = CmdDemo(opt, args);
    else if (cmd == "dir" || cmd == "load" || cmd == "read" || cmd == "delete") rc = RunDeviceCommand(cmd, opt, args);
    else if (cmd == "texts") rc = RunTextsCommand(opt, args);
    else rc = Usage();
    app.SetUi(nullptr);
    std::fflush(stdout);
    return rc;
}
