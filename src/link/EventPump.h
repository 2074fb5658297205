#pragma once

#include "link/Clock.h"

namespace vindle {

// The user-interface event loop as the waits of the protocol see it. Everything
// runs on one thread: a wait lets window events run through this interface.
class EventPump
{
public:
    // Passed to waitFor() for a wait without a time limit.
    static constexpr Clock::Duration kNoLimit = Clock::Duration::max();

    virtual ~EventPump() = default;

    // Runs the events that are pending now, without blocking.
    virtual void yieldOnce() = 0;
    // Blocks until at least one event (received bytes, user input, a timer) has
    // been handled, or until `limit` has passed, whichever comes first.
    virtual void waitFor(Clock::Duration limit) = 0;
};

} // namespace vindle
