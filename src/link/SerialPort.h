#pragma once

#include <cstdint>

namespace vindle {

// The one serial port of the program, seen byte by byte. The platform shell
// implements it (QSerialPort); tests use in-memory ports.
class SerialPort
{
public:
    virtual ~SerialPort() = default;

    // Number of received bytes waiting to be taken.
    virtual int bytesPending() const = 0;
    // Takes the oldest pending byte. Only called when bytesPending() > 0.
    virtual std::uint8_t takeByte() = 0;
    // Queues one byte for transmission and returns at once.
    virtual void writeByte(std::uint8_t byte) = 0;
    // Drops every received byte not yet taken, also those the system still
    // holds for the program.
    virtual void discardPending()
    {
        while (bytesPending() > 0)
            takeByte();
    }
    // Changes the bit rate of the open port; 8 data bits, no parity, 1 stop bit stay.
    virtual void setBitRate(int bitsPerSecond) = 0;
};

} // namespace vindle
