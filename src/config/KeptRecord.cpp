#include "config/KeptRecord.h"

#include "base/AtIndex.h"
#include "config/MemoryMap.h"
#include "config/OptionIndexes.h"
#include "config/OptionRules.h"

#include <algorithm>
#include <array>

namespace vindle {

namespace {

constexpr int kFirstLimitLocation = 25;
constexpr int kLastLimitLocation = 38;
// A choice with no option chosen, for the rules; a store sends 0 for it.
constexpr int kNoChoice = -1;
// The read writes the record twice over.
constexpr int kPasses = 2;
constexpr std::array<int, 3> kDeviceLocations{kRsDeviceLocation, kLrDeviceLocation,
                                              kEsDeviceLocation};

// The locations whose change runs the option rules.
bool runsRules(int location)
{
    switch (location) {
    case kInputBanksLocation:
    case kSendersLocation:
    case kModeLocation:
    case kFrequencyLocation:
    case kRsDeviceLocation:
    case kLrDeviceLocation:
    case kEsDeviceLocation:
    case kMotionInputsLocation:
        return true;
    default:
        return false;
    }
}

// The values as their fields hold them; a choice not made holds kNoChoice.
class Held
{
public:
    Held() : record_(startingRecord()) { atIndex(record_.values, kFrequencyLocation) = kNoChoice; }

    int operator[](int location) const { return record_[location]; }
    int inputBankFloor() const { return floor_; }

    // Sets a location as a field's change does: a change of a location the
    // rules read runs them, and a limit runs its channel's ordering.
    void set(int location, int value)
    {
        if (record_[location] == value)
            return;
        at(location) = static_cast<std::int16_t>(value);
        if (location >= kFirstLimitLocation && location <= kLastLimitLocation)
            orderChannel((location - kFirstLimitLocation) / 2);
        if (runsRules(location))
            runRules();
    }

    // The rules, with every value they force, and the input bank count
    // brought within the range they allow, which runs them again.
    void runRules()
    {
        for (;;) {
            const OptionRulesResult result = optionRules(record_, floor_);
            record_ = result.record;
            const int banks = std::clamp(record_[kInputBanksLocation], result.inputBanks.minimum,
                                         result.inputBanks.maximum);
            if (banks == record_[kInputBanksLocation])
                return;
            at(kInputBanksLocation) = static_cast<std::int16_t>(banks);
        }
    }

    void raiseFloor()
    {
        floor_ = 1;
        set(kInputBanksLocation, std::max(record_[kInputBanksLocation], 1));
    }

    ConfigurationRecord bytes() const
    {
        ConfigurationRecord bytes = record_;
        if (bytes[kFrequencyLocation] == kNoChoice)
            atIndex(bytes.values, kFrequencyLocation) = 0;
        return bytes;
    }

private:
    std::int16_t& at(int location) { return atIndex(record_.values, location); }

    void orderChannel(int channel)
    {
        const int lowerAt = kFirstLimitLocation + 2 * channel;
        const auto [lower, upper] = orderedLimits(record_[lowerAt], record_[lowerAt + 1]);
        at(lowerAt) = static_cast<std::int16_t>(lower);
        at(lowerAt + 1) = static_cast<std::int16_t>(upper);
    }

    ConfigurationRecord record_;
    int floor_ = 0;
};

// The value a location's field holds once `value` is written into it, or
// nothing when the field does not take it.
std::optional<int> fieldValue(const LocationInfo& info, int value, int held)
{
    switch (info.encoding) {
    case Encoding::Slider:
    case Encoding::SliderMinusOne:
        if (windowRejects(info, value))
            return std::nullopt;
        return value;
    case Encoding::OptionIndex:
        if (value < info.minimum || value > info.maximum)
            return std::nullopt;
        return value;
    case Encoding::CheckBox:
        // A grayed box (2) is stored as checked.
        if (value < 0 || value > 2)
            return std::nullopt;
        return value != 0 ? 1 : 0;
    case Encoding::NonzeroCheck:
    case Encoding::FlagToCaption:
        return value != 0 ? 1 : 0;
    case Encoding::DecimalText:
        return std::clamp(value, info.minimum, info.maximum);
    case Encoding::BitSet:
        return value & ((1 << kAnalogChannelCount) - 1);
    case Encoding::MethodChoice:
        return value == 0 || value == 1 ? value : held;
    case Encoding::LowBit:
        return value & 1;
    }
    return std::nullopt;
}

} // namespace

std::pair<int, int> orderedLimits(int lower, int upper)
{
    if (lower <= upper)
        return {lower, upper};
    const int highest = locationInfo(kFirstLimitLocation + 1).maximum;
    if (lower + 1 > highest)
        return {highest - 1, highest};
    return {lower, lower + 1};
}

ConfigurationRecord startingRecord()
{
    ConfigurationRecord record;
    // The map gives each field's state; a slider's position one above its
    // byte stores one less.
    for (const LocationInfo& info : memoryMap()) {
        const int byte =
            info.encoding == Encoding::SliderMinusOne ? info.initial - 1 : info.initial;
        atIndex(record.values, info.location) = static_cast<std::int16_t>(std::max(byte, 0));
    }
    return record;
}

KeptRecord keepRecord(const ConfigurationRecord& record,
                      const std::optional<CapabilityFlags>& capabilities)
{
    Held held;
    KeptRecord kept;
    for (int pass = 0; pass < kPasses; ++pass) {
        kept.rejected.clear();
        for (const LocationInfo& info : memoryMap()) {
            if (info.location == kFrequencyLocation)
                continue;
            const std::optional<int> value =
                fieldValue(info, record[info.location], held[info.location]);
            if (value)
                held.set(info.location, *value);
            else
                kept.rejected.push_back(info.location);
        }
    }
    held.runRules();
    if (const std::optional<int> frequency =
            fieldValue(locationInfo(kFrequencyLocation), record[kFrequencyLocation], 0))
        held.set(kFrequencyLocation, *frequency);
    if (capabilities) {
        for (const int fitted : capabilities->reportedSenders())
            held.set(kSendersLocation, fitted);
        if (capabilities->hasInputBankAlways())
            held.raiseFloor();
        held.runRules();
    }
    kept.record = held.bytes();
    return kept;
}

bool sendsSomeOutput(const ConfigurationRecord& record)
{
    if (record[kModeLocation] == option::kSerialToParallel)
        return true;
    return std::any_of(kDeviceLocations.begin(), kDeviceLocations.end(),
                       [&record](int location) { return record[location] != 0; });
}

} // namespace vindle
