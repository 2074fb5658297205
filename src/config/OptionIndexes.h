#pragma once

namespace vindle::option {

// The options of the configuration's choices, by the index each stores.

// The mode of operation (location 10).
inline constexpr int kVindleModule = 0;     // MODE 0: inputs passed on
inline constexpr int kAnalogLimiter = 1;    // MODE 1: relays on analog limits
inline constexpr int kParallelToSerial = 2; // MODE 2
inline constexpr int kSerialToParallel = 3; // MODE 3: data from the computer
inline constexpr int kAnalogToPc = 4;       // MODE 4: A/D data to a PC

// The transmitter fitted besides the RS-232 port (location 9).
inline constexpr int kRs232Only = 0;
inline constexpr int kLrTransmitter = 1;
inline constexpr int kEsTransmitter = 2;

// How often data are sent (location 12).
inline constexpr int kPeriodically = 0;
inline constexpr int kConstantly = 1;
inline constexpr int kOnChange = 2;

// The RS-232 output device (location 14): none, a computer, the relay
// controllers from Borin to Quadrel, and the PWM controller.
inline constexpr int kNoRs232Output = 0;
inline constexpr int kComputer = 1;
inline constexpr int kFirstRelayController = 2;
inline constexpr int kLastRelayController = 10;
inline constexpr int kLastRs232Option = 11; // unused, hidden
inline constexpr int kRs232PwmController = 12;

// The LR wireless output device (location 16).
inline constexpr int kNoLrOutput = 0;
inline constexpr int kBrevane = 1;
inline constexpr int kLrRelayController = 2;
inline constexpr int kLrPwmController = 3;

// The ES wireless output device (location 20).
inline constexpr int kNoEsOutput = 0;
inline constexpr int kPellix = 1;
inline constexpr int kEsRelayController = 2;

// The switch type expected on the inputs (location 50).
inline constexpr int kNormallyOpen = 0;
inline constexpr int kNormallyClosed = 1;

} // namespace vindle::option
