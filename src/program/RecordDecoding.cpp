#include "program/RecordDecoding.h"

#include "config/KeptRecord.h"
#include "config/MemoryMap.h"
#include "program/ConfigurationStore.h"
#include "program/LocationControls.h"
#include "program/StoreValues.h"
#include "ui/main/ConfigWindows.h"
#include "ui/model/RejectedValue.h"

#include <array>

namespace vindle {

namespace {

// Written after the option rules have run on everything else.
constexpr int kFrequencyLocation = 12;
// The read decodes the record twice: option rules that the first writes set
// off still see some choices of the configuration shown before, and may take
// a value away (a bank count, a PWM controller) that the second puts back.
constexpr int kDecodingRounds = 2;

} // namespace

std::vector<int> decodeRecord(ConfigWindows& windows, const ConfigurationRecord& record)
{
    windows.setInputBankFloor(0);
    std::vector<int> rejected;
    for (int round = 0; round < kDecodingRounds; ++round) {
        rejected.clear();
        for (const LocationInfo& info : memoryMap()) {
            if (info.location == kFrequencyLocation)
                continue;
            bool shown = false;
            try {
                shown = writeLocation(windows, info, record[info.location]);
            } catch (const RejectedValue&) {
                // not shown
            }
            if (!shown)
                rejected.push_back(info.location);
        }
    }
    return rejected;
}

void decodeFrequency(ConfigWindows& windows, const ConfigurationRecord& record)
{
    writeLocation(windows, locationInfo(kFrequencyLocation), record[kFrequencyLocation]);
}

void applyCapabilities(ConfigWindows& windows, const CapabilityFlags& capabilities)
{
    MainWindow& main = windows.mainWindow();
    OptionGroup& senders = main.Senders();
    for (const auto& option : senders.options())
        option->setEnabled(false);
    for (const int fitted : capabilities.reportedSenders()) {
        senders.select(fitted);
        if (fitted != 0)
            senders.option(0).setEnabled(false);
        senders.option(fitted).setEnabled(true);
    }
    if (capabilities.hasInputBankAlways()) {
        windows.setInputBankFloor(1);
        main.DInputs().setMinimum(1);
    }
    windows.Rules();
}

std::vector<UnkeptValue> putRecord(ConfigWindows& windows, const ConfigurationRecord& record,
                                   const std::optional<CapabilityFlags>& capabilities)
{
    // A value that cannot be shown keeps what its control held, and so is
    // among the values not kept.
    decodeRecord(windows, record);
    windows.Rules();
    decodeFrequency(windows, record);
    if (capabilities)
        applyCapabilities(windows, *capabilities);

    std::vector<UnkeptValue> unkept;
    const StoreValues held = storeValues(windows);
    for (const LocationInfo& info : memoryMap()) {
        if (held.record[info.location] != record[info.location])
            unkept.push_back({info.location, record[info.location], held.record[info.location]});
    }
    return unkept;
}

RecordCheck checkRecord(const ConfigurationRecord& record)
{
    const KeptRecord kept = keepRecord(record, std::nullopt);
    RecordCheck check;
    for (int location = 0; location < kLocationCount; ++location) {
        if (kept.record[location] != record[location])
            check.unkept.push_back({location, record[location], kept.record[location]});
    }
    check.sendsOutput = sendsSomeOutput(kept.record);
    return check;
}

std::optional<std::string> storeRefusal(const std::string& name, const ConfigurationRecord& record)
{
    const RecordCheck check = checkRecord(record);
    if (!check.unkept.empty())
        return name + ": the file cannot be stored as it is:" +
               unkeptValuesLines(check.unkept, UnkeptWording::WouldStore);
    if (!check.sendsOutput)
        return name + ": " + ConfigurationStore::kNoOutput;
    return std::nullopt;
}

std::string unkeptValuesLines(const std::vector<UnkeptValue>& unkept, UnkeptWording wording)
{
    struct Words
    {
        const char* lineStart;
        bool sentence; // each line a sentence of its own
        const char* beforeWanted;
        const char* beforeHeld;
        const char* end;
    };
    static constexpr std::array<Words, 3> kWords{{
        {"\n", true, ": ", " in the file, ", " now."},
        {"\n    ", false, ": the file holds ", ", which the windows would store as ", ""},
        {"\n    ", false, ": the file holds ", ", this module ", ""},
    }};
    const Words& words = kWords.at(static_cast<std::size_t>(wording));
    std::string lines;
    for (const UnkeptValue& value : unkept) {
        std::string where = locationText(value.location);
        if (words.sentence)
            where.front() = 'L';
        lines += words.lineStart + where + words.beforeWanted + std::to_string(value.wanted) +
                 words.beforeHeld + std::to_string(value.held) + words.end;
    }
    return lines;
}

std::string unkeptValuesMessage(const std::vector<UnkeptValue>& unkept)
{
    return "Some values of the file could not be kept for this Vindle Module:" +
           unkeptValuesLines(unkept, UnkeptWording::Now);
}

std::string changedValueText(const UnkeptValue& changed)
{
    return locationText(changed.location) + ": the module holds " + std::to_string(changed.wanted) +
           ", which the windows make " + std::to_string(changed.held);
}

std::string changedValuesMessage(const std::vector<UnkeptValue>& changed)
{
    std::string message = "The Vindle Module holds values that the windows show differently:";
    for (const UnkeptValue& value : changed) {
        std::string text = changedValueText(value);
        text.front() = 'L';
        message += "\n" + text + ".";
    }
    return message + "\nStore Configuration would write what the windows show.";
}

} // namespace vindle
