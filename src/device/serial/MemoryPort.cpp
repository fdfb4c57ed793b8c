#include "serial/MemoryPort.h"

#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

CMemoryLine::CMemoryLine(std::chrono::microseconds byteTime)
    : m_a(std::make_unique<End>(m_ba, m_ab)), m_b(std::make_unique<End>(m_ab, m_ba))
{
    m_ab.byteTime = byteTime;
    m_ba.byteTime = byteTime;
}

int CMemoryLine::End::ReadByte()
{
    std::lock_guard<std::mutex> lock(m_in.mutex);
    if (m_in.bytes.empty() || m_in.bytes.front().second > Clock::now()) return -1;
    uint8_t b = m_in.bytes.front().first;
    m_in.bytes.pop_front();
    return b;
}

uint16_t CMemoryLine::End::WriteByte(uint8_t b)
{
    std::lock_guard<std::mutex> lock(m_out.mutex);
    auto at = Clock::now();
    if (m_out.byteTime.count() > 0) {
        at = std::max(at, m_out.lastDelivery) + m_out.byteTime;
        m_out.lastDelivery = at;
    }
    m_out.bytes.emplace_back(b, at);
    return 1;
}

uint16_t CMemoryLine::End::RxQueued()
{
    std::lock_guard<std::mutex> lock(m_in.mutex);
    auto now = Clock::now();
    size_t n = 0;
    for (const auto& e : m_in.bytes) {
        if (e.second > now) break;
        ++n;
    }
    return static_cast<uint16_t>(n > 0xFFFF ? 0xFFFF : n);
}

uint16_t CMemoryLine::End::TxQueued()
{
    std::lock_guard<std::mutex> lock(m_out.mutex);
    auto now = Clock::now();
    if (m_out.byteTime.count() <= 0 || m_out.lastDelivery <= now) return 0;
    // Bytes are delivered one byte time apart, so the undelivered ones are
    // the last (lastDelivery - now) / byteTime of the queue.
    auto pending = (m_out.lastDelivery - now + m_out.byteTime - Clock::duration(1)) / m_out.byteTime;
    size_t n = std::min(static_cast<size_t>(pending), m_out.bytes.size());
    return static_cast<uint16_t>(n > 0xFFFF ? 0xFFFF : n);
}

void CMemoryLine::End::PurgeRx()
{
    std::lock_guard<std::mutex> lock(m_in.mutex);
    auto now = Clock::now();
    while (!m_in.bytes.empty() && m_in.bytes.front().second <= now) m_in.bytes.pop_front();
}

int CFdPort::ReadByte()
{
    uint8_t b = 0;
    for (;;) {
        ssize_t n = ::read(m_fd, &b, 1);
        if (n == 1) return b;
        if (n < 0 && errno == EINTR) continue;
        if (n == 0 || (n < 0 && errno == EIO)) m_peerGone = true;
        return -1;
    }
}

uint16_t CFdPort::WriteByte(uint8_t b)
{
    for (;;) {
        ssize_t n = ::write(m_fd, &b, 1);
        if (n == 1) return 1;
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno == EAGAIN) {
            pollfd p {m_fd, POLLOUT, 0};
            if (::poll(&p, 1, 100) <= 0) return 0;  // nobody reads: drop rather than hang
            continue;
        }
        return 0;
    }
}

uint16_t CFdPort::RxQueued()
{
    int n = 0;
    if (::ioctl(m_fd, FIONREAD, &n) != 0 || n < 0) return 0;
    return static_cast<uint16_t>(n & 0xFFFF);
}

uint16_t CFdPort::TxQueued()
{
    int n = 0;
    if (::ioctl(m_fd, TIOCOUTQ, &n) != 0 || n < 0) return 0;
    return static_cast<uint16_t>(n & 0xFFFF);
}

void CFdPort::PurgeRx()
{
    uint8_t buf[256];
    while (::read(m_fd, buf, sizeof buf) > 0) {
    }
}
