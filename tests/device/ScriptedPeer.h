#pragma once
#include <chrono>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "serial/Port.h"

// The partner's end of a line, driven by a script running in its own thread.
// Everything it reads is kept, so a test can compare the bytes the PC put on
// the line with the expected sequence.
class ScriptedPeer {
public:
    explicit ScriptedPeer(IPort& port) : m_port(port) {}
    ~ScriptedPeer() { Join(); }

    void Run(std::function<void(ScriptedPeer&)> script)
    {
        m_thread = std::thread([this, script = std::move(script)] { script(*this); });
    }
    void Join()
    {
        if (m_thread.joinable()) m_thread.join();
    }

    // The next byte from the PC, or -1 after waitMs without one.
    int Next(int waitMs = 2000)
    {
        auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
        for (;;) {
            int c = m_port.ReadByte();
            if (c >= 0) {
                std::lock_guard<std::mutex> lock(m_mutex);
                m_seen.push_back(static_cast<uint8_t>(c));
                return c;
            }
            if (std::chrono::steady_clock::now() >= until) return -1;
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
    }
    // Reads n bytes (fewer when the PC stops sending).
    std::vector<uint8_t> Take(size_t n, int waitMs = 2000)
    {
        std::vector<uint8_t> out;
        while (out.size() < n) {
            int c = Next(waitMs);
            if (c < 0) break;
            out.push_back(static_cast<uint8_t>(c));
        }
        return out;
    }
    void Put(std::initializer_list<uint8_t> bytes)
    {
        for (uint8_t b : bytes) m_port.WriteByte(b);
    }
    void Put(const std::vector<uint8_t>& bytes)
    {
        for (uint8_t b : bytes) m_port.WriteByte(b);
    }
    std::vector<uint8_t> Seen()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_seen;
    }

    // A frame as the partner puts it on the line after its STX was answered:
    // payload with doubled DLE, DLE, end character, block check.
    static std::vector<uint8_t> FrameBody(const std::vector<uint8_t>& payload, uint8_t end = 0x03, int bccDelta = 0)
    {
        std::vector<uint8_t> out;
        uint8_t bcc = 0;
        for (uint8_t b : payload) {
            out.push_back(b);
            bcc ^= b;
            if (b == 0x10) {
                out.push_back(b);
                bcc ^= b;
            }
        }
        out.push_back(0x10);
        out.push_back(end);
        bcc ^= 0x10;
        bcc ^= end;
        out.push_back(static_cast<uint8_t>(bcc ^ bccDelta));
        return out;
    }

private:
    IPort& m_port;
    std::thread m_thread;
    std::mutex m_mutex;
    std::vector<uint8_t> m_seen;
};
