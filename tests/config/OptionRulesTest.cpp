#include "config/OptionRules.h"

#include <gtest/gtest.h>
#include <map>
#include <utility>
#include <vector>

namespace vindle {
namespace {

using enum RulesPart;

constexpr Availability kEnabled{true, std::nullopt};
constexpr Availability kDisabled{false, std::nullopt};
constexpr Availability kHidden{std::nullopt, false};
constexpr Availability kLeftAlone{};

struct RulesCase
{
    const char* name;
    std::map<int, int> record; // every other location 0
    int inputBankFloor;
    std::map<int, int> forced; // every location the rules change, with its new value
    std::vector<std::pair<OptionAt, Availability>> options;
    std::vector<std::pair<RulesPart, Availability>> parts;
    InputBankRange inputBanks;
};

const std::vector<RulesCase>& rulesCases()
{
    static const std::vector<RulesCase> cases{
        {"the limiter sends on change and takes the expansion banks away",
         {{kModeLocation, 1},
          {kInputBanksLocation, 3},
          {kRsDeviceLocation, 12},
          {kLrDeviceLocation, 1},
          {kEsDeviceLocation, 1}},
         0,
         {{kFrequencyLocation, 2},
          {kInputBanksLocation, 0},
          {kRsDeviceLocation, 0},
          {kLrDeviceLocation, 0},
          {kEsDeviceLocation, 0}},
         {{{kFrequencyLocation, 0}, kDisabled},
          {{kLrDeviceLocation, 1}, kDisabled},
          {{kRsDeviceLocation, 11}, kLeftAlone}},
         {{IntervalSlider, kDisabled}, {IntervalSentence, kDisabled}, {SwitchTypeFrame, kHidden}},
         {0, 0}},
        {"serial to parallel takes its data from the computer",
         {{kModeLocation, 3}, {kSendersLocation, 2}, {kRsDeviceLocation, 5}},
         0,
         {{kRsDeviceLocation, 1}},
         {{{kRsDeviceLocation, 0}, kDisabled}, {{kRsDeviceLocation, 5}, kDisabled}},
         {{FrequencyFrame, kHidden}, {EsFrame, kHidden}, {Rs232BankFrame, kDisabled}},
         {0, 32}},
        {"a relay controller stays chosen, disabled, in mode 2 and still offers its bank",
         {{kModeLocation, 2}, {kRsDeviceLocation, 5}},
         0,
         {},
         {{{kRsDeviceLocation, 5}, kDisabled}, {{kLrDeviceLocation, 2}, kDisabled}},
         {{Rs232BankFrame, kEnabled}, {MoreOptionsButton, kEnabled}, {MotionInputsBox, kDisabled}},
         {0, 32}},
        {"motion detectors take the on-board inputs, closed switches and change reports",
         {{kMotionInputsLocation, 1}, {kInputBanksLocation, 2}, {kRsDeviceLocation, 12}},
         0,
         {{kInputBanksLocation, 0},
          {kRsDeviceLocation, 0},
          {kSwitchTypeLocation, 1},
          {kFrequencyLocation, 2}},
         {{{kSwitchTypeLocation, 0}, kDisabled},
          {{kRsDeviceLocation, 12}, {false, true}},
          {{kModeLocation, 4}, {std::nullopt, true}}},
         {{MotionInputsBox, {true, true}}, {SquelchFrame, kDisabled}},
         {0, 32}},
        {"a box left checked in mode 2 still forces its choices but keeps the banks",
         {{kModeLocation, 2}, {kMotionInputsLocation, 1}, {kInputBanksLocation, 2}},
         0,
         {{kSwitchTypeLocation, 1}, {kFrequencyLocation, 2}},
         {},
         {{MotionInputsBox, {false, false}}},
         {0, 32}},
        {"a grayed box is no motion detector, and a sender out of range moves no frame",
         {{kMotionInputsLocation, 2}, {kSendersLocation, 3}},
         0,
         {},
         {{{kFrequencyLocation, 1}, kEnabled}},
         {{Rs232Frame, kLeftAlone}, {LrFrame, kLeftAlone}},
         {0, 32}},
        {"a floor of one bank withdraws the PWM controller before it could take the LR relays",
         {{kRsDeviceLocation, 12}, {kLrDeviceLocation, 2}, {kMotionInputsLocation, 1}},
         1,
         {{kInputBanksLocation, 1}, {kRsDeviceLocation, 0}, {kMotionInputsLocation, 0}},
         {{{kLrDeviceLocation, 2}, kEnabled}, {{kRsDeviceLocation, 12}, {false, false}}},
         {{LrBankFrame, kEnabled}, {SquelchFrame, kDisabled}, {MotionInputsBox, kHidden}},
         {1, 32}},
        {"expansion banks hide the modes and devices that need the on-board inputs",
         {{kRsDeviceLocation, 12}, {kInputBanksLocation, 2}},
         0,
         {{kRsDeviceLocation, 0}},
         {{{kModeLocation, 1}, {std::nullopt, false}},
          {{kModeLocation, 4}, {std::nullopt, false}},
          {{kRsDeviceLocation, 12}, {false, false}},
          {{kLrDeviceLocation, 3}, {std::nullopt, false}}},
         {{MotionInputsBox, {std::nullopt, false}}},
         {0, 32}},
        {"mode 4 keeps a relay controller chosen, disabled, and enables the resolution",
         {{kModeLocation, 4}, {kRsDeviceLocation, 5}},
         0,
         {},
         {{{kRsDeviceLocation, 5}, kDisabled}, {{kLrDeviceLocation, 2}, kDisabled}},
         {{ResolutionButton, kEnabled}, {Rs232BankFrame, kEnabled}, {SwitchTypeFrame, kHidden}},
         {0, 32}},
        {"a relay controller on RS-232 withdraws the LR PWM controller and its squelch",
         {{kLrDeviceLocation, 3}, {kRsDeviceLocation, 3}},
         0,
         {{kLrDeviceLocation, 0}},
         {{{kLrDeviceLocation, 3}, kDisabled}},
         {{SwitchTypeFrame, {std::nullopt, true}},
          {SquelchFrame, kDisabled},
          {MoreOptionsButton, kDisabled}},
         {0, 32}},
        {"the RS-232 PWM controller withdraws the wireless relay controllers",
         {{kSendersLocation, 2}, {kEsDeviceLocation, 2}, {kRsDeviceLocation, 12}},
         0,
         {{kEsDeviceLocation, 0}},
         {{{kEsDeviceLocation, 2}, kDisabled}},
         {{SwitchTypeFrame, kHidden},
          {SquelchFrame, kEnabled},
          {EsBankFrame, kDisabled},
          {MoreOptionsButton, kEnabled}},
         {0, 32}},
        {"the transmitter frames follow the senders, and a device chosen stays",
         {{kSendersLocation, 0}, {kLrDeviceLocation, 2}},
         0,
         {},
         {},
         {{LrFrame, kHidden}, {LrBankFrame, kEnabled}, {MoreOptionsButton, kEnabled}},
         {0, 32}},
        {"the limiter with a floor of one bank still ends at no banks",
         {{kModeLocation, 1}, {kInputBanksLocation, 1}},
         1,
         {{kInputBanksLocation, 0}, {kFrequencyLocation, 2}},
         {},
         {{MotionInputsBox, {false, true}}},
         {0, 0}},
    };
    return cases;
}

// The flags a case names; a case that names none wants both left alone.
void expectAvailability(const Availability& got, const Availability& wanted)
{
    if (wanted == kLeftAlone) {
        EXPECT_EQ(got, kLeftAlone);
    }
    if (wanted.enabled) {
        EXPECT_EQ(got.enabled, wanted.enabled);
    }
    if (wanted.visible) {
        EXPECT_EQ(got.visible, wanted.visible);
    }
}

// Records in, forced values, availability and the bank range out.
TEST(OptionRulesTest, RecordsGiveTheirForcedValuesAndAvailability)
{
    for (const RulesCase& c : rulesCases()) {
        SCOPED_TRACE(c.name);
        ConfigurationRecord record;
        for (const auto& [location, value] : c.record)
            record.values.at(static_cast<std::size_t>(location)) = static_cast<std::int16_t>(value);
        const OptionRulesResult result = optionRules(record, c.inputBankFloor);

        std::map<int, int> forced;
        for (int location = 0; location < kLocationCount; ++location) {
            if (result.record[location] != record[location])
                forced[location] = result.record[location];
        }
        EXPECT_EQ(forced, c.forced);
        for (const auto& [option, availability] : c.options) {
            SCOPED_TRACE(testing::Message()
                         << "option " << option.location << "(" << option.index << ")");
            expectAvailability(result.option(option.location, option.index), availability);
        }
        for (const auto& [part, availability] : c.parts) {
            SCOPED_TRACE(testing::Message() << "part " << static_cast<int>(part));
            expectAvailability(result.part(part), availability);
        }
        EXPECT_EQ(result.inputBanks, c.inputBanks);
    }
}

} // namespace
} // namespace vindle
