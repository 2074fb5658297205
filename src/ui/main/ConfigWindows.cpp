#include "ui/main/ConfigWindows.h"

#include "ui/main/MainHelp.h"
#include "ui/main/Rules.h"
#include "ui/main/ValueHandlers.h"

namespace vindle {

ConfigWindows::ConfigWindows()
{
    installValueHandlers(*this);
    installMainHelp(main_);
}

ConfigWindows::~ConfigWindows() = default;

template <class W> W& ConfigWindows::secondary(std::unique_ptr<W>& window)
{
    if (!window) {
        window = std::make_unique<W>();
        for (const CreatedListener& listener : created_)
            listener(*window);
    }
    return *window;
}

AdvancedWindow& ConfigWindows::advanced()
{
    return secondary(advanced_);
}

MotionTimesWindow& ConfigWindows::motionTimes()
{
    return secondary(motionTimes_);
}

LimiterWindow& ConfigWindows::limiter()
{
    return secondary(limiter_);
}

void ConfigWindows::Rules()
{
    vindle::Rules(*this);
}

} // namespace vindle
