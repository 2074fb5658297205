#include "program/ConfigurationStore.h"

#include "config/KeptRecord.h"
#include "config/MemoryMap.h"
#include "link/ByteLink.h"
#include "link/DeviceCommands.h"

namespace vindle {

ConfigurationStore::ConfigurationStore(ByteLink& link) : link_(link) {}

StoreResult ConfigurationStore::storeModule(ConfigurationHolder& holder, const TransferSteps& steps)
{
    ByteLink& link = link_;
    StoreResult result;

    const StoreValues checked = holder.toStore();
    if (!sendsSomeOutput(checked.record)) {
        result.outcome = StoreOutcome::NoOutput;
        result.refusal = kNoOutput;
        return result;
    }
    if (checked.refusedLocation) {
        result.outcome = StoreOutcome::BadField;
        result.badField = checked.refusedLocation;
        result.refusal = checked.refusal;
        return result;
    }

    if (steps.begins)
        steps.begins(Transfer::Storing);

    // What an earlier exchange left behind, or is still sending (the ready
    // marker after an identity, say), is no acknowledgement.
    link.dropUntilQuiet();
    link.storeBegins();
    beginStore(link);
    for (const LocationInfo& info : memoryMap()) {
        // A text edited into something that is not a byte while the store
        // runs is sent as it was when the store began.
        const int value = holder.valueToSend(info.location).value_or(checked.record[info.location]);
        link.storeUnderWay(true);
        if (!link.isClosed())
            result.valueSent = true;
        const Received reply = storeLocation(link, value);
        if (steps.answered)
            steps.answered(info.location);
        if (link.isClosed())
            return result;
        if (!StoreCheck(info.location, reply)) {
            result.outcome = StoreOutcome::Refused;
            result.refusedAt = info.location;
            result.unanswered = !reply.hasValue();
            return result;
        }
        if (reply.hasValue())
            result.lastAcknowledged = info.location;
        if (steps.reached)
            steps.reached(Transfer::Storing, info.location);
    }
    if (steps.ends)
        steps.ends();
    if (takeTrailingByte(link))
        link.replyWhole();
    link.storeUnderWay(false);
    result.outcome = StoreOutcome::Stored;
    return result;
}

bool ConfigurationStore::StoreCheck(int location, const Received& reply)
{
    // A reply that did not come is no acknowledgement, of location 0 neither:
    // the module may have stopped listening after taking its value.
    return reply.hasValue() && reply == location;
}

} // namespace vindle
