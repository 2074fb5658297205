#include "link/Clock.h"

#include <ctime>

namespace vindle {

std::chrono::minutes SystemWallClock::utcOffset(std::chrono::system_clock::time_point time) const
{
    const std::time_t at = std::chrono::system_clock::to_time_t(time);
    // Each call overwrites the library's one result: copy it first.
    const std::tm* const localResult = std::localtime(&at);
    if (localResult == nullptr)
        return std::chrono::minutes{0};
    const std::tm local = *localResult;
    const std::tm* const utc = std::gmtime(&at);
    if (utc == nullptr)
        return std::chrono::minutes{0};
    // The two differ by less than a day: a day apart at most, across a new
    // year too.
    int days = local.tm_yday - utc->tm_yday;
    if (days > 1)
        days = -1;
    else if (days < -1)
        days = 1;
    return std::chrono::minutes{(days * 24 + local.tm_hour - utc->tm_hour) * 60 + local.tm_min -
                                utc->tm_min};
}

} // namespace vindle
