#include "serial/MemoryPort.h"

#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>

CMemoryLine::CMemoryLine()
    : m_a(std::make_unique<End>(m_ba, m_ab)), m_b(std::make_unique<End>(m_ab, m_ba))
{
}

int CMemoryLine::End::ReadByte()
{
    std::lock_guard<std::mutex> lock(m_in.mutex);
    if (m_in.bytes.empty()) return -1;
    uint8_t b = m_in.bytes.front();
    m_in.bytes.pop_front();
    return b;
}

uint16_t CMemoryLine::End::WriteByte(uint8_t b)
{
    std::lock_guard<std::mutex> lock(m_out.mutex);
    m_out.bytes.push_back(b);
    return 1;
}

uint16_t CMemoryLine::End::RxQueued()
{
    std::lock_guard<std::mutex> lock(m_in.mutex);
    return static_cast<uint16_t>(m_in.bytes.size() > 0xFFFF ? 0xFFFF : m_in.bytes.size());
}

void CMemoryLine::End::PurgeRx()
{
    std::lock_guard<std::mutex> lock(m_in.mutex);
    m_in.bytes.clear();
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
