#pragma once
#include <gtest/gtest.h>
#include <stdlib.h>

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "app/Application.h"
#include "comm/Comm.h"
#include "listfile/ByteStream.h"
#include "listfile/ListHeader.h"
#include "r3964/StopEvent.h"
#include "serial/MemoryPort.h"
#include "sim/ModuleSim.h"
#include "util/FileSystem.h"
#include "util/UserInteraction.h"

using Bytes = std::vector<uint8_t>;

// A directory that goes away with the test.
struct TempDir {
    std::string path;
    TempDir()
    {
        char tmpl[] = "/tmp/px920devXXXXXX";
        path = ::mkdtemp(tmpl);
        path += '/';
    }
    ~TempDir() { std::filesystem::remove_all(path); }
    std::string operator+(const std::string& name) const { return path + name; }
};

// Image of a list with the long header (pictures, text groups, ...).
inline Bytes LongHeaderList(uint8_t type, const std::string& id3, const std::string& name, size_t bodySize = 20)
{
    ListHeaderEx h;
    h.type = type;
    h.project = "DEMO";
    h.identifier = id3;
    h.name = name;
    CByteWriter w;
    h.Write(w);
    for (size_t i = 0; i < bodySize; ++i) w.WriteU8(static_cast<uint8_t>(i * 7 + 0x10));  // DLEs included
    w.PatchU16(1, static_cast<uint16_t>(w.Size()));
    return w.Data();
}

// Image of a list with the short header (SDAT, XTEX, ASYM).
inline Bytes ShortHeaderList(uint8_t type, size_t bodySize = 10)
{
    ListHeader h;
    h.type = type;
    h.project = "DEMO";
    CByteWriter w;
    h.Write(w);
    for (size_t i = 0; i < bodySize; ++i) w.WriteU8(static_cast<uint8_t>(i));
    w.PatchU16(1, static_cast<uint16_t>(w.Size()));
    return w.Data();
}

// An option list: 12-byte header starting with the option code and the length.
inline Bytes OptionList(uint8_t code, size_t bodySize = 8)
{
    Bytes b(12 + bodySize, 0);
    b[0] = code;
    PutU16(&b[1], static_cast<uint16_t>(b.size()));
    for (size_t i = 12; i < b.size(); ++i) b[i] = static_cast<uint8_t>(i);
    return b;
}

inline void WriteFile(const std::string& path, const Bytes& data)
{
    ASSERT_TRUE(fsx::WriteFileAtomic(path, data.data(), data.size()));
}

inline Bytes ReadFile(const std::string& path)
{
    Bytes b;
    fsx::ReadWholeFile(path, b);
    return b;
}

// The link against the simulated module in the same process, over an
// in-memory line, with every wait scaled to a fifth.
class LinkFixture : public ::testing::Test {
protected:
    void StartModule()
    {
        opt.characterWait = std::chrono::milliseconds(400);
        line = std::make_unique<CMemoryLine>(lineByteTime);
        sim = std::make_unique<CModuleSim>(line->EndB(), opt);
        simThread = std::thread([this] { sim->Run(simStop); });
        comm.SetComPort(1);
        comm.SetTiming(C3964RTiming::Scaled(0.2));
        comm.SetPortFactory([this](int) { return std::make_unique<CPortRef>(line->EndA()); });
        comm.SetOldFirmware(false);
    }
    void TearDown() override
    {
        comm.Close();
        simStop.Set();
        if (simThread.joinable()) simThread.join();
    }
    bool OpenLink(int mode = 2) { return comm.Open(mode, [this](unsigned m, int r) { Done(m, r); }); }
    void Done(unsigned message, int result)
    {
        std::lock_guard<std::mutex> lock(mutex);
        messages.push_back({message, result});
        cv.notify_all();
    }
    // Waits for the completion callback of the transfer just started.
    // join: also wait for the thread to end (not while another thread closes the link).
    std::pair<unsigned, int> AwaitCompletion(bool join = true)
    {
        std::unique_lock<std::mutex> lock(mutex);
        cv.wait_for(lock, std::chrono::seconds(20), [this] { return !messages.empty(); });
        if (messages.empty()) return {0, -1};
        auto m = messages.front();
        messages.erase(messages.begin());
        lock.unlock();
        if (join) comm.WaitForTransfer();
        return m;
    }
    size_t Telegrams() const { return sim->Received().size(); }

    std::chrono::microseconds lineByteTime {0};  // 0: bytes arrive at once
    std::unique_ptr<CMemoryLine> line;
    ModuleSimOptions opt;
    std::unique_ptr<CModuleSim> sim;
    CManualResetEvent simStop;
    std::thread simThread;
    CComm comm;
    TempDir dir;
    std::mutex mutex;
    std::condition_variable cv;
    std::vector<std::pair<unsigned, int>> messages;
};
