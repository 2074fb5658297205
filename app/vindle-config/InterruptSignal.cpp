#include "InterruptSignal.h"

#include <atomic>
#include <csignal>
#include <cstdint>
#include <ctime>
#include <sys/socket.h>
#include <unistd.h>

namespace vindle::cli {

namespace {

// Written by the signal handler, read in the event loop.
int signalSockets[2] = {-1, -1};
// Set by the signal handler, also while no event loop runs.
std::atomic<int> presses{0};
std::atomic<std::int64_t> lastPressAt{0}; // ns on the monotonic clock
static_assert(std::atomic<int>::is_always_lock_free &&
              std::atomic<std::int64_t>::is_always_lock_free);

constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};

std::int64_t monotonicNow()
{
    timespec now = {};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

void signalled(int)
{
    const std::int64_t now = monotonicNow();
    const std::int64_t samePress =
        std::chrono::duration_cast<std::chrono::nanoseconds>(InterruptSignal::kSamePress).count();
    if (presses.load() > 0 && now - lastPressAt.load() < samePress)
        return;
    lastPressAt.store(now);
    presses.fetch_add(1);
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(signalSockets[0], &byte, 1);
}

void install(void (*handler)(int))
{
    struct sigaction action = {};
    action.sa_handler = handler;
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    for (const int signal : kSignals)
        ::sigaction(signal, &action, nullptr);
}

} // namespace

void InterruptSignal::catchEarly()
{
    if (signalSockets[0] >= 0)
        return;
    // Without the pair the presses are still counted; only the wake-up of
    // a wait is lost.
    [[maybe_unused]] const int made = ::socketpair(AF_UNIX, SOCK_STREAM, 0, signalSockets);
    install(signalled);
}

InterruptSignal::InterruptSignal()
{
    catchEarly();
    if (signalSockets[1] < 0)
        return;
    notifier_ = std::make_unique<QSocketNotifier>(signalSockets[1], QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] { received(); });
}

InterruptSignal::~InterruptSignal()
{
    install(SIG_DFL);
    notifier_.reset();
    for (int& socket : signalSockets) {
        if (socket >= 0)
            ::close(socket);
        socket = -1;
    }
}

bool InterruptSignal::requested() const
{
    return presses.load() > 0;
}

void InterruptSignal::received()
{
    char bytes[16];
    [[maybe_unused]] const auto read = ::read(signalSockets[1], bytes, sizeof bytes);
    const int pressed = presses.load();
    while (handled_ < pressed && handled_ < 2) {
        ++handled_;
        const std::function<void()>& handler = handled_ == 1 ? first_ : second_;
        if (handler)
            handler();
    }
}

} // namespace vindle::cli
