#include "config/Identity.h"

namespace vindle {

std::vector<int> CapabilityFlags::reportedSenders() const
{
    // The option index of `Senders` equals the number of its flag bit.
    std::vector<int> senders;
    for (int option = 0; option < 3; ++option) {
        if (test(option)) {
            senders.push_back(option);
        }
    }
    return senders;
}

Identity Identity::fromReply(const std::array<Received, kIdentityReplyLength>& reply)
{
    return Identity{reply[0], reply[1], reply[2], reply[3], reply[4]};
}

bool Identity::answered() const
{
    return deviceId1.hasValue() || deviceId2.hasValue() || yearOfRelease.hasValue() ||
           firmwareVersion.hasValue() || capabilityByte.hasValue();
}

} // namespace vindle
