#include "r3964/C3964R.h"

#include <thread>

#include "r3964/StopEvent.h"
#include "serial/Port.h"

using namespace r3964;

C3964RTiming C3964RTiming::Scaled(double factor)
{
    C3964RTiming t;
    auto scale = [factor](us& v) {
        auto n = static_cast<us::rep>(static_cast<double>(v.count()) * factor);
        v = us(n < 1 ? 1 : n);
    };
    scale(t.firstDle);
    scale(t.character);
    scale(t.poll);
    scale(t.retryPause1);
    scale(t.retryPause2);
    scale(t.oldFirmwarePause);
    scale(t.afterPurge);
    return t;
}

C3964R::C3964R(IPort& port, CManualResetEvent& stopEvent, bool oldFirmware, C3964RTiming timing)
    : m_port(port), m_stop(stopEvent), m_oldFirmware(oldFirmware), m_timing(timing)
{
}

C3964R::SendResult C3964R::SendByte(uint8_t b)
{
    if (m_oldFirmware) std::this_thread::sleep_for(m_timing.oldFirmwarePause);
    if (m_port.TxQueued() >= 4096) {
        // The driver's queue is full: let it drain to half before going on,
        // but never longer than about four seconds.
        for (int i = 0; i < 204; ++i) {
            if (m_stop.WaitFor(m_timing.poll)) return SendResult::stopped;
            if (m_port.TxQueued() < 2048) break;
        }
    }
    m_port.WriteByte(b);
    return SendResult::ok;
}

int C3964R::ReceiveByte(std::chrono::microseconds timeout)
{
    if (m_port.TxQueued() > 100) {
        // An answer cannot come before what we sent has left.
        for (int i = 0; i < 409; ++i) {
            if (m_stop.WaitFor(m_timing.poll)) return kStopped;
            if (m_port.TxQueued() < 100) break;
        }
    }
    int c = m_port.ReadByte();
    if (c >= 0) return c;
    std::this_thread::sleep_for(m_timing.retryPause1);
    c = m_port.ReadByte();
    if (c >= 0) return c;
    std::this_thread::sleep_for(m_timing.retryPause2);
    c = m_port.ReadByte();
    long rounds = m_timing.poll.count() > 0 ? static_cast<long>(timeout / m_timing.poll) : 0;
    for (long i = 0; i < rounds; ++i) {
        if (c >= 0) return c;
        if (m_stop.WaitFor(m_timing.poll)) return kNone;
        c = m_port.ReadByte();
    }
    return c >= 0 ? c : kNone;
}

int C3964R::Progress() const
{
    long p = static_cast<long>(m_progressCount.load(std::memory_order_relaxed)) - m_port.TxQueued();
    return p < 0 ? 0 : static_cast<int>(p);
}

void C3964R::Transfer(C3964RJob& job)
{
    if (job.direction == kSend)
        Send(job);
    else if (job.direction == kReceive)
        Receive(job);
    else
        job.result = 0;
}

void C3964R::Send(C3964RJob& job)
{
    m_port.PurgeRx();
    std::this_thread::sleep_for(m_timing.afterPurge);

    if (SendByte(STX) == SendResult::stopped) {
        job.result = kStoppedStx;
        return;
    }
    // The partner has 100 ms for the first DLE, then two more tries with the
    // full character wait. Anything but DLE (its own STX included) is a
    // failed try: the PC never gives way.
    bool connected = ReceiveByte(m_timing.firstDle) == DLE;
    for (int attempt = 0; attempt < 2 && !connected; ++attempt) {
        SendByte(STX);
        connected = ReceiveByte(m_timing.character) == DLE;
    }
    if (!connected) {
        job.result = kNoDleForStx;
        return;
    }

    uint8_t bcc = 0;
    m_progressCount.store(0, std::memory_order_relaxed);
    for (uint32_t i = 0; i < job.length; ++i) {
        uint8_t b = job.buffer[i];
        if (SendByte(b) == SendResult::stopped) {
            job.result = kStoppedPayload;
            return;
        }
        bcc ^= b;
        if (b == DLE) {
            if (SendByte(DLE) == SendResult::stopped) {
                job.result = kStoppedPayload;
                return;
            }
            bcc ^= DLE;
        }
        m_progressCount.store(i + 1, std::memory_order_relaxed);
    }
    if (SendByte(DLE) == SendResult::stopped) {
        job.result = kStoppedDle;
        return;
    }
    bcc ^= DLE;
    if (SendByte(ETX) == SendResult::stopped) {
        job.result = kStoppedEtx;
        return;
    }
    bcc ^= ETX;
    SendByte(bcc);
    job.result = ReceiveByte(m_timing.character) == DLE ? kSentOk : kNoFinalDle;
}

void C3964R::Receive(C3964RJob& job)
{
    const uint16_t capacity = job.length;
    job.length = 0;
    bool gotStx = false;
    for (int i = 0; i < 10 && !gotStx; ++i) {
        gotStx = ReceiveByte(m_timing.character) == STX;
        // Closing the link ends the wait for good, not just this round.
        if (!gotStx && m_stop.IsSet()) break;
    }
    if (!gotStx) {
        job.result = kNoStx;
        return;
    }
    SendByte(DLE);

    uint8_t bcc = 0;
    uint32_t count = 0;
    m_progressCount.store(0, std::memory_order_relaxed);
    int end = -1;
    for (;;) {
        int c = ReceiveByte(m_timing.character);
        if (c < 0) {
            // A character that never came: the frame is broken off. Nothing
            // is stored for it.
            job.length = static_cast<uint16_t>(count);
            job.result = kBadFrameEnd;
            return;
        }
        bcc ^= static_cast<uint8_t>(c);
        if (c != DLE) {
            if (count >= capacity) {
                job.length = static_cast<uint16_t>(count);
                job.result = kTooLong;
                return;
            }
            job.buffer[count++] = static_cast<uint8_t>(c);
        } else {
            int c2 = ReceiveByte(m_timing.character);
            if (c2 < 0) {
                job.length = static_cast<uint16_t>(count);
                job.result = kBadFrameEnd;
                return;
            }
            if (c2 == DLE) {
                bcc ^= DLE;
                if (count >= capacity) {
                    job.length = static_cast<uint16_t>(count);
                    job.result = kBadFrameEnd;
                    return;
                }
                job.buffer[count++] = DLE;
            } else {
                end = c2;
            }
        }
        m_progressCount.store(count, std::memory_order_relaxed);
        if (end >= 0) break;
    }
    job.length = static_cast<uint16_t>(count);
    if (end != ETX && end != ETB) {
        job.result = kBadFrameEnd;
        return;
    }
    bcc ^= static_cast<uint8_t>(end);
    int check = ReceiveByte(m_timing.character);
    if (check >= 0 && static_cast<uint8_t>(check) == bcc) {
        SendByte(DLE);
        job.result = kReceivedOk;
    } else {
        SendByte(NAK);
        job.result = kBadBcc;
    }
}

bool C3964R::ConnectionCheck()
{
    if (SendByte(ENQ) == SendResult::stopped) return false;
    if (ReceiveByte(m_timing.character) == ACK) return true;
    for (int attempt = 0; attempt < 2; ++attempt) {
        SendByte(ENQ);
        if (ReceiveByte(m_timing.character) == ACK) return true;
    }
    return false;
}
