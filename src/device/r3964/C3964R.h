#pragma once
#include <atomic>
#include <chrono>
#include <cstdint>

class IPort;
class CManualResetEvent;

namespace r3964 {
constexpr uint8_t STX = 0x02;
constexpr uint8_t ETX = 0x03;
constexpr uint8_t ENQ = 0x05;
constexpr uint8_t ACK = 0x06;
constexpr uint8_t DLE = 0x10;
constexpr uint8_t NAK = 0x15;
constexpr uint8_t ETB = 0x17;

// Result codes of one frame exchange.
constexpr uint8_t kSentOk = 255;
constexpr uint8_t kReceivedOk = 254;
constexpr uint8_t kStoppedPayload = 0;
constexpr uint8_t kStoppedStx = 2;
constexpr uint8_t kNoFinalDle = 3;
constexpr uint8_t kBadFrameEnd = 5;
constexpr uint8_t kNoStx = 11;
constexpr uint8_t kTooLong = 12;
constexpr uint8_t kBadBcc = 13;
constexpr uint8_t kNoDleForStx = 20;
constexpr uint8_t kStoppedEtx = 21;
constexpr uint8_t kStoppedDle = 22;

constexpr uint8_t kSend = 0x80;
constexpr uint8_t kReceive = 0x00;
}  // namespace r3964

// The waits and pauses of the procedure. The defaults are the line's real
// values; tests run the same code with all of them scaled down.
struct C3964RTiming {
    using us = std::chrono::microseconds;
    us firstDle = us(100000);         // first DLE after STX
    us character = us(3000000);       // every other character wait
    us poll = us(20000);              // stop-event wait between tries
    us retryPause1 = us(2000);        // pauses between the first three tries
    us retryPause2 = us(6000);
    us oldFirmwarePause = us(2000);   // before every byte sent to old firmware
    us afterPurge = us(10000);        // before a frame is sent

    // Every value multiplied by factor (at least 1 µs each).
    static C3964RTiming Scaled(double factor);
};

// One frame exchange, filled by the caller and completed by the driver.
struct C3964RJob {
    uint8_t result = 0;
    uint8_t direction = r3964::kSend;
    uint8_t* buffer = nullptr;
    uint16_t length = 0;  // send: payload length; receive: capacity in, bytes stored out
};

// The 3964R procedure over one port: frames with the STX/DLE handshake, DLE
// doubling, DLE ETX and the block check character, and the ENQ/ACK check of
// the connection. Used by one thread at a time; Progress may be read by any.
class C3964R {
public:
    C3964R(IPort& port, CManualResetEvent& stopEvent, bool oldFirmware, C3964RTiming timing = {});

    enum class SendResult { ok, stopped };
    static constexpr int kNone = -1;
    static constexpr int kStopped = -2;

    SendResult SendByte(uint8_t b);
    // A character, kNone (no character in time, or the stop event came) or
    // kStopped (stopped while waiting for the transmit queue to drain).
    int ReceiveByte(std::chrono::microseconds timeout);

    void Transfer(C3964RJob& job);
    bool ConnectionCheck();

    // Payload bytes handed over (send) or stored (receive) in the current
    // frame, less what the port still has to transmit.
    int Progress() const;
    const C3964RTiming& Timing() const { return m_timing; }

private:
    void Send(C3964RJob& job);
    void Receive(C3964RJob& job);

    IPort& m_port;
    CManualResetEvent& m_stop;
    bool m_oldFirmware;
    C3964RTiming m_timing;
    std::atomic<uint32_t> m_progressCount {0};
};
