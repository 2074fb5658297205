#pragma once

#include "link/Clock.h"
#include "link/Commands.h"

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace vindle::emulator {

using Configuration = std::array<std::uint8_t, kLocationCount>;

// The configuration a new emulated module holds, and returns to on a reset.
// Every value is one the set-up utility shows without having to recover.
Configuration factoryDefaults();

// The replies a fault can be aimed at.
enum class ReplyKind
{
    Any,
    ReadConfiguration,  // 51 location/value pairs, then three trailing bytes
    StoreConfiguration, // one echo per location (position = location), then one trailing byte
    Identify,           // five identity bytes, then the ready marker
    ReadAnalog,         // the ready marker, then seven readings
    Running,            // running-mode data after the test-configuration command
};

// A fault injected into the byte stream of a reply.
struct Fault
{
    enum class Kind
    {
        Drop,    // the byte at `position` is not sent
        Replace, // the byte at `position` is sent as `value`
        Insert,  // `value` is sent before the byte at `position`
    };

    Kind kind = Kind::Drop;
    ReplyKind reply = ReplyKind::Any;
    int position = 0;
    std::uint8_t value = 0;
    int times = 1; // how many matching replies it affects; 0 for every one
};

// What a running module sends in each packet; every packet ends with one data
// byte per input bank (at least one).
enum class RunningTraffic
{
    HeaderAndKeys, // 254, the three key bytes (locations 6 to 8), then the data
    Header,        // 254, then the data
    Plain,         // the data alone
};

// Everything that makes one emulated module: its memory, identity, readings and faults.
struct EmulatorSettings
{
    Configuration configuration = factoryDefaults();
    Configuration defaults = factoryDefaults();

    std::uint8_t deviceId1 = 17;
    std::uint8_t deviceId2 = 4;
    std::uint8_t yearOfRelease = 26;
    std::uint8_t firmwareVersion = 1;
    std::uint8_t capabilities = 0x01; // RS-232 port only
    // Answer the identify command with a reset to factory defaults.
    bool resetOnIdentify = false;

    std::array<std::uint8_t, kAnalogChannelCount> analogReadings{0, 51, 75, 128, 180, 230, 255};
    // Make every A/D reply differ from the one before.
    bool varyAnalogReadings = false;

    // Start in normal running, as a module without its program jumper: it
    // sends its packets and ignores every command.
    bool startRunning = false;
    // Running mode: packets per second, and what each packet holds. A packet
    // never starts while the line still carries the one before: when the rate
    // asks for more than the line can carry, packets come as fast as it can.
    double runningPacketsPerSecond = 2.0;
    RunningTraffic runningTraffic = RunningTraffic::HeaderAndKeys;

    // Line pacing: bit rate of the emulated line (10 bit times per byte); 0 sends
    // every byte at once.
    int bitRate = 0;
    // Extra delay before every reply byte.
    Clock::Duration byteDelay{};
    // Hold what the module sends until the next tick of a latency timer of
    // this period, as a USB-serial adapter does before passing received bytes
    // on (an FTDI adapter's default on Linux is 16 ms); zero passes each byte
    // on as it comes off the wire.
    Clock::Duration latencyTimer{};
    // A store that stops arriving for this long is abandoned.
    Clock::Duration storeIdleTimeout = std::chrono::seconds(1);

    // Faults.
    bool silent = false;       // never answer
    std::vector<Fault> faults; // applied to the replies they match
    // Go dead after sending this many bytes: they still arrive, nothing after them.
    std::optional<long> disconnectAfterBytes;
};

} // namespace vindle::emulator
