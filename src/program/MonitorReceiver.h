#pragma once

#include "link/ByteLink.h"

#include <chrono>

namespace vindle {

class MonitorWindow;

// The data monitor's receive loop: takes every byte the module sends and puts
// its line into the monitor window, framed as the window's check boxes say.
// The window's Baud options set the port's bit rate.
class MonitorReceiver
{
public:
    // Lines received in a burst are shown together, at the latest after this.
    static constexpr std::chrono::milliseconds kDisplayInterval{50};

    MonitorReceiver(ByteLink& link, MonitorWindow& window);

    // Receives until the link is closed.
    void run();

private:
    void receiveLoop();
    // The next byte; shows what has been collected before it waits.
    Received receive();
    void showCollected();

    ByteLink& link_;
    MonitorWindow& window_;
    Clock::TimePoint lastShown_{};
};

} // namespace vindle
