#pragma once

#include "link/SerialPort.h"

#include <cstdint>
#include <vector>

namespace vindle::test {

// A serial port that passes everything on to another one and keeps every byte
// the program writes.
class RecordingPort final : public SerialPort
{
public:
    explicit RecordingPort(SerialPort& port) : port_(port) {}

    int bytesPending() const override { return port_.bytesPending(); }
    std::uint8_t takeByte() override { return port_.takeByte(); }
    void writeByte(std::uint8_t byte) override
    {
        written_.push_back(byte);
        port_.writeByte(byte);
    }
    void setBitRate(int bitsPerSecond) override { port_.setBitRate(bitsPerSecond); }

    const std::vector<std::uint8_t>& written() const { return written_; }

private:
    SerialPort& port_;
    std::vector<std::uint8_t> written_;
};

} // namespace vindle::test
