#pragma once

#include "link/Clock.h"
#include "link/EventPump.h"
#include "link/Received.h"
#include "link/SerialPort.h"

#include <chrono>
#include <cstdint>

namespace vindle {

// How long a bounded receive waits for a byte that does not come. Long enough
// for the latency timer of USB-serial adapters (16 ms by default) many times
// over; short enough that a silent module is reported within seconds.
inline constexpr std::chrono::milliseconds kReceiveTimeout{300};

// The four byte primitives every exchange with the module is built on. They
// keep no state between calls; a byte a caller does not take stays pending.
class ByteLink
{
public:
    ByteLink(SerialPort& port, EventPump& pump, const Clock& clock)
        : port_(port), pump_(pump), clock_(clock)
    {}

    // Queues one byte for transmission and returns at once.
    void PutI(std::uint8_t value);
    // Waits for one byte, at most kReceiveTimeout; every poll yields to the
    // event loop first, so even a pending byte is returned after one yield.
    Received GetI();
    // Waits for one byte without a time limit.
    int GetI2();
    // Drops every byte pending now, without yielding.
    void DumpBuffer();

    SerialPort& port() { return port_; }
    EventPump& pump() { return pump_; }
    const Clock& clock() const { return clock_; }

private:
    SerialPort& port_;
    EventPump& pump_;
    const Clock& clock_;
};

} // namespace vindle
