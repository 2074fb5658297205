#include "program/MonitorReceiver.h"

#include "link/Commands.h"

namespace vindle {

MonitorReceiver::MonitorReceiver(ByteLink& link, MonitorLines& lines, const WallClock& wall)
    : link_(link), lines_(lines), wall_(wall)
{}

std::chrono::system_clock::time_point MonitorReceiver::timeNow() const
{
    return wallStart_ + std::chrono::duration_cast<std::chrono::system_clock::duration>(
                            link_.clock().now() - clockStart_);
}

namespace {

// A capture's line: its time, then one more field.
std::string captureLine(std::chrono::system_clock::time_point time, const char* field,
                        const std::string& value)
{
    return "{\"time\": \"" + utcTimeText(time) + "\", \"" + field + "\": " + value + "}";
}

} // namespace

std::string captureReadLine(std::chrono::system_clock::time_point time,
                            const std::vector<std::uint8_t>& bytes)
{
    std::string values = "[";
    for (std::size_t i = 0; i < bytes.size(); ++i)
        values += (i == 0 ? "" : ", ") + std::to_string(bytes[i]);
    return captureLine(time, "bytes", values + "]");
}

std::string captureBitRateLine(std::chrono::system_clock::time_point time, int bitRate)
{
    return captureLine(time, "baud", std::to_string(bitRate));
}

void MonitorReceiver::setCapture(MonitorCapture* capture)
{
    endRead();
    capture_ = capture;
}

void MonitorReceiver::endRead()
{
    if (capture_ && !read_.empty())
        capture_->keep(captureReadLine(readTime_, read_), read_.size());
    read_.clear();
    readLeft_ = 0;
}

void MonitorReceiver::run()
{
    wallStart_ = wall_.now();
    clockStart_ = link_.clock().now();
    receiveLoop();
    endRead();
    showCollected();
}

void MonitorReceiver::receiveLoop()
{
    using Kind = MonitorLine::Kind;
    const auto byte = [](const Received& b) { return static_cast<std::uint8_t>(b.toNumber()); };
    for (;;) {
        if (lines_.headerFraming()) {
            const Received b = receive();
            if (!b.hasValue())
                return;
            const auto at = timeNow();
            if (b.toNumber() != kReadyMarker) {
                lines_.add({at, Kind::Byte, byte(b)});
                continue;
            }
            lines_.add({at, Kind::Header, byte(b)});
            if (!lines_.keyFraming())
                continue;
            for (const Kind key : {Kind::Key1, Kind::Key2, Kind::Key3}) {
                const Received k = receive();
                if (!k.hasValue())
                    return;
                lines_.add({timeNow(), key, byte(k)});
            }
        } else {
            const Received first = receive();
            if (!first.hasValue())
                return;
            const auto at = timeNow();
            const Received second = receive();
            if (!second.hasValue())
                return;
            lines_.add({at, Kind::Pair, byte(first), byte(second)});
        }
    }
}

Received MonitorReceiver::receive()
{
    // Collected lines are shown once the line has been quiet until they are
    // due, or once they are due while bytes keep coming: a stream that
    // arrives in small bursts is drawn every interval, not after every burst.
    // The read ends with the last byte that had come with it.
    if (readLeft_ == 0)
        endRead();
    if (lines_.undrawn() > 0 || (capture_ && capture_->pending())) {
        const Clock::TimePoint due = lastShown_ + kDisplayInterval;
        while (!link_.isClosed() && link_.port().bytesPending() == 0 && link_.clock().now() < due)
            link_.pump().waitFor(due - link_.clock().now());
        if (link_.port().bytesPending() == 0 || link_.clock().now() >= due)
            showCollected();
    }
    const Received byte = link_.awaitByte();
    if (capture_ && byte.hasValue() && capture_->keeping()) {
        if (read_.empty()) {
            capture_->readBegins();
            readTime_ = timeNow();
            readLeft_ = link_.port().bytesPending();
        } else {
            --readLeft_;
        }
        read_.push_back(static_cast<std::uint8_t>(byte.toNumber()));
    }
    return byte;
}

void MonitorReceiver::showCollected()
{
    lastShown_ = link_.clock().now();
    lines_.draw();
    if (capture_ && capture_->pending())
        capture_->write();
}

} // namespace vindle
