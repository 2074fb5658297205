#pragma once

#include "FakeClock.h"
#include "link/EventPump.h"

#include <functional>
#include <optional>
#include <stdexcept>

namespace vindle::test {

// An event loop in simulated time: a wait moves the fake clock to the next
// event of the world (a byte due, say) or to the end of the wait.
class FakePump final : public EventPump
{
public:
    using NextEvent = std::function<std::optional<Clock::TimePoint>()>;

    explicit FakePump(FakeClock& clock, NextEvent nextEvent = {})
        : clock_(clock), nextEvent_(std::move(nextEvent))
    {}

    void yieldOnce() override
    {
        ++yields_;
        if (onYield) {
            onYield();
        }
    }

    void waitFor(Clock::Duration limit) override
    {
        ++waits_;
        const Clock::TimePoint now = clock_.now();
        std::optional<Clock::TimePoint> until;
        if (limit != kNoLimit) {
            until = now + std::max(limit, Clock::Duration::zero());
        }
        if (nextEvent_) {
            if (const auto next = nextEvent_(); next && (!until || *next < *until)) {
                until = std::max(*next, now);
            }
        }
        if (!until) {
            throw std::logic_error("a wait without limit and with nothing coming would never end");
        }
        clock_.set(*until);
    }

    int yields() const { return yields_; }
    int waits() const { return waits_; }

    // Runs inside every yield: lets a test make things happen "meanwhile".
    std::function<void()> onYield;

private:
    FakeClock& clock_;
    NextEvent nextEvent_;
    int yields_ = 0;
    int waits_ = 0;
};

} // namespace vindle::test
