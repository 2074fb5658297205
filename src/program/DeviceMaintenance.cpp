#include "program/DeviceMaintenance.h"

#include "link/ByteLink.h"
#include "link/DeviceCommands.h"

namespace vindle {

DeviceMaintenance::DeviceMaintenance(ByteLink& link) : link_(link) {}

std::optional<Identity>
DeviceMaintenance::readVersion(const std::function<void(int, const Received&)>& eachByte)
{
    ByteLink& link = link_;
    // Read Firmware Version has always dropped one byte first: a ready
    // marker an earlier exchange left, or one receive time-out.
    link.receiveByte();
    const auto reply = identifyWhole(link, eachByte);
    if (!reply)
        return std::nullopt;
    return Identity::fromReply(*reply);
}

std::optional<Identity> DeviceMaintenance::readIdentity()
{
    link_.dropUntilQuiet();
    const auto reply = identifyWhole(link_);
    if (!reply)
        return std::nullopt;
    return Identity::fromReply(*reply);
}

} // namespace vindle
