#pragma once
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>

#include "serial/Port.h"

// Two connected in-memory ports: what one end writes, the other reads. Used
// to run the link against the module simulator in one process. With a byte
// time the line behaves like a real one: a byte becomes readable only when
// the line would have delivered it, and until then it counts in the
// writer's transmit queue.
class CMemoryLine {
public:
    explicit CMemoryLine(std::chrono::microseconds byteTime = std::chrono::microseconds(0));
    IPort& EndA() { return *m_a; }
    IPort& EndB() { return *m_b; }

private:
    using Clock = std::chrono::steady_clock;
    struct Queue {
        std::mutex mutex;
        std::deque<std::pair<uint8_t, Clock::time_point>> bytes;
        Clock::time_point lastDelivery {};
        std::chrono::microseconds byteTime {0};
    };
    class End : public IPort {
    public:
        End(Queue& in, Queue& out) : m_in(in), m_out(out) {}
        int ReadByte() override;
        uint16_t WriteByte(uint8_t b) override;
        uint16_t RxQueued() override;
        uint16_t TxQueued() override;
        void PurgeRx() override;

    private:
        Queue& m_in;
        Queue& m_out;
    };
    Queue m_ab, m_ba;
    std::unique_ptr<End> m_a, m_b;
};

// A port over a non-blocking file descriptor that it does not own, such as
// the master side of a pseudo-terminal.
class CFdPort : public IPort {
public:
    explicit CFdPort(int fd) : m_fd(fd) {}
    int ReadByte() override;
    uint16_t WriteByte(uint8_t b) override;
    uint16_t RxQueued() override;
    uint16_t TxQueued() override;
    void PurgeRx() override;
    // True once a read found the other side gone (EIO on a pty master).
    bool PeerGone() const { return m_peerGone; }
    void ClearPeerGone() { m_peerGone = false; }

private:
    int m_fd;
    bool m_peerGone = false;
};

// A port that forwards to another one it does not own (hands an in-memory
// end to code that wants to own its port).
class CPortRef : public IPort {
public:
    explicit CPortRef(IPort& target) : m_target(target) {}
    int ReadByte() override { return m_target.ReadByte(); }
    uint16_t WriteByte(uint8_t b) override { return m_target.WriteByte(b); }
    uint16_t RxQueued() override { return m_target.RxQueued(); }
    uint16_t TxQueued() override { return m_target.TxQueued(); }
    void PurgeRx() override { m_target.PurgeRx(); }

private:
    IPort& m_target;
};
