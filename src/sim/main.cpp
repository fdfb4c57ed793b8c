// px920sim: a PX920 module on a pseudo-terminal, for trying and testing the
// device link without hardware.
#include <fcntl.h>
#include <pty.h>
#include <signal.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <iostream>
#include <mutex>
#include <string>
#include <thread>

#include "r3964/StopEvent.h"
#include "serial/MemoryPort.h"
#include "sim/ModuleSim.h"
#include "util/Strings.h"

namespace {

void Usage(std::FILE* out)
{
    std::fputs(
        "usage: px920sim [--store DIR] [--link PATH] [--log FILE] [options]\n"
        "  --store DIR          keep the module's lists in DIR across runs\n"
        "  --link PATH          make PATH a symbolic link to the line's device\n"
        "  --log FILE           write every telegram in readable form to FILE (- for stderr)\n"
        "  --pace               emulate the timing of a 9600 baud 8E1 line\n"
        "  --memory BYTES       module memory for lists (default 262144)\n"
        "  --eprom ID[,ID...]   lists the module holds in EPROM\n"
        "  --config-state N     answer to the configuration state query, 0..4 (default 4)\n"
        "  --refuse-online      refuse the online picture configuration\n"
        "  --element-error N    answer element telegrams with error N\n"
        "  --fault KIND[@N]     no-enq-answer, nak-stx, bad-bcc, no-final-dle, stall, bad-answer;\n"
        "                       @N: only at the N-th frame (ENQ for no-enq-answer)\n",
        out);
}

bool ParseInt(const char* text, long min, long max, long& out)
{
    char* end = nullptr;
    errno = 0;
    long v = std::strtol(text, &end, 10);
    if (errno || end == text || *end || v < min || v > max) return false;
    out = v;
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    ModuleSimOptions opt;
    std::string link, logPath;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        auto value = [&](const char* name) -> const char* {
            if (i + 1 >= argc) {
                std::fprintf(stderr, "px920sim: %s needs a value\n", name);
                std::exit(2);
            }
            return argv[++i];
        };
        long n = 0;
        if (a == "--store") {
            opt.storeDir = value("--store");
        } else if (a == "--link") {
            link = value("--link");
        } else if (a == "--log") {
            logPath = value("--log");
        } else if (a == "--pace") {
            opt.pace = true;
        } else if (a == "--memory") {
            if (!ParseInt(value("--memory"), 0, 16L * 1024 * 1024, n)) return Usage(stderr), 2;
            opt.memorySize = static_cast<uint32_t>(n);
        } else if (a == "--eprom") {
            std::string ids = value("--eprom");
            size_t start = 0;
            while (start <= ids.size()) {
                size_t comma = ids.find(',', start);
                std::string id = ids.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
                if (!id.empty()) opt.eprom.push_back(ToUpper(id));
                if (comma == std::string::npos) break;
                start = comma + 1;
            }
        } else if (a == "--config-state") {
            if (!ParseInt(value("--config-state"), 0, 4, n)) return Usage(stderr), 2;
            opt.configState = static_cast<int>(n);
        } else if (a == "--refuse-online") {
            opt.refuseOnline = true;
        } else if (a == "--element-error") {
            if (!ParseInt(value("--element-error"), 0, 255, n)) return Usage(stderr), 2;
            opt.elementError = static_cast<int>(n);
        } else if (a == "--fault") {
            SimFaultSpec f;
            if (!ParseSimFault(value("--fault"), f)) {
                std::fprintf(stderr, "px920sim: unknown fault\n");
                return 2;
            }
            opt.faults.push_back(f);
        } else if (a == "--help" || a == "-h") {
            Usage(stdout);
            return 0;
        } else {
            Usage(stderr);
            return 2;
        }
    }

    std::FILE* logFile = nullptr;
    if (!logPath.empty()) {
        logFile = logPath == "-" ? stderr : std::fopen(logPath.c_str(), "a");
        if (!logFile) {
            std::fprintf(stderr, "px920sim: cannot write %s: %s\n", logPath.c_str(), std::strerror(errno));
            return 1;
        }
    }
    std::mutex logMutex;
    auto log = [&](const std::string& line) {
        if (!logFile) return;
        std::lock_guard<std::mutex> lock(logMutex);
        auto now = std::chrono::system_clock::now();
        std::time_t t = std::chrono::system_clock::to_time_t(now);
        int ms = static_cast<int>(
            std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000);
        char stamp[32];
        std::strftime(stamp, sizeof stamp, "%H:%M:%S", std::localtime(&t));
        std::fprintf(logFile, "%s.%03d %s\n", stamp, ms, line.c_str());
        std::fflush(logFile);
    };

    int master = -1, slave = -1;
    char name[256] = {};
    if (::openpty(&master, &slave, name, nullptr, nullptr) != 0) {
        std::fprintf(stderr, "px920sim: no pseudo-terminal: %s\n", std::strerror(errno));
        return 1;
    }
    // Raw from the start, so nothing is echoed before the PC side opens the
    // line; the simulator keeps the slave open so the line survives the PC
    // closing and reopening it.
    termios tio {};
    ::tcgetattr(slave, &tio);
    ::cfmakeraw(&tio);
    ::tcsetattr(slave, TCSANOW, &tio);
    ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);

    if (!link.empty()) {
        struct stat st {};
        if (::lstat(link.c_str(), &st) == 0) {
            if (!S_ISLNK(st.st_mode)) {
                std::fprintf(stderr, "px920sim: %s exists and is not a symbolic link\n", link.c_str());
                return 1;
            }
            ::unlink(link.c_str());
        }
        if (::symlink(name, link.c_str()) != 0) {
            std::fprintf(stderr, "px920sim: cannot create %s: %s\n", link.c_str(), std::strerror(errno));
            return 1;
        }
    }

    // Signals end the simulator through the stop event, from a thread of
    // their own.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    sigaddset(&signals, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    ::signal(SIGPIPE, SIG_IGN);
    CManualResetEvent stop;
    std::thread signalThread([&] {
        int sig = 0;
        sigwait(&signals, &sig);
        stop.Set();
    });

    CFdPort port(master);
    CModuleSim sim(port, opt, log);
    std::printf("%s\n", name);
    std::fflush(stdout);
    log(std::string("PX920 simulator on ") + name + (opt.pace ? " (paced at 9600 baud 8E1)" : "") + ", " +
        std::to_string(sim.Identifiers().size()) + " lists stored");

    sim.Run(stop);

    log("simulator stopped");
    if (!link.empty()) ::unlink(link.c_str());
    // Wake the signal thread if it is still waiting.
    pthread_kill(signalThread.native_handle(), SIGTERM);
    signalThread.join();
    ::close(slave);
    ::close(master);
    if (logFile && logFile != stderr) std::fclose(logFile);
    return 0;
}
