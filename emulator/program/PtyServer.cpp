#include "PtyServer.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <stdexcept>
#include <termios.h>
#include <unistd.h>

namespace vindle::emulator {

namespace {

using std::chrono::steady_clock;

// How often the loop looks at the stop flag while nothing else happens.
constexpr std::chrono::milliseconds kStopCheck{200};

std::runtime_error systemError(const std::string& what)
{
    return std::runtime_error(what + ": " + std::strerror(errno));
}

} // namespace

PtyServer::PtyServer(ModuleEmulator& module) : module_(module)
{
    char name[256] = {};
    if (openpty(&master_, &slave_, name, nullptr, nullptr) != 0) {
        throw systemError("cannot open a pseudo-terminal");
    }
    devicePath_ = name;

    termios settings{};
    tcgetattr(slave_, &settings);
    cfmakeraw(&settings);
    cfsetispeed(&settings, B38400);
    cfsetospeed(&settings, B38400);
    tcsetattr(slave_, TCSANOW, &settings);
    // Our own descriptor of the slave stays open, so the line does not hang up
    // while no client has it open.
    fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
}

PtyServer::~PtyServer()
{
    closeLine();
}

void PtyServer::closeLine()
{
    if (master_ >= 0) {
        ::close(master_);
        master_ = -1;
    }
    if (slave_ >= 0) {
        ::close(slave_);
        slave_ = -1;
    }
}

void PtyServer::serve(const std::atomic<bool>& stop)
{
    // A module that has gone dead still delivers what it put on the line before.
    while (!stop && !(module_.disconnected() && !module_.nextDue())) {
        auto now = steady_clock::now();
        while (module_.available(now) > 0) {
            const std::uint8_t byte = module_.take(now);
            while (::write(master_, &byte, 1) < 0) {
                if (errno != EAGAIN && errno != EINTR) {
                    throw systemError("cannot write to the pseudo-terminal");
                }
                pollfd out{master_, POLLOUT, 0};
                ::poll(&out, 1, static_cast<int>(kStopCheck.count()));
                if (stop) {
                    return;
                }
            }
            if (observer_) {
                observer_(Direction::ToPc, byte, steady_clock::now());
            }
        }

        // Wake when the next byte is due, to the microsecond: at 38400 bit/s a
        // byte takes 260 us, and an echo held back to the next millisecond
        // would set the pace of every stop-and-wait exchange.
        std::chrono::nanoseconds timeout = kStopCheck;
        if (const auto next = module_.nextDue()) {
            timeout = std::clamp<std::chrono::nanoseconds>(*next - steady_clock::now(),
                                                           std::chrono::nanoseconds(0), kStopCheck);
        }
        const auto seconds = std::chrono::floor<std::chrono::seconds>(timeout);
        const timespec wait{static_cast<time_t>(seconds.count()),
                            static_cast<long>((timeout - seconds).count())};
        pollfd in{master_, POLLIN, 0};
        const int ready = ::ppoll(&in, 1, &wait, nullptr);
        if (ready < 0 && errno != EINTR) {
            throw systemError("cannot wait on the pseudo-terminal");
        }
        if (ready > 0 && (in.revents & POLLIN)) {
            std::uint8_t buffer[256];
            const ssize_t count = ::read(master_, buffer, sizeof buffer);
            now = steady_clock::now();
            for (ssize_t i = 0; i < count; ++i) {
                if (observer_) {
                    observer_(Direction::FromPc, buffer[i], now);
                }
                module_.receive(buffer[i], now);
            }
        }
    }
    if (module_.disconnected()) {
        closeLine();
    }
}

} // namespace vindle::emulator
