#pragma once

#include <QSocketNotifier>
#include <chrono>
#include <functional>
#include <memory>

namespace vindle::cli {

// Ctrl+C (SIGINT), SIGTERM and SIGHUP, delivered in the event loop: the
// signal wakes any wait, and the handlers run as ordinary events.
//
// The signals are caught from the first moment of the program on
// (catchEarly(), before anything else runs), so that none is lost while the
// program starts. Signals closer together than kSamePress are one press:
// `timeout -s INT` sends one to the program and another to its group. The
// second press is told apart so that a run can end at once, saying what it
// leaves behind.
class InterruptSignal
{
public:
    static constexpr std::chrono::milliseconds kSamePress{300};

    // Catches the signals; the first thing main() does. Presses that come
    // before an InterruptSignal exists are kept for it.
    static void catchEarly();

    InterruptSignal();
    ~InterruptSignal();
    InterruptSignal(const InterruptSignal&) = delete;
    InterruptSignal& operator=(const InterruptSignal&) = delete;

    // True from the moment the first press came, even before its handler ran.
    bool requested() const;
    // Run once each, in the event loop: at the first press, and at the second.
    void onInterrupt(std::function<void()> handler) { first_ = std::move(handler); }
    void onSecondInterrupt(std::function<void()> handler) { second_ = std::move(handler); }

private:
    void received();

    std::unique_ptr<QSocketNotifier> notifier_;
    std::function<void()> first_;
    std::function<void()> second_;
    int handled_ = 0;
};

} // namespace vindle::cli
