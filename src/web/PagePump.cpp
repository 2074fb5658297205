#include "web/PagePump.h"

#include <algorithm>
#include <chrono>
#include <emscripten.h>

// Suspends the core until the page wakes it: Module.vindlePage.wait() calls
// wakeUp when it has queued something for the core, or after `ms` (a
// negative `ms` waits without a limit).
EM_JS(void, vindle_page_wait, (double ms), {
    return Asyncify.handleSleep(
        function(wakeUp) { Module["vindlePage"].wait(ms < 0 ? Infinity : ms, wakeUp); });
});

namespace vindle {

namespace {

// How long the core may run before the page gets a turn: about a frame.
constexpr auto kLongestTurn = std::chrono::milliseconds(10);

} // namespace

void PagePump::yieldOnce()
{
    if (clock_.now() - lastSuspended_ >= kLongestTurn)
        suspend(Clock::Duration::zero());
    takeQueued_();
}

void PagePump::waitFor(Clock::Duration limit)
{
    if (takeQueued_())
        return;
    suspend(std::max(limit, Clock::Duration::zero()));
    takeQueued_();
}

void PagePump::suspend(Clock::Duration limit)
{
    const double ms =
        limit == kNoLimit ? -1.0 : std::chrono::duration<double, std::milli>(limit).count();
    vindle_page_wait(ms);
    lastSuspended_ = clock_.now();
}

} // namespace vindle
