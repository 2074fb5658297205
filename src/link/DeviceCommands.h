#pragma once

#include "link/ByteLink.h"
#include "link/Commands.h"
#include "link/Received.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>

namespace vindle {

// One exchange with the module per function. None of them retries or reports
// to the user: the procedures that call them decide what a wrong or missing
// reply means.

// Outcome of one pass of the read-configuration exchange.
struct ReadPassResult
{
    // The location whose number came back wrong or not at all; empty when all
    // 51 pairs arrived in order.
    std::optional<int> failedLocation;
    bool complete() const { return !failedLocation.has_value(); }
};

// Sends the read command and receives location/value pairs for locations 0 to
// 50. Every value received is written to `values`, up to the failing location.
// `onLocation` is called with each location whose number arrived correctly,
// before its value is received. The three bytes the module sends after the
// last pair are left for the caller.
ReadPassResult readConfigurationPass(ByteLink& link,
                                     std::array<std::int16_t, kLocationCount>& values,
                                     const std::function<void(int location)>& onLocation = {});

// Takes one of the bytes that end a reply without meaning anything: the
// three after a read's last pair, the one after a store's last
// acknowledgement. One that does not come costs one receive time-out. True
// when it came.
bool takeTrailingByte(ByteLink& link);

// Sends the introducer and one command byte.
void sendCommand(ByteLink& link, std::uint8_t command);

// Sends the store command, with no reply expected.
void beginStore(ByteLink& link);
// Sends the value of one location and receives the module's acknowledgement,
// which should equal the location number.
Received storeLocation(ByteLink& link, int value);

// Sends the identify command and receives the five reply bytes: device
// identifiers 1 and 2, year of release, firmware version, capability flags.
// `onByte` hears each byte (or its time-out) as it comes, with its index.
std::array<Received, kIdentityReplyLength>
identify(ByteLink& link, const std::function<void(int index, const Received&)>& onByte = {});

// The identify command with its whole reply checked: the five identity bytes
// and then the ready marker, each within the receive time-out. Empty when the
// reply is anything else, as soon as that shows: a byte that does not come
// ends the wait at once, and nothing is made of a reply cut short, shifted or
// mixed with other traffic. `onByte` hears each identity byte as it comes.
std::optional<std::array<Received, kIdentityReplyLength>>
identifyWhole(ByteLink& link, const std::function<void(int index, const Received&)>& onByte = {});

// How many bytes a factory-default reset looks through for the ready marker
// before the read after it goes on anyway.
inline constexpr int kResetReceives = 100;

// Lets whatever an earlier exchange left run out, sends the factory-default
// reset and receives, yielding before each receive, until the ready marker
// arrives or kResetReceives receives have been made. True when the ready
// marker arrived. (The command line's reset takes a whole identity instead;
// identifyWhole.)
bool factoryReset(ByteLink& link);

// Tells the module to leave configuration mode and run; nothing is awaited.
void startTestConfiguration(ByteLink& link);

// Drops pending input, asks for the current A/D readings and receives them.
// Empty when the reply does not start with the ready marker; a reading that
// does not arrive in time is reported as no value.
std::optional<std::array<Received, kAnalogChannelCount>> readAnalogInputs(ByteLink& link);

} // namespace vindle
