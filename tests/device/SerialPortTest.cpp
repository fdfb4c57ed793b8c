#include <gtest/gtest.h>

#include <fcntl.h>
#include <pty.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "serial/MemoryPort.h"
#include "serial/SerialPort.h"

namespace {

// A pseudo-terminal pair: the port under test opens the slave by path, the
// test plays the module on the master.
struct Pty {
    int master = -1;
    int slave = -1;
    std::string path;
    Pty()
    {
        char name[128] = {};
        if (::openpty(&master, &slave, name, nullptr, nullptr) == 0) {
            path = name;
            ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
        }
    }
    ~Pty()
    {
        if (slave >= 0) ::close(slave);
        if (master >= 0) ::close(master);
    }
};

int ReadWithin(IPort& port, int ms)
{
    auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    for (;;) {
        int c = port.ReadByte();
        if (c >= 0 || std::chrono::steady_clock::now() > until) return c;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

}  // namespace

TEST(SerialPort, OpensRawEightBitsEvenParityAndPassesBytesBothWays)
{
    Pty pty;
    ASSERT_FALSE(pty.path.empty());
    CSerialPort port(1, pty.path);
    port.SetBaudRate(9600);
    port.SetDataBits(8);
    port.SetParity(2);
    port.SetStopBits(1);
    ASSERT_TRUE(port.Open());
    EXPECT_TRUE(port.Open());  // already open: true, nothing changes

    const termios& t = port.LastRequest().tio;
    EXPECT_EQ(cfgetospeed(&t), B9600);
    EXPECT_EQ(t.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_TRUE(t.c_cflag & PARENB);
    EXPECT_FALSE(t.c_cflag & PARODD);
    EXPECT_FALSE(t.c_cflag & CSTOPB);
    EXPECT_FALSE(t.c_cflag & CRTSCTS);
    EXPECT_FALSE(t.c_iflag & (IXON | IXOFF));
    EXPECT_FALSE(t.c_lflag & (ICANON | ECHO));
    EXPECT_FALSE(t.c_oflag & OPOST);

    // Nothing queued: -1 at once.
    auto t0 = std::chrono::steady_clock::now();
    EXPECT_EQ(port.ReadByte(), -1);
    EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::milliseconds(20));

    // All 256 byte values pass unchanged in both directions.
    CFdPort module(pty.master);
    for (int b = 0; b < 256; ++b) {
        ASSERT_EQ(port.WriteByte(static_cast<uint8_t>(b)), 1);
        ASSERT_EQ(ReadWithin(module, 500), b);
        module.WriteByte(static_cast<uint8_t>(255 - b));
        ASSERT_EQ(ReadWithin(port, 500), 255 - b);
    }
    module.WriteByte(0x55);
    module.WriteByte(0x66);
    for (int i = 0; i < 100 && port.RxQueued() < 2; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_EQ(port.RxQueued(), 2);
    port.PurgeRx();
    EXPECT_EQ(port.RxQueued(), 0);
    EXPECT_EQ(port.ReadByte(), -1);
}

TEST(SerialPort, LineSettingsAreAppliedWhileOpen)
{
    Pty pty;
    CSerialPort port(2, pty.path);
    ASSERT_TRUE(port.Open());
    struct Case {
        uint16_t parity;
        tcflag_t set;
        tcflag_t clear;
    };
    for (Case c : {Case {0, 0, PARENB}, Case {1, PARENB | PARODD, CMSPAR}, Case {2, PARENB, PARODD | CMSPAR},
                   Case {3, PARENB | PARODD | CMSPAR, 0}}) {
        SCOPED_TRACE(c.parity);
        port.SetParity(c.parity);
        const termios& t = port.LastRequest().tio;
        EXPECT_EQ(t.c_cflag & c.set, c.set);
        EXPECT_EQ(t.c_cflag & c.clear, 0u);
    }
    port.SetStopBits(0);  // one and a half: the nearest the driver has
    EXPECT_TRUE(port.LastRequest().tio.c_cflag & CSTOPB);
    port.SetStopBits(1);
    EXPECT_FALSE(port.LastRequest().tio.c_cflag & CSTOPB);
    port.SetDataBits(7);
    EXPECT_EQ(port.LastRequest().tio.c_cflag & CSIZE, static_cast<tcflag_t>(CS7));
}

TEST(SerialPort, IsHeldExclusivelyAndProbed)
{
    Pty pty;
    EXPECT_TRUE(ProbeDevice(pty.path));
    CSerialPort first(1, pty.path);
    ASSERT_TRUE(first.Open());
    CSerialPort second(1, pty.path);
    EXPECT_FALSE(second.Open());
    EXPECT_FALSE(ProbeDevice(pty.path));
    first.Close();
    first.Close();  // twice is harmless
    EXPECT_TRUE(ProbeDevice(pty.path));
    EXPECT_TRUE(second.Open());

    CSerialPort missing(7, "/nonexistent/ttyS99");
    EXPECT_FALSE(missing.Open());
    EXPECT_FALSE(ProbeDevice("/nonexistent/ttyS99"));
    CSerialPort notATerminal(1, "/dev/null");
    EXPECT_FALSE(notATerminal.Open());
}

TEST(SerialPort, PseudoTerminalKeepsTheTransmitQueueOfARealLine)
{
    // A pty takes every byte at once; the port counts what a 9600 baud 8E1
    // line (11 bits a byte, 1.15 ms) would still have to send.
    Pty pty;
    CSerialPort port(1, pty.path);
    port.SetParity(2);
    ASSERT_TRUE(port.Open());
    ASSERT_TRUE(port.EmulatesLine());
    EXPECT_EQ(port.TxQueued(), 0);
    for (int i = 0; i < 40; ++i) port.WriteByte(0x55);
    int queued = port.TxQueued();
    EXPECT_GT(queued, 30);
    EXPECT_LE(queued, 40);
    std::this_thread::sleep_for(std::chrono::milliseconds(60));  // > 40 x 1.15 ms
    EXPECT_EQ(port.TxQueued(), 0);
}
