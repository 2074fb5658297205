#include "program/MonitorReceiver.h"

#include "link/Commands.h"
#include "ui/model/NumberText.h"
#include "ui/monitor/MonitorText.h"

namespace vindle {

namespace {

constexpr int kKeyCount = 3;

} // namespace

MonitorReceiver::MonitorReceiver(ByteLink& link, MonitorLines& lines) : link_(link), lines_(lines)
{}

void MonitorReceiver::run()
{
    receiveLoop();
    showCollected();
}

void MonitorReceiver::receiveLoop()
{
    for (;;) {
        if (lines_.headerFraming()) {
            const Received b = receive();
            if (!b.hasValue())
                return;
            const int value = b.toNumber();
            if (value != kReadyMarker) {
                lines_.add(Bin(value) + AddX(value));
                continue;
            }
            lines_.add(Bin(value) + AddX(value) + std::string(kHeaderMarker));
            if (!lines_.keyFraming())
                continue;
            for (int key = 1; key <= kKeyCount; ++key) {
                const Received k = receive();
                if (!k.hasValue())
                    return;
                lines_.add(Bin(k.toNumber()) + AddX(k.toNumber()) + keyMarker(key));
            }
        } else {
            const Received first = receive();
            if (!first.hasValue())
                return;
            const Received second = receive();
            if (!second.hasValue())
                return;
            lines_.add(Bin(first.toNumber()) + numberText(second.toNumber()));
        }
    }
}

Received MonitorReceiver::receive()
{
    // Collected lines are shown once the line has been quiet until they are
    // due, or once they are due while bytes keep coming: a stream that
    // arrives in small bursts is drawn every interval, not after every burst.
    if (lines_.undrawn() > 0) {
        const Clock::TimePoint due = lastShown_ + kDisplayInterval;
        while (!link_.isClosed() && link_.port().bytesPending() == 0 && link_.clock().now() < due)
            link_.pump().waitFor(due - link_.clock().now());
        if (link_.port().bytesPending() == 0 || link_.clock().now() >= due)
            showCollected();
    }
    return link_.awaitByte();
}

void MonitorReceiver::showCollected()
{
    lastShown_ = link_.clock().now();
    lines_.draw();
}

} // namespace vindle
