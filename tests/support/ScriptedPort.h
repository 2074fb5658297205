#pragma once

#include "link/Clock.h"
#include "link/SerialPort.h"

#include <algorithm>
#include <cstdint>
#include <deque>
#include <initializer_list>
#include <optional>
#include <vector>

namespace vindle::test {

// A serial port fed from a script: each byte becomes pending at its time.
class ScriptedPort final : public SerialPort
{
public:
    explicit ScriptedPort(const Clock& clock) : clock_(clock) {}

    void arrive(std::initializer_list<std::uint8_t> bytes) { arriveAt(clock_.now(), bytes); }
    void arriveAt(Clock::TimePoint at, std::initializer_list<std::uint8_t> bytes)
    {
        for (std::uint8_t byte : bytes) {
            incoming_.push_back({at, byte});
        }
    }

    int bytesPending() const override
    {
        return static_cast<int>(
            std::count_if(incoming_.begin(), incoming_.end(),
                          [this](const auto& b) { return b.at <= clock_.now(); }));
    }
    std::uint8_t takeByte() override
    {
        const std::uint8_t byte = incoming_.front().byte;
        incoming_.pop_front();
        return byte;
    }
    void writeByte(std::uint8_t byte) override { written_.push_back(byte); }
    void setBitRate(int bitsPerSecond) override { bitRate_ = bitsPerSecond; }

    std::optional<Clock::TimePoint> nextArrival() const
    {
        if (incoming_.empty()) {
            return std::nullopt;
        }
        return incoming_.front().at;
    }
    int pendingTotal() const { return static_cast<int>(incoming_.size()); }
    const std::vector<std::uint8_t>& written() const { return written_; }
    int bitRate() const { return bitRate_; }

private:
    struct Incoming
    {
        Clock::TimePoint at;
        std::uint8_t byte;
    };

    const Clock& clock_;
    std::deque<Incoming> incoming_;
    std::vector<std::uint8_t> written_;
    int bitRate_ = 38400;
};

} // namespace vindle::test
