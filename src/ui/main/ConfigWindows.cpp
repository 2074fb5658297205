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

void ConfigWindows::hideSecondaryWindows()
{
    // In the order the data monitor's hand-over has always hidden them.
    for (Window* const window :
         {static_cast<Window*>(limiter_.get()), static_cast<Window*>(advanced_.get()),
          static_cast<Window*>(motionTimes_.get())}) {
        if (window)
            window->hide();
    }
}

void ConfigWindows::Rules()
{
    vindle::Rules(*this);
}

} // namespace vindle
