#pragma once
#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

class IPort;
class CManualResetEvent;

// Faults the simulated module can be told to make.
enum class SimFault { noEnqAnswer, nakStx, badBcc, noFinalDle, stall, badAnswer };

struct SimFaultSpec {
    SimFault kind;
    // 0: every time. Otherwise the 1-based number of the frame from the PC
    // it applies to (for noEnqAnswer: the number of the ENQ; for badBcc,
    // stall and badAnswer: the module's answer to that frame).
    int at = 0;
};

// Parses "no-enq-answer", "nak-stx", "bad-bcc", "no-final-dle", "stall" or
// "bad-answer", optionally followed by "@N".
bool ParseSimFault(const std::string& text, SimFaultSpec& out);

struct ModuleSimOptions {
    std::string storeDir;             // lists are kept here across runs; empty: in memory only
    uint32_t memorySize = 256 * 1024; // a load that would exceed it is refused (reason 255)
    std::vector<std::string> eprom;   // identifiers the module holds in EPROM (reason 254)
    int configState = 4;              // answer to the configuration state query (0..4)
    bool refuseOnline = false;        // answer the online start with status 1
    int elementError = -1;            // >= 0: answer element telegrams with 0x07 and this code
    bool pace = false;                // emulate 9600 baud 8E1 timing
    std::vector<SimFaultSpec> faults;
    // How long the module waits for a character inside a frame or for the
    // PC's DLE; scaled down in tests.
    std::chrono::microseconds characterWait {std::chrono::milliseconds(2000)};
};

// The module's side of the line: the 3964R procedure as the partner of the
// PC and every telegram of the link, with a store of lists.
class CModuleSim {
public:
    using Log = std::function<void(const std::string&)>;
    CModuleSim(IPort& port, ModuleSimOptions options, Log log = {});

    // Serves the line until stop is set.
    void Run(CManualResetEvent& stop);

    // The store (thread-safe; for tests and the start-up message).
    bool HasList(const std::string& identifier) const;
    std::vector<uint8_t> ListImage(const std::string& identifier) const;
    void PutList(const std::string& identifier, const std::vector<uint8_t>& image);
    std::vector<std::string> Identifiers() const;
    // Everything that arrived outside frames (operator key codes in raw mode).
    std::vector<uint8_t> KeyCodes() const;
    // Telegrams received, in order (for tests).
    std::vector<std::vector<uint8_t>> Received() const;

    // Bytes on the line for the benchmark's physical minimum.
    uint64_t LineBytes() const;

private:
    int ReadByteWait(std::chrono::microseconds timeout, CManualResetEvent* stop = nullptr);
    void Put(uint8_t b);
    bool ReceiveFrame(std::vector<uint8_t>& payload);
    bool SendFrame(std::vector<uint8_t> payload);
    void Handle(const std::vector<uint8_t>& t);
    bool StoreLoadData(const std::vector<uint8_t>& t);
    bool FaultAt(SimFault kind, int number) const;
    void Logf(const std::string& text);
    void LoadStore();
    void SaveList(const std::string& id);
    void RemoveList(const std::string& id);
    uint32_t UsedMemory() const;
    std::string Designation(const std::vector<uint8_t>& image) const;
    std::vector<uint8_t> DirectoryEntry(const std::string& id) const;

    IPort& m_port;
    ModuleSimOptions m_opt;
    Log m_log;
    mutable std::mutex m_mutex;
    std::map<std::string, std::vector<uint8_t>> m_lists;
    std::vector<uint8_t> m_keys;
    std::vector<std::vector<uint8_t>> m_received;

    int m_framesDone = 0;  // frames from the PC handled so far
    int m_enqCount = 0;
    int m_stxNaks = 0;
    int m_answerTo = 0;    // number of the frame being answered
    uint64_t m_lineBytes = 0;
    CManualResetEvent* m_stop = nullptr;

    // Conversation state.
    std::string m_pendingLoad;
    uint16_t m_pendingLoadLength = 0;
    std::string m_pendingRead;
    std::vector<std::string> m_dirIds;
    size_t m_dirPos = 0;
    uint8_t m_dirToken[6] = {};
    bool m_dirOpen = false;

    // Line pacing.
    using Clock = std::chrono::steady_clock;
    Clock::time_point m_rxDeliveredAt {};
    Clock::time_point m_lastByteAt = Clock::now();  // idle polling slows down after it
    Clock::time_point m_txFreeAt {};
};

// A readable form of a telegram for the log.
std::string DescribeTelegram(const std::vector<uint8_t>& t, bool fromPc);
