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

void ByteLink::DumpBuffer(bool yielding)
{
    while (!closed_ && port_.bytesPending() > 0) {
        take();
        if (yielding)
            pump_.yieldOnce();
    }
}

std::uint8_t ByteLink::take()
{
    lastByteAt_ = clock_.now();
    return port_.takeByte();
}

void ByteLink::dropUntilQuiet()
{
    // Quiet since the last byte taken: long after an exchange there is
    // nothing left to wait for.
    const Clock::TimePoint now = clock_.now();
    dropUntilQuietFrom(lastByteAt_ ? *lastByteAt_ + kReplyOverGap : now, now + kReceiveTimeout);
}

void ByteLink::settle()
{
    if (closed_)
        return;
    port_.discardPending();
    const Clock::TimePoint now = clock_.now();
    dropUntilQuietFrom(now + kReplyOverGap, now + kReceiveTimeout);
}

void ByteLink::storeUnderWay(bool underWay)
{
    if (underWay)
        storeValueSentAt_ = clock_.now();
    else
        storeValueSentAt_.reset();
}

void ByteLink::waitOutUnfinishedStore()
{
    if (!storeValueSentAt_)
        return;
    // A little over the module's own time, so that its clock running a
    // little slow does not matter.
    const Clock::TimePoint given = *storeValueSentAt_ + kModuleStoreTimeout + kReplyOverGap;
    while (clock_.now() < given) {
        while (port_.bytesPending() > 0)
            take();
        pump_.waitFor(given - clock_.now());
    }
    storeValueSentAt_.reset();
}

void ByteLink::dropUntilQuietFrom(Clock::TimePoint quietUntil, Clock::TimePoint latest)
{
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
