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

} // namespace vindle
