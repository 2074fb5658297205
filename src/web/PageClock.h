#pragma once

#include "link/Clock.h"

#include <chrono>
#include <emscripten.h>

namespace vindle {

// The page's monotonic clock: performance.now(), in milliseconds with a
// fraction.
class PageClock final : public Clock
{
public:
    TimePoint now() const override
    {
        const std::chrono::duration<double, std::milli> since(emscripten_get_now());
        return TimePoint(std::chrono::duration_cast<Duration>(since));
    }
};

} // namespace vindle
