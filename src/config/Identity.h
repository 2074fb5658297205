#pragma once

#include "link/Commands.h"
#include "link/Received.h"

#include <array>
#include <cstdint>
#include <vector>

namespace vindle {

// The fifth byte of the identity reply: what the module is fitted with.
class CapabilityFlags
{
public:
    CapabilityFlags() = default;
    explicit CapabilityFlags(std::uint8_t bits) : bits_(bits) {}

    std::uint8_t bits() const { return bits_; }

    // At least one input bank is always present, so the bank count starts at 1.
    bool hasInputBankAlways() const { return test(4); }

    // The `Senders` options the module reports, in the order the flags are
    // applied (RS-232 only, LR transmitter, ES transmitter).
    std::vector<int> reportedSenders() const;

private:
    bool test(int bit) const { return (bits_ >> bit) & 1U; }

    std::uint8_t bits_ = 0;
};

// The module's answer to the identify command, each byte as it arrived or
// not.
struct Identity
{
    Received deviceId1;
    Received deviceId2;
    Received yearOfRelease;
    Received firmwareVersion;
    Received capabilityByte;

    // What the module is fitted with; a byte that did not arrive counts as no
    // capability at all.
    CapabilityFlags capabilities() const
    {
        return CapabilityFlags(static_cast<std::uint8_t>(capabilityByte.toNumber()));
    }
    // True when any byte of the reply arrived.
    bool answered() const;

    static Identity fromReply(const std::array<Received, kIdentityReplyLength>& reply);
};

} // namespace vindle
