#pragma once

#include "ModuleEmulator.h"
#include "link/Clock.h"
#include "link/SerialPort.h"

#include <vector>

namespace vindle::emulator {

// A serial port wired straight to an emulated module, in memory. The module's
// bytes become pending when the clock reaches their time on the line.
class EmulatorPort final : public SerialPort
{
public:
    EmulatorPort(ModuleEmulator& module, const Clock& clock) : module_(module), clock_(clock) {}

    int bytesPending() const override { return module_.available(clock_.now()); }
    std::uint8_t takeByte() override { return module_.take(clock_.now()); }
    void writeByte(std::uint8_t byte) override
    {
        written_.push_back(byte);
        writtenAt_.push_back(clock_.now());
        module_.receive(byte, clock_.now());
    }
    void setBitRate(int bitsPerSecond) override { bitRate_ = bitsPerSecond; }

    const std::vector<std::uint8_t>& written() const { return written_; }
    // When each byte of written() was handed over.
    const std::vector<Clock::TimePoint>& writtenAt() const { return writtenAt_; }
    int bitRate() const { return bitRate_; }

private:
    ModuleEmulator& module_;
    const Clock& clock_;
    std::vector<std::uint8_t> written_;
    std::vector<Clock::TimePoint> writtenAt_;
    int bitRate_ = 38400;
};

} // namespace vindle::emulator
