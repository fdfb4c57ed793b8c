#include "DeviceCommands.h"

#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <iostream>
#include <mutex>

#include "app/Application.h"
#include "comm/Comm.h"
#include "project/Projekt.h"
#include "transfer/ModuleDirectory.h"
#include "transfer/Transfer.h"
#include "util/Charset.h"
#include "util/ErrorInfo.h"
#include "util/StringTable.h"
#include "util/Strings.h"
#include "util/UserInteraction.h"

namespace {

constexpr int IDS_DELETE_QUESTION = 61346;

void SetUpLink(CComm& comm, const CliOptions& opt)
{
    if (!opt.port.empty()) comm.SetDevicePath(opt.port);
}

// The nodes named by the paths; null entry and exitCode set on failure.
bool ResolveAll(CProjekt& root, const std::vector<std::string>& paths, bool cyrillic, std::vector<CNode*>& out,
                int& exitCode)
{
    for (const std::string& p : paths) {
        CNode* n = ResolveNodePath(root, p, cyrillic, exitCode);
        if (!n) return false;
        out.push_back(n);
    }
    return true;
}

int CmdDir(const CliOptions& opt, const std::vector<std::string>& args)
{
    if (args.size() != 1) {
        PrintError(Utf8ToCp1252("Aufruf: px920 --port GERÄT dir PROJEKT"));
        return kExitUsage;
    }
    auto root = OpenProjectForCli(args[0]);
    if (!root) return kExitFailure;
    CComm comm;
    SetUpLink(comm, opt);
    CInhaltsverzeichnis directory(comm, root->GetExtension());
    bool ok = directory.Load();
    auto printEntry = [&](CNode* n) {
        std::string line;
        for (int c = 0; c < 5; ++c) {
            if (c) line += '\t';
            line += n->GetColumnText(c);
        }
        PrintLine(line, opt.cyrillic);
    };
    for (CNode* c : directory.m_children) {
        if (c->GetType() == NT_DEVICE_FOLDER) {
            for (CNode* e : static_cast<CListNode*>(c)->m_children) printEntry(e);
        } else {
            printEntry(c);
        }
    }
    if (!ok) return kExitFailure;
    PrintLine(directory.GetSummaryText(), opt.cyrillic);
    return kExitOk;
}

// Shows the transfer's progress as the dialog's bar does (0 to 20) when
// stderr is a terminal.
void ShowProgress(const CComm& comm, const std::string& id, bool final)
{
    static const bool tty = ::isatty(2) != 0;
    if (!tty) return;
    int pos = comm.DataLength() ? comm.Progress() * 20 / comm.DataLength() : 0;
    if (pos > 20) pos = 20;
    std::string bar = "\r" + id + " [" + std::string(pos, '#') + std::string(20 - pos, '.') + "]";
    if (final) bar = "\r" + std::string(bar.size(), ' ') + "\r";
    std::fputs(bar.c_str(), stderr);
    std::fflush(stderr);
}

int CmdTransfer(bool load, const CliOptions& opt, const std::vector<std::string>& args)
{
    if (args.size() < 2) {
        PrintError(Utf8ToCp1252(std::string("Aufruf: px920 --port GERÄT ") + (load ? "load" : "read") + " PROJEKT PFAD..."));
        return kExitUsage;
    }
    auto root = OpenProjectForCli(args[0]);
    if (!root) return kExitFailure;
    std::vector<CNode*> items;
    int exitCode = kExitOk;
    if (!ResolveAll(*root, std::vector<std::string>(args.begin() + 1, args.end()), opt.cyrillic, items, exitCode))
        return exitCode;

    std::mutex mutex;
    std::condition_variable cv;
    bool done = false;
    int result = 0;
    CComm comm;
    SetUpLink(comm, opt);
    IUserInteraction& ui = App().Ui();
    if (!OpenLinkForUser(comm, 2, ui, [&](unsigned, int r) {
            std::lock_guard<std::mutex> lock(mutex);
            done = true;
            result = r;
            cv.notify_all();
        }))
        return kExitFailure;

    CTransferSequence sequence(items);
    int rc = kExitOk;
    while (CFileList* list = sequence.Next()) {
        std::string id = ToUpper(list->GetBaseName());
        std::string fileName = ToUpper(list->GetFileName());
        {
            std::lock_guard<std::mutex> lock(mutex);
            done = false;
        }
        bool started = load ? comm.StartLoad(root->GetDirectory(), fileName)
                            : comm.StartRead(root->GetDirectory(), fileName);
        if (!started) {
            comm.ErrorInfo().Report(ui);
            comm.ErrorInfo().Clear();
            rc = kExitFailure;
            break;
        }
        {
            std::unique_lock<std::mutex> lock(mutex);
            while (!cv.wait_for(lock, std::chrono::milliseconds(250), [&] { return done; })) {
                lock.unlock();
                ShowProgress(comm, id, false);
                lock.lock();
            }
        }
        comm.WaitForTransfer();
        ShowProgress(comm, id, true);
        if (result == 0) {
            comm.ErrorInfo().Report(ui);
            comm.ErrorInfo().Clear();
            rc = kExitFailure;
            break;
        }
        if (!load) TakeReadListIntoProject(*root, fileName);
        PrintLine(id + ": ok", opt.cyrillic);
        sequence.Completed();
    }
    if (sequence.LoadFailed()) {
        CErrorInfo err;
        err.Set(IDS_FILE_ACCESS);
        err.Report(ui);
        rc = kExitFailure;
    }
    comm.Close();
    return rc;
}

bool AskOnTerminal(const std::string& question)
{
    std::string utf8 = Cp1252ToUtf8(question) + " [j/N] ";
    std::fputs(utf8.c_str(), stderr);
    std::fflush(stderr);
    std::string answer;
    if (!std::getline(std::cin, answer)) return false;
    answer = ToLower(Trim(answer));
    return answer == "j" || answer == "ja" || answer == "y" || answer == "yes";
}

int CmdDelete(const CliOptions& opt, const std::vector<std::string>& args)
{
    if (args.size() < 2) {
        PrintError(Utf8ToCp1252("Aufruf: px920 --port GERÄT delete PROJEKT PFAD... [--yes]"));
        return kExitUsage;
    }
    auto root = OpenProjectForCli(args[0]);
    if (!root) return kExitFailure;
    std::vector<CNode*> selected;
    int exitCode = kExitOk;
    if (!ResolveAll(*root, std::vector<std::string>(args.begin() + 1, args.end()), opt.cyrillic, selected, exitCode))
        return exitCode;
    std::vector<CNode*> lists = CollectForModuleDelete(selected);
    if (lists.empty()) return kExitOk;
    if (!opt.yes && !AskOnTerminal(LoadString(IDS_DELETE_QUESTION))) return kExitFailure;

    CComm comm;
    SetUpLink(comm, opt);
    IUserInteraction& ui = App().Ui();
    if (!OpenLinkForUser(comm, 2, ui)) return kExitFailure;
    int rc = kExitOk;
    for (CNode* n : lists) {
        auto* list = static_cast<CFileList*>(n);
        std::string id = ToUpper(list->GetBaseName());
        if (comm.DeleteList(id)) {
            PrintLine(id + ": ok", opt.cyrillic);
        } else {
            comm.ErrorInfo().Report(ui);
            comm.ErrorInfo().Clear();
            rc = kExitFailure;
        }
    }
    comm.Close();
    return rc;
}

}  // namespace

int RunDeviceCommand(const std::string& command, const CliOptions& opt, const std::vector<std::string>& args)
{
    if (command == "dir") return CmdDir(opt, args);
    if (command == "load") return CmdTransfer(true, opt, args);
    if (command == "read") return CmdTransfer(false, opt, args);
    if (command == "delete") return CmdDelete(opt, args);
    return kExitUsage;
}
