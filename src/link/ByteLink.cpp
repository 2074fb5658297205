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

void ByteLink::sendByte(int value)
{
    if (value < 0 || value > 255) {
        throw std::out_of_range("not a byte: " + std::to_string(value));
    }
    if (!closed_) {
        port_.writeByte(static_cast<std::uint8_t>(value));
        ++bytesSent_;
    }
}

Received ByteLink::receiveByte()
{
    return receive(clock_.now() + kReceiveTimeout);
}

Received ByteLink::awaitByte()
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

void ByteLink::dropPending(bool yielding)
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
    replyWhole_ = false;
    ++bytesTaken_;
    return port_.takeByte();
}

void ByteLink::dropUntilQuiet()
{
    // Quiet since the last byte taken: long after an exchange there is
    // nothing left to wait for, and a line that has carried nothing since the
    // end of a whole reply is quiet already.
    const Clock::TimePoint now = clock_.now();
    if (replyWhole_) {
        dropPending();
        if (replyWhole_)
            return;
    }
    dropUntilQuietFrom(lastByteAt_ ? *lastByteAt_ + kReplyOverGap : now, now + kReceiveTimeout);
}

StoreJournal::Earlier ByteLink::settle()
{
    const StoreJournal::Earlier earlier =
        journal_ ? journal_->earlier() : StoreJournal::Earlier::None;
    if (closed_)
        return earlier;
    port_.discardPending();
    // The module gives a store up once no byte has come for its time-out,
    // and none has come from this run yet.
    if (earlier != StoreJournal::Earlier::None)
        waitOutStoreUntil(clock_.now() + kModuleStoreTimeout + kReplyOverGap);
    const Clock::TimePoint now = clock_.now();
    dropUntilQuietFrom(now + kReplyOverGap, now + kReceiveTimeout);
    return earlier;
}

void ByteLink::storeBegins()
{
    if (journal_ && !closed_)
        journal_->storeBegins();
}

void ByteLink::storeUnderWay(bool underWay)
{
    if (underWay) {
        storeValueSentAt_ = clock_.now();
        return;
    }
    storeValueSentAt_.reset();
    if (journal_)
        journal_->storeOver();
}

void ByteLink::waitOutUnfinishedStore()
{
    if (!storeValueSentAt_)
        return;
    // A little over the module's own time, so that its clock running a
    // little slow does not matter. The module took its last value at the
    // latest when it last sent something.
    const Clock::TimePoint lastHeard =
        lastByteAt_ ? std::max(*lastByteAt_, *storeValueSentAt_) : *storeValueSentAt_;
    waitOutStoreUntil(lastHeard + kModuleStoreTimeout + kReplyOverGap);
}

void ByteLink::waitOutStoreUntil(Clock::TimePoint given)
{
    // A byte from the module while it waits (an acknowledgement that a slow
    // line brought late) says it took a value then: its time-out starts
    // again from there. A line that never falls silent (a module that runs)
    // holds no store open, so this is bounded.
    const Clock::TimePoint latest = given + 2 * kModuleStoreTimeout;
    while (clock_.now() < given) {
        if (port_.bytesPending() > 0) {
            while (port_.bytesPending() > 0)
                take();
            given = std::clamp(*lastByteAt_ + kModuleStoreTimeout + kReplyOverGap, given, latest);
        }
        pump_.waitFor(given - clock_.now());
    }
    storeUnderWay(false);
}

void ByteLink::dropUntilQuietFrom(Clock::TimePoint quietUntil, Clock::TimePoint latest)
{
    while (!closed_) {
        if (port_.bytesPending() > 0) {
            dropPending();
            quietUntil = clock_.now() + kReplyOverGap;
        }
        const Clock::TimePoint until = std::min(quietUntil, latest);
        if (clock_.now() >= until)
            return;
        pump_.waitFor(until - clock_.now());
    }
}

} // namespace vindle
