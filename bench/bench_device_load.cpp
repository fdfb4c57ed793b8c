// Loading a 60 KB list into the module simulator on a paced line (9600 baud
// 8E1), against the physical minimum: every byte on the line, both ways,
// takes 11 bits. Prints elapsed / minimum at the end.
#include <benchmark/benchmark.h>
#include <limits.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "comm/Comm.h"
#include "listfile/ByteStream.h"
#include "listfile/ListHeader.h"
#include "serial/SerialPort.h"
#include "util/FileSystem.h"

namespace {

// Counts what the PC puts on the line and takes from it.
class CountingPort : public IPort {
public:
    explicit CountingPort(std::unique_ptr<CSerialPort> port) : m_port(std::move(port)) {}
    int ReadByte() override
    {
        int c = m_port->ReadByte();
        if (c >= 0) ++bytes;
        return c;
    }
    uint16_t WriteByte(uint8_t b) override
    {
        uint16_t n = m_port->WriteByte(b);
        bytes += n;
        return n;
    }
    uint16_t RxQueued() override { return m_port->RxQueued(); }
    uint16_t TxQueued() override { return m_port->TxQueued(); }
    void PurgeRx() override { m_port->PurgeRx(); }
    static inline uint64_t bytes = 0;

private:
    std::unique_ptr<CSerialPort> m_port;
};

std::string BinDir()
{
    char buf[PATH_MAX];
    ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0) return "./";
    buf[n] = 0;
    return fsx::DirName(buf);
}

double g_ratio = 0;
double g_seconds = 0;
uint64_t g_lineBytes = 0;

void BM_LoadSixtyKilobytesPaced(benchmark::State& state)
{
    char tmpl[] = "/tmp/px920benchXXXXXX";
    std::string dir = fsx::WithSlash(::mkdtemp(tmpl));
    std::string link = dir + "px920";

    // The list: a text group of 60 KB.
    ListHeaderEx h;
    h.type = 9;
    h.project = "BENCH";
    h.identifier = "BIG";
    h.name = "Benchmark";
    CByteWriter w;
    h.Write(w);
    while (w.Size() < 60 * 1024) w.WriteU8(static_cast<uint8_t>(w.Size() * 31));
    w.PatchU16(1, static_cast<uint16_t>(w.Size()));
    fsx::WriteFileAtomic(dir + "TBIG.920", w.Data().data(), w.Size());

    int out[2];
    if (pipe(out)) {
        state.SkipWithError("pipe");
        return;
    }
    pid_t pid = fork();
    if (pid == 0) {
        dup2(out[1], 1);
        std::string sim = BinDir() + "px920sim";
        execl(sim.c_str(), sim.c_str(), "--pace", "--link", link.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    close(out[1]);
    char c;
    while (read(out[0], &c, 1) == 1 && c != '\n') {
    }
    close(out[0]);

    CComm comm;
    comm.SetComPort(1);
    comm.SetPortFactory([&](int) -> std::unique_ptr<IPort> {
        auto port = std::make_unique<CSerialPort>(1, link);
        port->SetParity(2);
        if (!port->Open()) return nullptr;
        return std::make_unique<CountingPort>(std::move(port));
    });
    std::mutex m;
    std::condition_variable cv;
    bool done = false;
    int result = 0;

    for (auto _ : state) {
        if (!comm.Open(2, [&](unsigned, int r) {
                std::lock_guard<std::mutex> lock(m);
                done = true;
                result = r;
                cv.notify_all();
            })) {
            state.SkipWithError("the simulator does not answer");
            break;
        }
        done = false;
        CountingPort::bytes = 0;
        auto t0 = std::chrono::steady_clock::now();
        comm.StartLoad(dir, "TBIG.920");
        {
            std::unique_lock<std::mutex> lock(m);
            cv.wait(lock, [&] { return done; });
        }
        comm.WaitForTransfer();
        g_seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        g_lineBytes = CountingPort::bytes;
        if (!result) {
            state.SkipWithError("load failed");
            break;
        }
        state.PauseTiming();
        comm.DeleteList("TBIG");
        comm.ErrorInfo().Clear();
        comm.Close();
        state.ResumeTiming();
    }
    double minimum = static_cast<double>(g_lineBytes) * 11.0 / 9600.0;
    g_ratio = minimum > 0 ? g_seconds / minimum : 0;
    state.counters["line_bytes"] = static_cast<double>(g_lineBytes);
    state.counters["minimum_s"] = minimum;
    state.counters["ratio"] = g_ratio;

    kill(pid, SIGTERM);
    int status;
    waitpid(pid, &status, 0);
    fsx::RemoveFile(dir + "TBIG.920");
    ::rmdir(dir.c_str());
}
BENCHMARK(BM_LoadSixtyKilobytesPaced)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::printf("load of 60 KB at 9600 baud 8E1: %.2f s for %llu bytes on the line, minimum %.2f s, ratio %.3f\n",
                g_seconds, static_cast<unsigned long long>(g_lineBytes), g_lineBytes * 11.0 / 9600.0, g_ratio);
    return 0;
}
