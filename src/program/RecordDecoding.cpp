#include "program/RecordDecoding.h"

#include "config/MemoryMap.h"
#include "program/LocationControls.h"
#include "program/StoreValues.h"
#include "ui/main/ConfigWindows.h"
#include "ui/model/RejectedValue.h"

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

} // namespace vindle
