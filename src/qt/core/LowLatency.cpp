#include "qt/core/LowLatency.h"

#include <QtGlobal>

#ifdef Q_OS_LINUX
#include <linux/serial.h>
#include <sys/ioctl.h>
#endif

namespace vindle {

void setLowLatency(int fd)
{
#ifdef Q_OS_LINUX
    constexpr int kLowLatency = ASYNC_LOW_LATENCY;
    serial_struct serial{};
    if (::ioctl(fd, TIOCGSERIAL, &serial) != 0 || (serial.flags & kLowLatency) != 0)
        return;
    serial.flags |= kLowLatency;
    ::ioctl(fd, TIOCSSERIAL, &serial);
#else
    Q_UNUSED(fd);
#endif
}

} // namespace vindle
