#include "config/OptionRules.h"
#include "program/StoreValues.h"
#include "ui/main/ConfigWindows.h"
#include "ui/main/Rules.h"
#include "ui/main/RulesSweep.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <map>
#include <string>
#include <vector>

namespace vindle {
namespace {

struct Flags
{
    bool enabled;
    bool visible;
};

// The flags of every control of the main and the advanced window.
std::map<const Control*, Flags> flagsOf(ConfigWindows& windows)
{
    std::map<const Control*, Flags> flags;
    for (const Window* window :
         {static_cast<Window*>(&windows.mainWindow()), static_cast<Window*>(&windows.advanced())}) {
        for (const Control* control : window->controls())
            flags[control] = {control->isEnabled(), control->isVisible()};
    }
    return flags;
}

void apply(Flags& flags, const Availability& availability)
{
    flags.enabled = availability.enabled.value_or(flags.enabled);
    flags.visible = availability.visible.value_or(flags.visible);
}

std::string nameOf(const Control& control)
{
    return control.name() +
           (control.index() >= 0 ? "(" + std::to_string(control.index()) + ")" : std::string());
}

// What the windows' rules made of one choice and what the function makes of
// the record before it, wherever the two differ.
void compare(ConfigWindows& windows, const std::map<const Control*, Flags>& before,
             const OptionRulesResult& result, const std::string& where,
             std::vector<std::string>& disagreements)
{
    const ConfigurationRecord held = storeValues(windows).record;
    for (int location = 0; location < kLocationCount; ++location) {
        if (held[location] != result.record[location])
            disagreements.push_back(where + ": location " + std::to_string(location) + " is " +
                                    std::to_string(held[location]) + ", not " +
                                    std::to_string(result.record[location]));
    }
    std::map<const Control*, Flags> expected = before;
    for (const auto& [option, availability] : result.options)
        apply(expected.at(&ruledOption(windows, option)), availability);
    for (std::size_t part = 0; part < kRulesPartCount; ++part)
        apply(expected.at(&ruledControl(windows, static_cast<RulesPart>(part))),
              result.parts[part]);
    for (const auto& [control, flags] : flagsOf(windows)) {
        const Flags& wanted = expected.at(control);
        if (flags.enabled != wanted.enabled || flags.visible != wanted.visible)
            disagreements.push_back(
                where + ": " + nameOf(*control) + " enabled " + std::to_string(flags.enabled) +
                " visible " + std::to_string(flags.visible) + ", not " +
                std::to_string(wanted.enabled) + " " + std::to_string(wanted.visible));
    }
    const Slider& banks = windows.mainWindow().DInputs();
    if (InputBankRange{banks.minimum(), banks.maximum()} != result.inputBanks)
        disagreements.push_back(where + ": input banks " + std::to_string(banks.minimum()) + ".." +
                                std::to_string(banks.maximum()) + ", not " +
                                std::to_string(result.inputBanks.minimum) + ".." +
                                std::to_string(result.inputBanks.maximum));
}

// When a module that always has an input bank is found: never, before the
// first choice, before the LR device is chosen, after the last choice.
constexpr int kNever = -2;
constexpr int kAtStart = -1;
constexpr int kBeforeLr = 5;
constexpr int kAtEnd = 8;

// Each choice of the sweep, with the floor of one input bank raised at one
// of those points: the record as it stands with the choice made, through the
// function, against the windows after their handlers ran the rules. Options,
// frames and labels the function leaves alone keep what they had.
TEST(OptionRulesAgreementTest, TheFunctionAndTheWindowRulesAgreeOnEveryChoice)
{
    std::vector<std::string> disagreements;
    int checked = 0;
    for (const int raised : {kNever, kAtStart, kBeforeLr, kAtEnd}) {
        forEachChoice([&](const Choice& choice) {
            ConfigWindows windows;
            MainWindow& main = windows.mainWindow();
            windows.setInputBankFloor(raised == kAtStart ? 1 : 0);
            windows.Rules();
            const auto steps = choiceSteps(choice);
            for (int step = 0; step <= kAtEnd; ++step) {
                if (step == raised)
                    windows.setInputBankFloor(1);
                ConfigurationRecord record = storeValues(windows).record;
                const auto before = flagsOf(windows);
                std::string where =
                    describe(choice) + ", floor " + std::to_string(windows.inputBankFloor()) + ", ";
                if (step == kAtEnd) {
                    if (raised != kAtEnd)
                        break;
                    windows.Rules();
                    where += "rules run";
                } else {
                    auto [location, value] = steps.at(static_cast<std::size_t>(step));
                    if (location == kInputBanksLocation)
                        value = std::max(value, main.DInputs().minimum());
                    // A choice that is already made runs no rules.
                    if (record[location] == value && main.Frequency().selected())
                        continue;
                    record.values.at(static_cast<std::size_t>(location)) =
                        static_cast<std::int16_t>(value);
                    choose(main, location, value);
                    where +=
                        "location " + std::to_string(location) + " set to " + std::to_string(value);
                }
                // The record always holds a frequency; the windows hold none
                // until one is chosen.
                if (!main.Frequency().selected())
                    continue;
                compare(windows, before, optionRules(record, windows.inputBankFloor()), where,
                        disagreements);
                ++checked;
            }
        });
    }
    EXPECT_GT(checked, 0);
    std::string shown;
    for (std::size_t i = 0; i < std::min<std::size_t>(disagreements.size(), 40); ++i)
        shown += disagreements[i] + "\n";
    EXPECT_TRUE(disagreements.empty())
        << disagreements.size() << " disagreements in " << checked << " choices:\n"
        << shown;
}

} // namespace
} // namespace vindle
