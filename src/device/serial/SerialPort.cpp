#include "serial/SerialPort.h"

#include <fcntl.h>
#include <linux/serial.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <utility>

#include "app/Application.h"

namespace {

speed_t BaudConstant(uint32_t baud)
{
    switch (baud) {
    case 300: return B300;
    case 600: return B600;
    case 1200: return B1200;
    case 2400: return B2400;
    case 4800: return B4800;
    case 9600: return B9600;
    case 19200: return B19200;
    case 38400: return B38400;
    case 57600: return B57600;
    case 115200: return B115200;
    default: return B9600;
    }
}

tcflag_t DataBitsFlag(uint16_t bits)
{
    switch (bits) {
    case 5: return CS5;
    case 6: return CS6;
    case 7: return CS7;
    default: return CS8;
    }
}

// Opens a device the way the probe and the port do: read and write, no
// controlling terminal, never blocking, held exclusively.
int OpenExclusive(const std::string& path, bool markExclusive)
{
    if (path.empty()) return -1;
    int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return -1;
    // The advisory lock keeps out every program that locks too (including a
    // second instance of ours, also when running as root, where TIOCEXCL
    // does not hold).
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return -1;
    }
    if (markExclusive) ::ioctl(fd, TIOCEXCL);  // not a terminal (a printer port): no matter
    return fd;
}

}  // namespace

CSerialPort::CSerialPort(int portNumber, std::string devicePath)
    : m_portNumber(portNumber), m_devicePath(std::move(devicePath))
{
}

CSerialPort::~CSerialPort() { Close(); }

bool CSerialPort::Open()
{
    if (m_fd >= 0) return true;
    m_fd = OpenExclusive(m_devicePath, true);
    if (m_fd < 0) return false;
    if (!::isatty(m_fd)) {
        Close();
        return false;
    }
    ::tcflush(m_fd, TCIOFLUSH);
    ApplyLine();
    // DTR and RTS held on. A pseudo-terminal has no modem lines; that is no
    // error, but it tells that there is no real line behind the device.
    int lines = TIOCM_DTR | TIOCM_RTS;
    ::ioctl(m_fd, TIOCMBIS, &lines);
    int status = 0;
    m_emulateLine = ::ioctl(m_fd, TIOCMGET, &status) != 0;
    m_lineFreeAtNs = 0;
    m_lineErrors = 0;
    m_haveCounts = false;
    UpdateLineErrors();
    return true;
}

void CSerialPort::Close()
{
    if (m_fd < 0) return;
    ::ioctl(m_fd, TIOCNXCL);
    ::flock(m_fd, LOCK_UN);
    ::close(m_fd);
    m_fd = -1;
}

void CSerialPort::ApplyLine()
{
    termios tio {};
    if (::tcgetattr(m_fd, &tio) != 0) tio = termios {};
    ::cfmakeraw(&tio);
    tio.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY | IGNPAR | PARMRK | ISTRIP | IGNBRK | BRKINT);
    tio.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS | HUPCL);
    tio.c_cflag |= CREAD | CLOCAL | DataBitsFlag(m_dataBits);
    if (m_parity != 0) {
        tio.c_cflag |= PARENB;
        tio.c_iflag |= INPCK;
        if (m_parity == 1)
            tio.c_cflag |= PARODD;
        else if (m_parity != 2)
            tio.c_cflag |= CMSPAR | PARODD;  // mark parity
    }
    // One and a half stop bits do not exist apart from 5 data bits, where
    // the driver gives them for CSTOPB; two is the nearest otherwise.
    if (m_stopBits != 1) tio.c_cflag |= CSTOPB;
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    ::cfsetispeed(&tio, BaudConstant(m_baudRate));
    ::cfsetospeed(&tio, BaudConstant(m_baudRate));
    ::tcsetattr(m_fd, TCSANOW, &tio);  // configuration errors are ignored, as on the original platform
    m_request.baudRate = m_baudRate;
    m_request.dataBits = m_dataBits;
    m_request.parity = m_parity;
    m_request.stopBits = m_stopBits;
    m_request.tio = tio;
    m_request.valid = true;
}

void CSerialPort::SetBaudRate(uint32_t baud)
{
    m_baudRate = baud;
    if (m_fd >= 0) ApplyLine();
}

void CSerialPort::SetDataBits(uint16_t bits)
{
    m_dataBits = bits;
    if (m_fd >= 0) ApplyLine();
}

