#pragma once

#include <QSocketNotifier>
#include <functional>
#include <memory>

namespace vindle::cli {

// Ctrl+C (SIGINT) and SIGTERM, delivered in the event loop: the signal wakes
// any wait, and the handler runs as an ordinary event. A second Ctrl+C ends
// the program at once, as without this.
class InterruptSignal
{
public:
    InterruptSignal();
    ~InterruptSignal();
    InterruptSignal(const InterruptSignal&) = delete;
    InterruptSignal& operator=(const InterruptSignal&) = delete;

    // True from the moment the signal came, even before its handler ran.
    bool requested() const;
    // Runs once, when the signal comes.
    void onInterrupt(std::function<void()> handler) { handler_ = std::move(handler); }

private:
    void received();

    std::unique_ptr<QSocketNotifier> notifier_;
    std::function<void()> handler_;
    bool requested_ = false;
};

} // namespace vindle::cli
