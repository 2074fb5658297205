#pragma once

#include "EmulatorSettings.h"
#include "link/Clock.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

namespace vindle::emulator {

// A Vindle Module, bytes in and bytes out: in configuration mode it answers
// commands, in normal running it sends packets. Every byte it sends has the time
// it is due on the line; callers take bytes whose time has come.
class ModuleEmulator
{
public:
    using TimePoint = Clock::TimePoint;

    // The most bytes of running packets that wait on the line and in the PC's
    // receive buffer together. While nobody takes them, further packets are lost,
    // as they are when a real receive buffer overflows.
    static constexpr std::size_t kMaxQueuedRunningBytes = 512;

    explicit ModuleEmulator(EmulatorSettings settings = {});
    // A reply in flight refers to the faults it holds: the module stays where it is.
    ModuleEmulator(const ModuleEmulator&) = delete;
    ModuleEmulator& operator=(const ModuleEmulator&) = delete;
    ModuleEmulator(ModuleEmulator&&) = delete;
    ModuleEmulator& operator=(ModuleEmulator&&) = delete;

    // A byte from the PC, arriving at `now`.
    void receive(std::uint8_t byte, TimePoint now);

    // Number of bytes due by `now`.
    int available(TimePoint now);
    // Takes the oldest byte due by `now`; only called when available(now) > 0.
    std::uint8_t take(TimePoint now);
    // When the next byte will be due, if any is coming. A running module that
    // has not been looked at yet has no packet coming until it is.
    std::optional<TimePoint> nextDue() const;
    // When the last byte sent so far will be due, if any is on the line.
    std::optional<TimePoint> lastDue() const;

    bool disconnected() const { return disconnected_; }
    bool inConfigurationMode() const { return !running_; }
    const Configuration& configuration() const { return settings_.configuration; }

private:
    enum class State
    {
        Idle,
        Command,
        Storing,
    };

    struct Scheduled
    {
        TimePoint due;
        std::uint8_t byte;
    };

    void handleCommand(std::uint8_t command, TimePoint now);
    void handleStoreByte(std::uint8_t byte, TimePoint now);

    // A reply: its bytes pass through the faults aimed at it, then onto the line.
    void beginReply(ReplyKind kind);
    void send(std::uint8_t byte, TimePoint now);
    void schedule(std::uint8_t byte, TimePoint now);
    void produceRunningData(TimePoint now);
    void sendPacket(TimePoint at);
    std::size_t packetSize() const;
    int inputBanks() const;
    bool producesPackets() const;
    Clock::Duration byteTime() const;
    // When a byte that is off the wire at `offTheWire` reaches the PC.
    TimePoint passedOn(TimePoint offTheWire) const;
    Clock::Duration runningPeriod() const;

    EmulatorSettings settings_;
    State state_ = State::Idle;
    int storeLocation_ = 0;
    TimePoint lastStoreByte_{};
    bool running_ = false;
    std::optional<TimePoint> nextPacket_; // empty until the running module is first looked at
    std::uint8_t runningPattern_ = 0;
    int analogRequests_ = 0;
    bool disconnected_ = false;
    long bytesSent_ = 0;

    ReplyKind replyKind_ = ReplyKind::Any;
    int replyPosition_ = 0;
    std::vector<const Fault*> activeFaults_;
    std::vector<int> faultUses_;

    std::deque<Scheduled> line_;
    TimePoint lineFreeAt_{};
};

} // namespace vindle::emulator
