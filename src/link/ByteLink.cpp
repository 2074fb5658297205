#include "link/ByteLink.h"

namespace vindle {

void ByteLink::PutI(std::uint8_t value)
{
    port_.writeByte(value);
}

Received ByteLink::GetI()
{
    const Clock::TimePoint deadline = clock_.now() + kReceiveTimeout;
    for (;;) {
        if (clock_.now() >= deadline) {
            return Received();
        }
        pump_.yieldOnce();
        if (port_.bytesPending() >= 1) {
            return Received(port_.takeByte());
        }
        // Sleep in the event loop instead of spinning: received bytes and user
        // input wake it, and so does the deadline.
        pump_.waitFor(deadline - clock_.now());
    }
}

int ByteLink::GetI2()
{
    for (;;) {
        pump_.yieldOnce();
        if (port_.bytesPending() >= 1) {
            return port_.takeByte();
        }
        pump_.waitFor(EventPump::kNoLimit);
    }
}

void ByteLink::DumpBuffer()
{
    while (port_.bytesPending() > 0) {
        port_.takeByte();
    }
}

} // namespace vindle
