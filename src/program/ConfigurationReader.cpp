#include "program/ConfigurationReader.h"

#include "config/Identity.h"
#include "config/MemoryMap.h"
#include "link/ByteLink.h"
#include "link/DeviceCommands.h"

#include <algorithm>

namespace vindle {

ConfigurationReader::ConfigurationReader(ByteLink& link) : link_(link) {}

std::string ConfigurationReader::unshowableMessage(const std::vector<UnshowableValue>& values)
{
    std::string held;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i > 0)
            held += i + 1 == values.size() ? " and " : ", ";
        const auto& [location, value] = values[i];
        held += locationText(location) + " holds " + std::to_string(value);
    }
    if (!held.empty())
        held.front() = 'L'; // it starts a sentence
    const bool one = values.size() == 1;
    return "The Configuration Read from the Vindle Module Cannot be Shown in Full, Even after "
           "Clearing it to Factory Defaults.  " +
           held + ", which this program cannot show.  " +
           (one ? "Its field keeps the value it showed before, and Store Configuration would "
                  "write that value there."
                : "Their fields keep the values they showed before, and Store Configuration "
                  "would write those values there.") +
           "  Every other location is shown as the Vindle Module holds it.";
}

ReadResult ConfigurationReader::readModule(ConfigurationHolder& holder, const ReadOptions& options,
                                           const TransferSteps& steps)
{
    ReadResult result;
    if (!receivePhase(result, steps) || (options.confirm && !confirmPhase(result, steps)))
        return result;

    for (const int location : holder.putValues(result.record))
        result.unshowable.push_back({location, result.record[location]});
    if (!result.unshowable.empty() && options.stopAtUnshowable) {
        result.outcome = ReadOutcome::Unshowable;
        return result;
    }
    holder.putFrequency(result.record);
    // Also after values that do not fit: this takes the rest of the reply,
    // so that nothing of it is left for the next exchange.
    ByteLink& link = link_;
    const bool firstTrailer = takeTrailingByte(link);
    const bool trailerWhole = takeTrailingByte(link) && firstTrailer;
    if (options.identify) {
        // Capability flags are only ever taken from a whole identity.
        const auto reply = identifyWhole(link);
        identity_ = reply ? Identity::fromReply(*reply) : Identity{};
        if (reply) {
            result.identity = identity_;
            holder.applyCapabilities(identity_.capabilities());
        } else {
            result.identityIncomplete = true;
        }
    } else if (trailerWhole) {
        link.replyWhole();
    } else {
        link.dropUntilQuiet();
    }
    if (link_.isClosed())
        return result;
    result.outcome = result.unshowable.empty() ? ReadOutcome::Read : ReadOutcome::PartlyShown;
    const ConfigurationRecord kept = holder.toStore().record;
    for (int location = 0; location < kLocationCount; ++location) {
        const bool unshowable = std::any_of(
            result.unshowable.begin(), result.unshowable.end(),
            [location](const UnshowableValue& value) { return value.location == location; });
        if (!unshowable && kept[location] != result.received[location])
            result.changed.push_back({location, result.received[location], kept[location]});
    }
    return result;
}

bool ConfigurationReader::confirmPhase(ReadResult& result, const TransferSteps& steps)
{
    ByteLink& link = link_;
    for (int read = 1; read < kMostConfirmingReads; ++read) {
        // The rest of the reply first, so that the next command is answered
        // from its start.
        const bool firstTrailer = takeTrailingByte(link);
        if (!(takeTrailingByte(link) && firstTrailer))
            link.dropUntilQuiet();
        ReadResult again;
        again.failedPasses = result.failedPasses;
        const bool received = receivePhase(again, steps);
        result.failedPasses = again.failedPasses;
        if (!received) {
            result.outcome = again.outcome;
            return false;
        }
        bool agreed = true;
        for (int location = 0; location < kLocationCount; ++location) {
            if (again.received[location] == result.received[location])
                continue;
            agreed = false;
            if (std::find(result.unconfirmed.begin(), result.unconfirmed.end(), location) ==
                result.unconfirmed.end())
                result.unconfirmed.push_back(location);
        }
        result.record = again.record;
        result.received = again.received;
        if (agreed) {
            result.unconfirmed.clear();
            return true;
        }
    }
    std::sort(result.unconfirmed.begin(), result.unconfirmed.end());
    result.outcome = ReadOutcome::Unconfirmed;
    return false;
}

bool ConfigurationReader::receivePhase(ReadResult& result, const TransferSteps& steps)
{
    ByteLink& link = link_;
    for (;;) {
        link.dropPending(true);
        if (steps.begins)
            steps.begins(Transfer::Reading);
        const ReadPassResult pass =
            readConfigurationPass(link, result.record.values, [&](int location) {
                if (steps.reached)
                    steps.reached(Transfer::Reading, location);
            });
        if (link.isClosed())
            return false;
        if (pass.complete())
            break;
        if (++result.failedPasses > kMostFailedPasses) {
            result.outcome = ReadOutcome::NoAnswer;
            return false;
        }
        // The rest of the abandoned reply is still on its way: let it run
        // out before the next command.
        link.dropUntilQuiet();
    }
    if (steps.ends)
        steps.ends();
    takeTrailingByte(link);
    if (steps.received)
        steps.received();
    result.received = result.record;
    result.record.applyReadLimits();
    return true;
}

} // namespace vindle
