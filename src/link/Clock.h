#pragma once

#include <chrono>

namespace vindle {

// Where the program gets the time from; injectable so waits can be tested.
class Clock
{
public:
    using Duration = std::chrono::steady_clock::duration;
    using TimePoint = std::chrono::steady_clock::time_point;

    virtual ~Clock() = default;
    virtual TimePoint now() const = 0;
};

// The machine's monotonic clock.
class SteadyClock final : public Clock
{
public:
    TimePoint now() const override { return std::chrono::steady_clock::now(); }
};

// Where the program gets the time of day from, for the times it shows and
// keeps (a data monitor line's); injectable like the Clock.
class WallClock
{
public:
    virtual ~WallClock() = default;
    virtual std::chrono::system_clock::time_point now() const = 0;
    // How far the clock where the program runs is ahead of UTC at `time`.
    virtual std::chrono::minutes utcOffset(std::chrono::system_clock::time_point) const
    {
        return std::chrono::minutes{0};
    }
};

// The machine's time of day.
class SystemWallClock final : public WallClock
{
public:
    std::chrono::system_clock::time_point now() const override
    {
        return std::chrono::system_clock::now();
    }
    // From the C library's local time and UTC of the same moment.
    std::chrono::minutes utcOffset(std::chrono::system_clock::time_point time) const override;
};

} // namespace vindle
