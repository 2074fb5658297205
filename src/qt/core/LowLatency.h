#pragma once

namespace vindle {

// Asks the serial driver behind the open descriptor `fd` to pass on received
// bytes at once. A USB-serial adapter otherwise holds them until its latency
// timer runs out (16 ms by default for FTDI's on Linux), which would set the
// pace of every one-byte-out, one-byte-back exchange; in low-latency mode
// Linux's ftdi_sio driver sets that timer to 1 ms. A device that has no such
// mode (a pseudo-terminal, another driver) is left as it is, silently, as is
// every system other than Linux: on Windows the timer is a setting of the
// adapter's driver.
void setLowLatency(int fd);

} // namespace vindle
