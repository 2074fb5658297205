#include "support/PtyPair.h"

#include <fcntl.h>
#include <pty.h>
#include <stdexcept>
#include <termios.h>
#include <unistd.h>

namespace vindle::bench {

PtyPair::PtyPair()
{
    char name[256] = {};
    if (openpty(&master_, &slave_, name, nullptr, nullptr) != 0) {
        throw std::runtime_error("openpty failed");
    }
    termios settings{};
    tcgetattr(slave_, &settings);
    cfmakeraw(&settings);
    tcsetattr(slave_, TCSANOW, &settings);
    path_ = QString::fromLocal8Bit(name);
}

PtyPair::~PtyPair()
{
    ::close(master_);
    ::close(slave_);
}

void PtyPair::send(std::uint8_t byte) const
{
    [[maybe_unused]] const auto written = ::write(master_, &byte, 1);
}

void PtyPair::drain() const
{
    std::uint8_t buffer[256];
    fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
    while (::read(master_, buffer, sizeof buffer) > 0) {
    }
}

} // namespace vindle::bench
