#pragma once

#include "link/Clock.h"

namespace vindle::test {

// A clock that moves only when told to.
class FakeClock final : public Clock
{
public:
    TimePoint now() const override { return now_; }
    void advance(Duration by) { now_ += by; }
    void set(TimePoint to) { now_ = to; }

private:
    TimePoint now_{std::chrono::hours(1)};
};

} // namespace vindle::test
