#pragma once

#include "link/ByteLink.h"
#include "ui/monitor/MonitorText.h"

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
    virtual void add(const MonitorLine& line) = 0;
    // Lines added that are not drawn yet (a display that draws in batches).
    virtual std::size_t undrawn() const = 0;
    virtual void draw() = 0;
};

// The data monitor's receive loop: takes every byte the module sends and
// puts its line into `lines`, framed as they say, with the time its first
// byte was read (the wall clock's at the start, then the link's clock).
class MonitorReceiver
{
public:
    // Lines received in a burst are shown together, at the latest after this.
    static constexpr std::chrono::milliseconds kDisplayInterval{50};

    MonitorReceiver(ByteLink& link, MonitorLines& lines, const WallClock& wall);

    // Receives until the link is closed.
    void run();

private:
    void receiveLoop();
    // The next byte; shows what has been collected before it waits.
    Received receive();
    void showCollected();
    // The time of day now, as the link's clock has moved on since the start.
    std::chrono::system_clock::time_point timeNow() const;

    ByteLink& link_;
    MonitorLines& lines_;
    const WallClock& wall_;
    std::chrono::system_clock::time_point wallStart_{};
    Clock::TimePoint clockStart_{};
    Clock::TimePoint lastShown_{};
};

} // namespace vindle
