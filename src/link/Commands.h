#pragma once

#include <array>
#include <cstdint>

namespace vindle {

// Number of one-byte configuration locations in the module, numbered from 0.
inline constexpr int kLocationCount = 51;
// Number of analog inputs the module reports in one A/D reply.
inline constexpr int kAnalogChannelCount = 7;
// Bytes in the module's answer to the identify command.
inline constexpr int kIdentityReplyLength = 5;

// Command bytes of the module in configuration mode. Every command starts with
// the introducer; the byte after it says what is wanted.
namespace command {
inline constexpr std::uint8_t kIntroducer = 253;
inline constexpr std::uint8_t kReadConfiguration = 252;
inline constexpr std::uint8_t kStoreConfiguration = 254;
// Identify; the module answers it with its identity and, when a reset to
// factory defaults was asked for, with the ready marker after the reset.
inline constexpr std::uint8_t kIdentify = 85;
inline constexpr std::uint8_t kTestConfiguration = 250;
inline constexpr std::uint8_t kReadAnalogInputs = 100;
} // namespace command

// The bit rates a running module may send its data at, slowest first.
inline constexpr std::array<int, 8> kMonitorBitRates{1200,  2400,  4800,  9600,
                                                     19200, 38400, 57600, 115200};

// Sent by the module: ends a factory-default reset and starts an A/D reply.
inline constexpr std::uint8_t kReadyMarker = 254;

} // namespace vindle
