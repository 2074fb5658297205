#include "link/DeviceCommands.h"

#include "base/AtIndex.h"

namespace vindle {

bool takeTrailingByte(ByteLink& link)
{
    return link.receiveByte().hasValue();
}

void sendCommand(ByteLink& link, std::uint8_t command)
{
    link.sendByte(command::kIntroducer);
    link.sendByte(command);
}

ReadPassResult readConfigurationPass(ByteLink& link,
                                     std::array<std::int16_t, kLocationCount>& values,
                                     const std::function<void(int)>& onLocation)
{
    sendCommand(link, command::kReadConfiguration);
    for (int location = 0; location < kLocationCount; ++location) {
        // A location number that does not come is none, not location 0: a
        // silent module costs one time-out a pass.
        const Received number = link.receiveByte();
        if (!number.hasValue() || number != location) {
            return ReadPassResult{location};
        }
        if (onLocation) {
            onLocation(location);
        }
        atIndex(values, location) = static_cast<std::int16_t>(link.receiveByte().toNumber());
    }
    return ReadPassResult{};
}

void beginStore(ByteLink& link)
{
    sendCommand(link, command::kStoreConfiguration);
}

Received storeLocation(ByteLink& link, int value)
{
    link.sendByte(value);
    return link.receiveByte();
}

std::array<Received, kIdentityReplyLength>
identify(ByteLink& link, const std::function<void(int, const Received&)>& onByte)
{
    sendCommand(link, command::kIdentify);
    std::array<Received, kIdentityReplyLength> reply;
    for (int index = 0; index < kIdentityReplyLength; ++index) {
        atIndex(reply, index) = link.receiveByte();
        if (onByte)
            onByte(index, atIndex(reply, index));
    }
    return reply;
}

std::optional<std::array<Received, kIdentityReplyLength>>
identifyWhole(ByteLink& link, const std::function<void(int, const Received&)>& onByte)
{
    sendCommand(link, command::kIdentify);
    std::array<Received, kIdentityReplyLength> reply;
    for (int index = 0; index < kIdentityReplyLength; ++index) {
        atIndex(reply, index) = link.receiveByte();
        if (!atIndex(reply, index).hasValue())
            break;
        if (onByte)
            onByte(index, atIndex(reply, index));
    }
    if (!reply.back().hasValue() || link.receiveByte() != kReadyMarker) {
        // What else is on its way is no reply to the next command either.
        link.dropUntilQuiet();
        return std::nullopt;
    }
    link.replyWhole();
    return reply;
}

bool factoryReset(ByteLink& link)
{
    // A ready marker still pending from an earlier identity, or a byte still
    // on its way from an earlier reply, is not the end of this reset.
    link.dropUntilQuiet();
    sendCommand(link, command::kIdentify);
    for (int receives = 0; receives < kResetReceives; ++receives) {
        link.pump().yieldOnce();
        if (link.receiveByte() == kReadyMarker) {
            return true;
        }
    }
    return false;
}

void startTestConfiguration(ByteLink& link)
{
    sendCommand(link, command::kTestConfiguration);
}

std::optional<std::array<Received, kAnalogChannelCount>> readAnalogInputs(ByteLink& link)
{
    link.dropPending();
    sendCommand(link, command::kReadAnalogInputs);
    if (link.receiveByte() != kReadyMarker) {
        return std::nullopt;
    }
    std::array<Received, kAnalogChannelCount> readings;
    for (Received& reading : readings) {
        reading = link.receiveByte();
    }
    return readings;
}

} // namespace vindle
