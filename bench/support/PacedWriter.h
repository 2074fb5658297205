#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <thread>

namespace vindle::bench {

// A module that never stops sending: a thread writes packets to a
// pseudo-terminal's master side as fast as a line of `bitsPerSecond` carries
// them (10 bits a byte), in small bursts as a USB adapter delivers them.
//
// Each packet is the header 254, three key bytes and one data byte; key and
// data bytes count 0 to 253 and round again, so every byte of the stream is
// known by its position.
class PacedWriter
{
public:
    static constexpr int kPacketSize = 5;

    PacedWriter(int masterFd, int bitsPerSecond);
    ~PacedWriter();
    PacedWriter(const PacedWriter&) = delete;
    PacedWriter& operator=(const PacedWriter&) = delete;

    // Stops sending and waits for the thread.
    void stop();

    // The byte at `position` (counted from 0) of the stream.
    static std::uint8_t byteAt(std::uint64_t position);

    std::uint64_t written() const { return written_; }
    // How long it has been sending (until stop()).
    double seconds() const;
    // Processor time the writer thread used, known after stop().
    double cpuSeconds() const { return cpuSeconds_; }
    // Written bytes as a share of what the line carries in that time.
    double lineShare() const;
    // The most bytes it ever lagged behind the line because the program had
    // not taken what was sent before (the pseudo-terminal holds back, where a
    // real port would overrun and lose bytes).
    std::uint64_t mostBehind() const { return mostBehind_; }

private:
    void run();

    int master_;
    int bitsPerSecond_;
    std::atomic<bool> stop_{false};
    std::atomic<std::uint64_t> written_{0};
    std::chrono::steady_clock::time_point start_;
    std::chrono::steady_clock::time_point end_;
    bool stopped_ = false;
    std::uint64_t mostBehind_ = 0;
    double cpuSeconds_ = 0.0;
    std::thread thread_;
};

} // namespace vindle::bench
