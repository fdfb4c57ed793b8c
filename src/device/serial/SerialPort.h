#pragma once
#include <termios.h>

#include <atomic>
#include <cstdint>
#include <string>

#include "serial/Port.h"

// The line settings the port asks the terminal driver for. Kept separately
// because a pseudo-terminal silently drops some of them (parity), so what was
// asked for cannot be read back from the line.
struct SerialLineRequest {
    uint32_t baudRate = 0;
    uint16_t dataBits = 0;
    uint16_t parity = 0;    // 0 none, 1 odd, 2 even, other: mark
    uint16_t stopBits = 0;  // 1 one, 2 two, other: one and a half
    termios tio {};         // exactly what was handed to tcsetattr
    bool valid = false;
};

// A serial port on a terminal device: raw 8-bit bytes, no flow control, DTR
// and RTS held on, reads that never wait. The port is held exclusively while
// open (TIOCEXCL and an advisory lock), so a second program gets no access.
class CSerialPort : public IPort {
public:
    // portNumber: the COM number for messages; devicePath: the device it maps to.
    CSerialPort(int portNumber, std::string devicePath);
    ~CSerialPort() override;
    CSerialPort(const CSerialPort&) = delete;
    CSerialPort& operator=(const CSerialPort&) = delete;

    bool Open();
    void Close();
    bool IsOpen() const { return m_fd >= 0; }

    void SetBaudRate(uint32_t baud);
    void SetDataBits(uint16_t bits);
    void SetParity(uint16_t parity);
    void SetStopBits(uint16_t stopBits);

    int ReadByte() override;
    uint16_t WriteByte(uint8_t b) override;
    uint16_t RxQueued() override;
    uint16_t TxQueued() override;
    void PurgeRx() override;

    // True when the device has no line of its own (a pseudo-terminal, which
    // takes bytes at once and reports no transmit queue): the port then
    // keeps the transmit queue a real line at the set speed would have, so
    // that the procedure's waits start when the line would be done.
    bool EmulatesLine() const { return m_emulateLine; }

    int PortNumber() const { return m_portNumber; }
    const std::string& DevicePath() const { return m_devicePath; }
    uint8_t LineErrors() const { return m_lineErrors; }
    const SerialLineRequest& LastRequest() const { return m_request; }

    // Latched line error bits.
    static constexpr uint8_t kBreak = 0x10, kFraming = 0x08, kParity = 0x04, kOverrun = 0x02;

private:
    void ApplyLine();
    void UpdateLineErrors();
    int64_t ByteTimeNs() const;

    int m_portNumber;
    std::string m_devicePath;
    int m_fd = -1;
    uint32_t m_baudRate = 9600;
    uint16_t m_dataBits = 8;
    uint16_t m_parity = 0;
    uint16_t m_stopBits = 1;
    uint8_t m_lineErrors = 0;
    bool m_haveCounts = false;
    int m_lastFrame = 0, m_lastParity = 0, m_lastOverrun = 0, m_lastBrk = 0, m_lastBufOverrun = 0;
    SerialLineRequest m_request;
    bool m_emulateLine = false;
    std::atomic<int64_t> m_lineFreeAtNs {0};  // steady-clock time the emulated line is idle again
};

// Port availability probes of the configuration page: open the device
// exclusively for reading and writing and close it again at once.
bool ProbeDevice(const std::string& devicePath);
bool ProbeCom(int n);  // through the settings' COMn mapping
bool ProbeLpt(int n);  // through the settings' LPTn mapping
