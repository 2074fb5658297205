#pragma once

#include "config/ConfigurationRecord.h"

#include <array>
#include <cstddef>
#include <map>
#include <optional>
#include <vector>

namespace vindle {

// The locations the option rules read or force.
inline constexpr int kInputBanksLocation = 0;
inline constexpr int kSendersLocation = 9;
inline constexpr int kModeLocation = 10;
inline constexpr int kResolutionLocation = 11;
inline constexpr int kFrequencyLocation = 12;
inline constexpr int kIntervalLocation = 13;
inline constexpr int kRsDeviceLocation = 14;
inline constexpr int kLrDeviceLocation = 16;
inline constexpr int kEsDeviceLocation = 20;
inline constexpr int kMotionInputsLocation = 40;
inline constexpr int kSwitchTypeLocation = 50;

// What the rules enable or show besides the options of a choice: the parts
// of the configuration that are no option of their own.
enum class RulesPart
{
    MotionInputsBox,   // the motion-detector check box (location 40)
    IntervalSlider,    // the transmit interval (location 13)
    IntervalValue,     // the interval's number beside its slider
    IntervalSentence,  // the sentence that says how often data are sent
    ResolutionButton,  // the A/D resolution (location 11)
    MoreOptionsButton, // what opens the advanced options
    SwitchTypeFrame,   // normally open or closed switches
    FrequencyFrame,    // how often data are sent
    Rs232Frame,        // output to an RS-232 device
    LrFrame,           // output through the LR transmitter
    EsFrame,           // output through the ES transmitter
    Rs232BankFrame,    // advanced: the first RS-232 relay bank
    LrBankFrame,       // advanced: the first LR relay bank
    EsBankFrame,       // advanced: the first ES relay bank
    SquelchFrame,      // advanced: the A/D squelch of the PWM controllers
};
inline constexpr std::size_t kRulesPartCount = 15;

// Whether something is enabled and shown; empty where the rules leave it as
// it stands.
struct Availability
{
    std::optional<bool> enabled;
    std::optional<bool> visible;

    bool operator==(const Availability&) const = default;
};

// One option of a choice: the location that stores the choice and the
// option's index, which is the value stored.
struct OptionAt
{
    int location;
    int index;

    auto operator<=>(const OptionAt&) const = default;
};

// A value the rules force into a location.
struct ForcedValue
{
    int location;
    int value;

    bool operator==(const ForcedValue&) const = default;
};

struct InputBankRange
{
    int minimum;
    int maximum;

    bool operator==(const InputBankRange&) const = default;
};

// What the option rules make of a configuration.
struct OptionRulesResult
{
    // The record with every value the rules force.
    ConfigurationRecord record;
    // The values forced, in the order the rules force them; a location that
    // is forced twice comes twice.
    std::vector<ForcedValue> forced;
    // Every option whose flags the rules decide; an option not listed, or a
    // flag left empty, keeps what it had.
    std::map<OptionAt, Availability> options;
    std::array<Availability, kRulesPartCount> parts{};
    // The input bank counts that can be chosen.
    InputBankRange inputBanks{};

    Availability option(int location, int index) const;
    const Availability& part(RulesPart which) const;
};

// The option rules over `record` (each value as the configuration stores
// it: the motion-detector box counts as checked only at 1; a choice with no
// option chosen holds a value outside its options, such as -1) for a module
// that allows no fewer than `inputBankFloor` input banks, which is the only
// capability the rules look at.
//
// The steps run in their order over the record; a step that forces a choice
// another step reads starts the rules again on the new record, and a run that
// forces nothing gives the answer.
OptionRulesResult optionRules(const ConfigurationRecord& record, int inputBankFloor);

} // namespace vindle
