#pragma once

#include "link/Clock.h"
#include "link/EventPump.h"
#include "link/Received.h"
#include "link/SerialPort.h"
#include "link/StoreJournal.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <utility>

namespace vindle {

// How long a bounded receive waits for a byte that does not come. Long enough
// for the latency timer of USB-serial adapters (16 ms by default) many times
// over; short enough that a silent module is reported within seconds.
inline constexpr std::chrono::milliseconds kReceiveTimeout{300};
// The module sends a reply back to back: a line quiet this long has finished.
inline constexpr std::chrono::milliseconds kReplyOverGap{50};
// A module in the middle of a store takes every byte that comes as the next
// value; it gives the store up once no byte has come for this long.
inline constexpr std::chrono::milliseconds kModuleStoreTimeout{1000};

// The four byte primitives every exchange with the module is built on; a
// byte a caller does not take stays pending. Beside them the link remembers
// what the line's safety needs: when the last byte came, whether the reply it
// ended was whole, and whether a store is still open in the module.
//
// The link also keeps the line to one exchange at a time (startExchange) and
// knows when the program ends (close): from then on nothing more is sent and
// every wait returns at once, so whatever procedure is still waiting unwinds
// without touching the module again.
class ByteLink
{
public:
    // Holds the line for one exchange; the line is free again when it goes.
    // An empty one (false) means the exchange must not start: another one
    // holds the line, or the program is ending.
    class Exchange
    {
    public:
        Exchange() = default;
        Exchange(Exchange&& other) noexcept : link_(std::exchange(other.link_, nullptr)) {}
        Exchange& operator=(Exchange&& other) noexcept;
        Exchange(const Exchange&) = delete;
        Exchange& operator=(const Exchange&) = delete;
        ~Exchange() { release(); }

        explicit operator bool() const { return link_ != nullptr; }

    private:
        friend class ByteLink;
        explicit Exchange(ByteLink* link) : link_(link) {}
        void release();

        ByteLink* link_ = nullptr;
    };

    ByteLink(SerialPort& port, EventPump& pump, const Clock& clock)
        : port_(port), pump_(pump), clock_(clock)
    {}
    ByteLink(const ByteLink&) = delete;
    ByteLink& operator=(const ByteLink&) = delete;

    // Claims the line for one exchange, unless one is already under way or
    // the link is closed.
    [[nodiscard]] Exchange startExchange();
    bool exchangeRunning() const { return busy_; }
    // Hears when an exchange claims the line (true) and when it lets go
    // (false), so that a shell can show that the program is busy.
    void onExchangeRunning(std::function<void(bool running)> listener)
    {
        exchangeListener_ = std::move(listener);
    }

    // The program ends: no byte is sent from now on and no wait waits.
    void close() { closed_ = true; }
    bool isClosed() const { return closed_; }

    // Queues one byte for transmission and returns at once. A value that is
    // not a byte (0 to 255) is never narrowed into one: it throws
    // std::out_of_range and nothing is sent.
    void sendByte(int value);
    // How many bytes sendByte has sent, and how many bytes were taken, so far.
    std::uint64_t bytesSent() const { return bytesSent_; }
    std::uint64_t bytesTaken() const { return bytesTaken_; }
    // Waits for one byte, at most kReceiveTimeout; every poll yields to the
    // event loop first, so even a pending byte is returned after one yield.
    Received receiveByte();
    // Waits for one byte without a time limit; no value only once the link
    // has been closed.
    Received awaitByte();
    // Drops every byte pending now, without yielding; `yielding` yields to the
    // event loop after each byte dropped, so that bytes arriving meanwhile
    // are dropped too.
    void dropPending(bool yielding = false);
    // Drops whatever arrives until the line has been quiet for kReplyOverGap
    // (counted from the last byte taken; at once after a whole reply),
    // so that the rest of a reply still on its way cannot be taken for the
    // answer to the next command. A line that never falls quiet (a running
    // module) is left after kReceiveTimeout. Waits sleep in the event loop.
    void dropUntilQuiet();
    // The byte just taken ended a reply that the module follows with
    // nothing (the ready marker after an identity, the last byte after a
    // store or a read): the line needs no quiet wait before the next command.
    void replyWhole() { replyWhole_ = true; }
    // The first thing on a port just opened: drops what an earlier program
    // left pending, in the system too, and waits until the line has been
    // quiet for kReplyOverGap (at most kReceiveTimeout), so that nothing sent
    // before this program began is taken for a reply. When the journal says
    // that an earlier run left a store open (or cannot say), the module's
    // store time-out is waited out first. What the journal said is returned.
    StoreJournal::Earlier settle();
    // A store that stopped before its last value (refused, or given up) may
    // leave the module waiting for more values, which it would take from the
    // next command's bytes. Sends nothing until the module has given the
    // store up, dropping whatever arrives meanwhile. Waits even once the link
    // is closed; returns at once when no store was left unfinished.
    void waitOutUnfinishedStore();
    // Told by the store: it is about to send the store command (the journal
    // notes it), a value went out (true), or the store is complete (false).
    void storeBegins();
    void storeUnderWay(bool underWay);
    // A value of a store went out and the store has not been completed: the
    // module may hold part of the new values.
    bool storeUnfinished() const { return storeValueSentAt_.has_value(); }
    // Where the run notes a store under way; none by default.
    void setJournal(StoreJournal* journal) { journal_ = journal; }

    SerialPort& port() { return port_; }
    EventPump& pump() { return pump_; }
    const Clock& clock() const { return clock_; }

private:
    SerialPort& port_;
    EventPump& pump_;
    // One byte, polling with a yield each time; no value at the deadline (if
    // any) or once the link is closed.
    Received receive(std::optional<Clock::TimePoint> deadline);
    std::uint8_t take();

    // Drops until quiet for kReplyOverGap from `quietUntil`, at the latest
    // until `latest`.
    void dropUntilQuietFrom(Clock::TimePoint quietUntil, Clock::TimePoint latest);

    // Drops whatever arrives until `given`, then notes the store as over.
    void waitOutStoreUntil(Clock::TimePoint given);
    void setBusy(bool busy);

    const Clock& clock_;
    std::optional<Clock::TimePoint> lastByteAt_;
    bool replyWhole_ = false;
    std::optional<Clock::TimePoint> storeValueSentAt_;
    StoreJournal* journal_ = nullptr;

    bool busy_ = false;
    bool closed_ = false;
    std::uint64_t bytesSent_ = 0;
    std::uint64_t bytesTaken_ = 0;
    std::function<void(bool)> exchangeListener_;
};

} // namespace vindle
