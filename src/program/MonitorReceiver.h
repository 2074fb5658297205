#pragma once

#include "link/ByteLink.h"
#include "ui/monitor/MonitorText.h"

#include <chrono>
#include <cstddef>
#include <string>
#include <vector>

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

// Where a capture keeps every byte the port delivered, as it came: one read
// at a time (the bytes that had arrived together), with the time it was
// taken. Lines are kept until written; the monitor writes them at least as
// often as it draws, and at once when the line goes quiet.
class MonitorCapture
{
public:
    virtual ~MonitorCapture() = default;
    // Whether it keeps anything now (a capture that can be stopped and
    // started again keeps nothing meanwhile).
    virtual bool keeping() const { return true; }
    // The first byte of a read was taken: its line comes with keep(), once
    // the bytes that came with it are taken too (other events may be
    // handled between them).
    virtual void readBegins() {}
    // A line of the capture, without its line end, with how many of the
    // port's bytes it holds.
    virtual void keep(std::string line, std::size_t bytes) = 0;
    virtual bool pending() const = 0;
    virtual void write() = 0;
};

// A capture's line for one read from the port:
// {"time": "2026-12-10T03:40:00.123Z", "bytes": [254, 11, 22]}
std::string captureReadLine(std::chrono::system_clock::time_point time,
                            const std::vector<std::uint8_t>& bytes);
// A capture's line for a change of the port's bit rate, from then on:
// {"time": "2026-12-10T03:40:00.123Z", "baud": 9600}
std::string captureBitRateLine(std::chrono::system_clock::time_point time, int bitRate);
// The data monitor's receive loop: takes every byte the module sends and
// puts its line into `lines`, framed as they say, with the time its first
// byte was read (the wall clock's at the start, then the link's clock).
class MonitorReceiver
{
public:
    // Lines received in a burst are shown together, at the latest after this.
    static constexpr std::chrono::milliseconds kDisplayInterval{50};

    MonitorReceiver(ByteLink& link, MonitorLines& lines, const WallClock& wall);

    // Every byte read from now on is kept in `capture` too (none: no
    // capture).
    void setCapture(MonitorCapture* capture);

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
    MonitorCapture* capture_ = nullptr;
    // The read being taken: its time, its bytes, and how many of the bytes
    // that came with it are still to be taken.
    std::chrono::system_clock::time_point readTime_{};
    std::vector<std::uint8_t> read_;
    int readLeft_ = 0;
    // Keeps the read taken so far in the capture.
    void endRead();
    Clock::TimePoint lastShown_{};
};

} // namespace vindle
