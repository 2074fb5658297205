#include "InterruptSignal.h"

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace vindle::cli {

namespace {

// Written by the signal handler, read in the event loop.
int signalSockets[2] = {-1, -1};
// Set by the signal handler at once, also while no event loop runs.
volatile std::sig_atomic_t signalledNow = 0;

void signalled(int)
{
    signalledNow = 1;
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(signalSockets[0], &byte, 1);
}

void install(void (*handler)(int), int flags)
{
    struct sigaction action = {};
    action.sa_handler = handler;
    action.sa_flags = flags;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGTERM, &action, nullptr);
}

} // namespace

InterruptSignal::InterruptSignal()
{
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalSockets) != 0)
        return;
    notifier_ = std::make_unique<QSocketNotifier>(signalSockets[1], QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] { received(); });
    // The handler goes back to the default after the first signal, so that a
    // second one ends the program whatever it is doing.
    install(signalled, static_cast<int>(SA_RESETHAND | SA_RESTART));
}

InterruptSignal::~InterruptSignal()
{
    install(SIG_DFL, 0);
    notifier_.reset();
    for (int& socket : signalSockets) {
        if (socket >= 0)
            ::close(socket);
        socket = -1;
    }
}

bool InterruptSignal::requested() const
{
    return requested_ || signalledNow != 0;
}

void InterruptSignal::received()
{
    char byte = 0;
    [[maybe_unused]] const auto read = ::read(signalSockets[1], &byte, 1);
    if (requested_)
        return;
    requested_ = true;
    if (handler_)
        handler_();
}

} // namespace vindle::cli
