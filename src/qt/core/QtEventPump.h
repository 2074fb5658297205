#pragma once

#include "link/EventPump.h"

#include <QTimer>

namespace vindle {

// The protocol's waits on the Qt event loop of the UI thread.
class QtEventPump final : public EventPump
{
public:
    QtEventPump();

    void yieldOnce() override;
    // Sleeps in the event loop; received bytes, user input and a timer set to
    // the limit wake it.
    void waitFor(Clock::Duration limit) override;

private:
    QTimer wakeUp_;
};

} // namespace vindle
