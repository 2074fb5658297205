#include "link/ByteLink.h"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace vindle {

ByteLink::Exchange& ByteLink::Exchange::operator=(Exchange&& other) noexcept
{
    if (this != &other) {
        release();
        link_ = std::exchange(other.link_, nullptr);
    }
    return *this;
}

void ByteLink::Exchange::release()
{
    if (link_ != nullptr) {
        link_->setBusy(false);
        link_ = nullptr;
    }
}

ByteLink::Exchange ByteLink::startExchange()
{
    if (busy_ || closed_) {
        return Exchange();
    }
    setBusy(true);
    return Exchange(this);
}

void ByteLink::setBusy(bool busy)
{
    busy_ = busy;
    if (exchangeListener_)
        exchangeListener_(busy);
}

void ByteLink::PutI(int value)
{
    if (value < 0 || value > 255) {
        throw std::out_of_range("not a byte: " + std::to_string(value));
    }
    if (!closed_) {
        port_.writeByte(static_cast<std::uint8_t>(value));
    }
}

Received ByteLink::GetI()
{
    return receive(clock_.now() + kReceiveTimeout);
}

Received ByteLink::GetI2()
{
    return receive(std::nullopt);
}

Received ByteLink::receive(std::optional<Clock::TimePoint> deadline)
{
    for (;;) {
        if (closed_ || (deadline && clock_.now() >= *deadline)) {
            return Received();
        }
        pump_.yieldOnce();
        if (closed_) {
            return Received();
        }
        if (port_.bytesPending() >= 1) {
            return Received(take());
        }
        // Sleep in the event loop instead of spinning: received bytes and user
        // input wake it, and so does the deadline.
        pump_.waitFor(deadline ? *deadline - clock_.now() : EventPump::kNoLimit);
    }
}

void ByteLink::DumpBuffer()
{
    while (port_.bytesPending() > 0) {
        take();
    }
}

std::uint8_t ByteLink::take()
{
    lastByteAt_ = clock_.now();
    return port_.takeByte();
}

void ByteLink::dropUntilQuiet()
{
    const Clock::TimePoint latest = clock_.now() + kReceiveTimeout;
    // Quiet since the last byte taken: long after an exchange there is
    // nothing left to wait for.
    Clock::TimePoint quietUntil = lastByteAt_ ? *lastByteAt_ + kReplyOverGap : clock_.now();
    while (!closed_) {
        if (port_.bytesPending() > 0) {
            DumpBuffer();
            quietUntil = clock_.now() + kReplyOverGap;
        }
        const Clock::TimePoint until = std::min(quietUntil, latest);
        if (clock_.now() >= until)
            return;
        pump_.waitFor(until - clock_.now());
    }
}

} // namespace vindle
