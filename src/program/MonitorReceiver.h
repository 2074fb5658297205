#pragma once

#include "link/ByteLink.h"

#include <chrono>
#include <cstddef>
#include <string>

namespace vindle {

// Where the data monitor's lines go, and how it frames what it receives: the
// monitor window, or the command line's output.
class MonitorLines
{
public:
    virtual ~MonitorLines() = default;
    // A 254 header starts each packet; and three keys follow it.
    virtual bool headerFraming() const = 0;
    virtual bool keyFraming() const = 0;
    virtual void add(std::string line) = 0;
    // Lines added that are not drawn yet (a display that draws in batches).
    virtual std::size_t undrawn() const = 0;
    virtual void draw() = 0;
};

// The data monitor's receive loop: takes every byte the module sends and
// puts its line into `lines`, framed as they say.
class MonitorReceiver
{
public:
    // Lines received in a burst are shown together, at the latest after this.
    static constexpr std::chrono::milliseconds kDisplayInterval{50};

    MonitorReceiver(ByteLink& link, MonitorLines& lines);

    // Receives until the link is closed.
    void run();

private:
    void receiveLoop();
    // The next byte; shows what has been collected before it waits.
    Received receive();
    void showCollected();

    ByteLink& link_;
    MonitorLines& lines_;
    Clock::TimePoint lastShown_{};
};

} // namespace vindle
