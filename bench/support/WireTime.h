#pragma once

#include "link/Commands.h"
#include "qt/core/QtSerialPort.h"

namespace vindle::bench {

// Start bit, eight data bits, stop bit.
inline constexpr int kBitsPerByte = 10;

// How long `bytes` take on a line of `bitsPerSecond`, in seconds.
constexpr double wireSeconds(int bytes, int bitsPerSecond = QtSerialPort::kBitRate)
{
    return static_cast<double>(bytes) * kBitsPerByte / bitsPerSecond;
}

// A complete read: the command, a location/value pair per location, the three
// bytes after them, then the identify command and the identity reply.
inline constexpr int kReadCommandBytes = 2 + 2;
inline constexpr int kReadReplyBytes = 2 * kLocationCount + 3 + kIdentityReplyLength;
// A complete store: the command, a value per location, an acknowledgement per
// location and the byte after the last one.
inline constexpr int kStoreCommandBytes = 2 + kLocationCount;
inline constexpr int kStoreReplyBytes = kLocationCount + 1;

} // namespace vindle::bench