void CSerialPort::SetParity(uint16_t parity)
{
    m_parity = parity;
    if (m_fd >= 0) ApplyLine();
}

void CSerialPort::SetStopBits(uint16_t stopBits)
{
    m_stopBits = stopBits;
    if (m_fd >= 0) ApplyLine();
}

void CSerialPort::UpdateLineErrors()
{
    if (m_fd < 0) return;
    serial_icounter_struct c {};
    if (::ioctl(m_fd, TIOCGICOUNT, &c) != 0) return;  // a pseudo-terminal keeps no counts
    if (m_haveCounts) {
        if (c.brk != m_lastBrk) m_lineErrors |= kBreak;
        if (c.frame != m_lastFrame) m_lineErrors |= kFraming;
        if (c.parity != m_lastParity) m_lineErrors |= kParity;
        if (c.overrun != m_lastOverrun || c.buf_overrun != m_lastBufOverrun) m_lineErrors |= kOverrun;
    }
    m_haveCounts = true;
    m_lastBrk = c.brk;
    m_lastFrame = c.frame;
    m_lastParity = c.parity;
    m_lastOverrun = c.overrun;
    m_lastBufOverrun = c.buf_overrun;
}

int CSerialPort::ReadByte()
{
    if (m_fd < 0) return -1;
    uint8_t b = 0;
    for (;;) {
        ssize_t n = ::read(m_fd, &b, 1);
        if (n == 1) return b;
        if (n < 0 && errno == EINTR) continue;
        return -1;
    }
}

namespace {
int64_t NowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}
}  // namespace

int64_t CSerialPort::ByteTimeNs() const
{
    // Start bit, data bits, parity bit, stop bits.
    int bits = 1 + m_dataBits + (m_parity != 0 ? 1 : 0) + (m_stopBits == 1 ? 1 : 2);
    uint32_t baud = m_baudRate ? m_baudRate : 9600;
    return static_cast<int64_t>(bits) * 1000000000LL / baud;
}

uint16_t CSerialPort::WriteByte(uint8_t b)
{
    if (m_fd < 0) return 0;
    if (m_emulateLine) {
        int64_t now = NowNs();
        int64_t start = std::max(now, m_lineFreeAtNs.load());
        m_lineFreeAtNs = start + ByteTimeNs();
    }
    for (;;) {
        ssize_t n = ::write(m_fd, &b, 1);
        if (n == 1) return 1;
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno == EAGAIN) {
            // The driver's queue is full: wait until it takes bytes again.
            pollfd p {m_fd, POLLOUT, 0};
            if (::poll(&p, 1, 100) < 0 && errno != EINTR) return 0;
            if (p.revents & (POLLERR | POLLNVAL)) return 0;
            continue;
        }
        return 0;
    }
}

uint16_t CSerialPort::RxQueued()
{
    if (m_fd < 0) return 0;
    UpdateLineErrors();
    int n = 0;
    if (::ioctl(m_fd, FIONREAD, &n) != 0 || n < 0) return 0;
    return static_cast<uint16_t>(n & 0xFFFF);
}

uint16_t CSerialPort::TxQueued()
{
    if (m_fd < 0) return 0;
    UpdateLineErrors();
    int n = 0;
    if (::ioctl(m_fd, TIOCOUTQ, &n) != 0 || n < 0) n = 0;
    if (m_emulateLine) {
        int64_t left = m_lineFreeAtNs.load() - NowNs();
        if (left > 0) n += static_cast<int>((left + ByteTimeNs() - 1) / ByteTimeNs());
    }
    return static_cast<uint16_t>(n > 0xFFFF ? 0xFFFF : n);
}

void CSerialPort::PurgeRx()
{
    if (m_fd >= 0) ::tcflush(m_fd, TCIFLUSH);
}

bool ProbeDevice(const std::string& devicePath)
{
    // The probe leaves the device's exclusive mode alone: it may belong to
    // another program.
    int fd = OpenExclusive(devicePath, false);
    if (fd < 0) return false;
    ::flock(fd, LOCK_UN);
    ::close(fd);
    return true;
}

bool ProbeCom(int n) { return n > 0 && ProbeDevice(App().Settings().ComDevice(n)); }

bool ProbeLpt(int n) { return n > 0 && ProbeDevice(App().Settings().LptDevice(n)); }
