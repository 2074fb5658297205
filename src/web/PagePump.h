#pragma once

#include "link/EventPump.h"

#include <functional>

namespace vindle {

// The core's waits in a page: the core is suspended (Asyncify) and the page's
// own event loop runs until the page has something for the core or the time
// is up. What the page queued meanwhile (received bytes, the user's actions)
// is then handed over through `takeQueued`, inside the wait, as Qt's event
// loop runs its events inside a wait on the desktop.
//
// The page never calls into the core while it is suspended: it queues and
// wakes it (see vindle-session.mjs).
class PagePump final : public EventPump
{
public:
    // Takes what the page queued; true when there was anything.
    using TakeQueued = std::function<bool()>;

    PagePump(const Clock& clock, TakeQueued takeQueued)
        : clock_(clock), takeQueued_(std::move(takeQueued)), lastSuspended_(clock.now())
    {}

    // Takes what is queued. The page gets its turn too when the core has
    // kept it waiting for a while: a loop that only yields must not starve
    // the page (nothing arrives unless the page runs).
    void yieldOnce() override;
    void waitFor(Clock::Duration limit) override;

private:
    void suspend(Clock::Duration limit);

    const Clock& clock_;
    TakeQueued takeQueued_;
    Clock::TimePoint lastSuspended_;
};

} // namespace vindle
