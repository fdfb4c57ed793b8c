#pragma once
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>

#include "serial/Port.h"

// Two connected in-memory ports: what one end writes, the other reads. Used
// to run the link against the module simulator in one process.
class CMemoryLine {
public:
    CMemoryLine();
    IPort& EndA() { return *m_a; }
    IPort& EndB() { return *m_b; }

private:
    struct Queue {
        std::mutex mutex;
        std::deque<uint8_t> bytes;
    };
    class End : public IPort {
    public:
        End(Queue& in, Queue& out) : m_in(in), m_out(out) {}
        int ReadByte() override;
        uint16_t WriteByte(uint8_t b) override;
        uint16_t RxQueued() override;
        uint16_t TxQueued() override { return 0; }
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
