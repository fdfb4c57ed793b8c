#pragma once
#include <cstdint>

// The byte-level view of a line that the 3964R procedure and the module
// simulator work on. CSerialPort is the real one; an in-memory pair and a
// file-descriptor port (pseudo-terminal master) stand in for tests and for
// the simulator.
class IPort {
public:
    virtual ~IPort() = default;
    // One received byte (0..255), or -1 at once when nothing is queued.
    virtual int ReadByte() = 0;
    // Hands one byte to the line; returns the number of bytes written (0 or 1).
    virtual uint16_t WriteByte(uint8_t b) = 0;
    // Bytes waiting in the receive and transmit queues.
    virtual uint16_t RxQueued() = 0;
    virtual uint16_t TxQueued() = 0;
    // Discards whatever has been received so far.
    virtual void PurgeRx() = 0;
};
