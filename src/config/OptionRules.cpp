#include "config/OptionRules.h"

#include "base/AtIndex.h"
#include "config/MemoryMap.h"
#include "config/OptionIndexes.h"

#include <algorithm>
#include <cassert>
#include <initializer_list>

namespace vindle {

namespace {

using enum RulesPart;

constexpr int kCheckedBox = 1;
constexpr int kUncheckedBox = 0;

// Every forced choice that restarts the rules moves towards an option no step
// withdraws, so few runs ever start; this many means the rules go round.
constexpr int kMostRuns = 16;

Availability& partOf(std::array<Availability, kRulesPartCount>& parts, RulesPart which)
{
    return atIndex(parts, static_cast<int>(which));
}

// One run of the option rules over the record, a function per step in the
// order the steps always run. Each step reads the record as it stands when
// the step runs. A forced choice that some step reads ends the run: the
// rules then start again on the new record, and the steps this run would
// still have taken are those the new run takes.
class RulesRun
{
public:
    RulesRun(OptionRulesResult& result, int inputBankFloor)
        : result_(result), record_(result.record), floor_(inputBankFloor),
          mostBanks_(locationInfo(kInputBanksLocation).maximum)
    {}

    // False when the run forced a choice and the rules must run again.
    bool run()
    {
        using Step = void (RulesRun::*)();
        static constexpr std::array<Step, 17> kSteps{
            &RulesRun::reset,                             // 1
            &RulesRun::intervalServesPeriodicSending,     // 2
            &RulesRun::transmitterFramesFollowSenders,    // 3
            &RulesRun::motionBoxWaitsForModeZero,         // 4
            &RulesRun::modeZeroPassesInputsOn,            // 5
            &RulesRun::modeOneIsTheAnalogLimiter,         // 6
            &RulesRun::otherModesHaveNoRelayControllers,  // 7
            &RulesRun::modeThreeTakesDataFromTheComputer, // 8
            &RulesRun::resolutionBelongsToModeFour,       // 9, 10
            &RulesRun::advancedFramesNoneYet,             // 11
            &RulesRun::wirelessRelaysChooseTheirBank,     // 12, 13
            &RulesRun::largeRs232RelaysChooseTheirBank,   // 14
            &RulesRun::pwmOnRs232,                        // 15
            &RulesRun::pwmOnLr,                           // 16
            &RulesRun::motionNeedsAnInputBankFree,        // before 17
            &RulesRun::motionDetectorsUseOnBoardInputs,   // 17, 18
            &RulesRun::expansionBanksOnlyInModeZero,      // 19
        };
        for (const Step step : kSteps) {
            (this->*step)();
            if (restart_)
                return false;
        }
        return true;
    }

private:
    bool selected(int location, int index) const { return record_[location] == index; }
    bool motionChecked() const { return record_[kMotionInputsLocation] == kCheckedBox; }
    int banks() const { return record_[kInputBanksLocation]; }

    void enable(int location, std::initializer_list<int> indexes, bool enabled = true)
    {
        for (const int index : indexes)
            result_.options[{location, index}].enabled = enabled;
    }

    void enableRange(int location, int first, int last, bool enabled = true)
    {
        for (int index = first; index <= last; ++index)
            result_.options[{location, index}].enabled = enabled;
    }

    void showOption(int location, int index, bool visible)
    {
        result_.options[{location, index}].visible = visible;
    }

    void enablePart(RulesPart which, bool enabled)
    {
        partOf(result_.parts, which).enabled = enabled;
    }
    void showPart(RulesPart which, bool visible) { partOf(result_.parts, which).visible = visible; }

    // Writes a value the rules force. A choice that some step reads starts
    // the rules again, so nothing more is forced in this run.
    void force(int location, int value, bool restarts = true)
    {
        if (restart_ || record_[location] == value)
            return;
        atIndex(record_.values, location) = static_cast<std::int16_t>(value);
        result_.forced.push_back({location, value});
        restart_ = restarts;
    }

    // If option `from` is chosen, choose `to`; then disable `from` either way.
    void withdraw(int location, int from, int to)
    {
        if (selected(location, from))
            force(location, to);
        enable(location, {from}, false);
    }

    // The bank count as near to `value` as the range allows.
    void setInputBanks(int value)
    {
        force(kInputBanksLocation,
              std::clamp(value, result_.inputBanks.minimum, result_.inputBanks.maximum));
    }

    // A narrower range moves a bank count outside it to its nearest end; the
    // range never inverts.
    void setBanksMaximum(int maximum)
    {
        InputBankRange& range = result_.inputBanks;
        range.maximum = maximum;
        range.minimum = std::min(range.minimum, maximum);
        if (banks() > maximum)
            force(kInputBanksLocation, maximum);
    }

    void setBanksMinimum(int minimum)
    {
        InputBankRange& range = result_.inputBanks;
        range.minimum = minimum;
        range.maximum = std::max(range.maximum, minimum);
        if (banks() < minimum)
            force(kInputBanksLocation, minimum);
    }

    void reset()
    {
        enable(kFrequencyLocation, {option::kPeriodically, option::kConstantly});
        enable(kSwitchTypeLocation, {option::kNormallyOpen});
        showPart(SwitchTypeFrame, true);
        showPart(FrequencyFrame, true);
        enable(kLrDeviceLocation, {option::kLrRelayController});
        enable(kEsDeviceLocation, {option::kEsRelayController});
    }

    void intervalServesPeriodicSending()
    {
        const bool periodic = selected(kFrequencyLocation, option::kPeriodically);
        enablePart(IntervalSentence, periodic);
        enablePart(IntervalSlider, periodic);
        enablePart(IntervalValue, periodic);
    }

    void transmitterFramesFollowSenders()
    {
        const int fitted = record_[kSendersLocation];
        if (fitted < 0 || fitted > locationInfo(kSendersLocation).maximum)
            return;
        showPart(Rs232Frame, true);
        showPart(LrFrame, fitted == option::kLrTransmitter);
        showPart(EsFrame, fitted == option::kEsTransmitter);
    }

    // Mode 0 enables the box again.
    void motionBoxWaitsForModeZero() { enablePart(MotionInputsBox, false); }

    void modeZeroPassesInputsOn()
    {
        if (!selected(kModeLocation, option::kVindleModule))
            return;
        enablePart(MotionInputsBox, true);
        enableRange(kRsDeviceLocation, option::kNoRs232Output, option::kLastRs232Option);
        if (banks() > 0)
            withdraw(kRsDeviceLocation, option::kRs232PwmController, option::kNoRs232Output);
        else
            enable(kRsDeviceLocation, {option::kRs232PwmController});
        enable(kLrDeviceLocation, {option::kLrRelayController, option::kLrPwmController});
        enable(kEsDeviceLocation, {option::kEsRelayController, option::kPellix});
        enable(kLrDeviceLocation, {option::kBrevane});
        // An RS-232 relay controller excludes the LR PWM controller.
        for (int index = option::kFirstRelayController; index <= option::kLastRelayController;
             ++index) {
            if (selected(kRsDeviceLocation, index))
                withdraw(kLrDeviceLocation, option::kLrPwmController, option::kNoLrOutput);
        }
    }

    void modeOneIsTheAnalogLimiter()
    {
        if (selected(kModeLocation, option::kAnalogLimiter)) {
            showPart(SwitchTypeFrame, false);
            enable(kFrequencyLocation, {option::kPeriodically, option::kConstantly}, false);
            force(kFrequencyLocation, option::kOnChange);
            enableRange(kRsDeviceLocation, option::kNoRs232Output, option::kLastRelayController);
            withdraw(kRsDeviceLocation, option::kRs232PwmController, option::kNoRs232Output);
            withdraw(kLrDeviceLocation, option::kLrPwmController, option::kNoLrOutput);
            withdraw(kLrDeviceLocation, option::kBrevane, option::kNoLrOutput);
            withdraw(kEsDeviceLocation, option::kPellix, option::kNoEsOutput);
            enable(kLrDeviceLocation, {option::kLrRelayController});
            enable(kEsDeviceLocation, {option::kEsRelayController});
            setInputBanks(0);
            setBanksMaximum(0);
        } else {
            enable(kEsDeviceLocation, {option::kPellix});
            enable(kLrDeviceLocation, {option::kBrevane});
            setBanksMaximum(mostBanks_);
            setBanksMinimum(floor_);
        }
    }

    // Modes 2, 3 and 4 (or none). Selections stay.
    void otherModesHaveNoRelayControllers()
    {
        if (selected(kModeLocation, option::kVindleModule) ||
            selected(kModeLocation, option::kAnalogLimiter))
            return;
        enable(kRsDeviceLocation, {option::kNoRs232Output});
        enableRange(kRsDeviceLocation, option::kFirstRelayController, option::kRs232PwmController,
                    false);
        enable(kLrDeviceLocation, {option::kLrRelayController, option::kLrPwmController}, false);
        enable(kEsDeviceLocation, {option::kEsRelayController}, false);
    }

    // Mode 3: serial to parallel.
    void modeThreeTakesDataFromTheComputer()
    {
        if (!selected(kModeLocation, option::kSerialToParallel))
            return;
        showPart(SwitchTypeFrame, false);
        showPart(FrequencyFrame, false);
        enable(kRsDeviceLocation, {option::kNoRs232Output}, false);
        force(kRsDeviceLocation, option::kComputer);
        showPart(LrFrame, false);
        showPart(EsFrame, false);
        enable(kLrDeviceLocation, {option::kLrRelayController, option::kLrPwmController}, false);
        enable(kEsDeviceLocation, {option::kEsRelayController}, false);
    }

    void resolutionBelongsToModeFour()
    {
        enablePart(ResolutionButton, false);
        if (!selected(kModeLocation, option::kAnalogToPc))
            return;
        showPart(SwitchTypeFrame, false);
        enable(kLrDeviceLocation, {option::kLrRelayController, option::kLrPwmController}, false);
        enable(kEsDeviceLocation, {option::kEsRelayController}, false);
        enablePart(ResolutionButton, true);
    }

    // None until a device below asks for one.
    void advancedFramesNoneYet()
    {
        for (const RulesPart frame : {Rs232BankFrame, LrBankFrame, EsBankFrame, SquelchFrame})
            enablePart(frame, false);
        enablePart(MoreOptionsButton, false);
    }

    // An advanced frame applies, and More Options opens it.
    void offer(RulesPart frame)
    {
        enablePart(frame, true);
        enablePart(MoreOptionsButton, true);
    }

    void wirelessRelaysChooseTheirBank()
    {
        if (selected(kLrDeviceLocation, option::kLrRelayController))
            offer(LrBankFrame);
        if (selected(kEsDeviceLocation, option::kEsRelayController))
            offer(EsBankFrame);
    }

    // RS-232 relay controllers of more than eight relays.
    void largeRs232RelaysChooseTheirBank()
    {
        for (const int index : {5, 6, 8, 9, 10}) {
            if (selected(kRsDeviceLocation, index))
                offer(Rs232BankFrame);
        }
    }

    void pwmOnRs232()
    {
        if (!selected(kRsDeviceLocation, option::kRs232PwmController))
            return;
        showPart(SwitchTypeFrame, false);
        offer(SquelchFrame);
        withdraw(kLrDeviceLocation, option::kLrRelayController, option::kNoLrOutput);
        withdraw(kEsDeviceLocation, option::kEsRelayController, option::kNoEsOutput);
    }

    void pwmOnLr()
    {
        if (!selected(kLrDeviceLocation, option::kLrPwmController))
            return;
        showPart(SwitchTypeFrame, false);
        offer(SquelchFrame);
    }

    // Motion detectors use the on-board inputs. A module that always has an
    // input bank cannot give them up, so the box is hidden below; a box the
    // user can no longer see or clear must not stay checked.
    void motionNeedsAnInputBankFree()
    {
        if (result_.inputBanks.minimum > 0 && record_[kMotionInputsLocation] != kUncheckedBox)
            force(kMotionInputsLocation, kUncheckedBox);
    }

    // Motion detectors use the on-board inputs, have normally closed outputs
    // and report changes.
    void motionDetectorsUseOnBoardInputs()
    {
        if (selected(kModeLocation, option::kVindleModule) && motionChecked())
            setInputBanks(0);
        if (!motionChecked())
            return;
        // No step reads the switch type.
        force(kSwitchTypeLocation, option::kNormallyClosed, false);
        enable(kSwitchTypeLocation, {option::kNormallyOpen}, false);
        withdraw(kRsDeviceLocation, option::kRs232PwmController, option::kNoRs232Output);
        withdraw(kLrDeviceLocation, option::kLrPwmController, option::kNoLrOutput);
        enable(kFrequencyLocation, {option::kPeriodically, option::kConstantly}, false);
        force(kFrequencyLocation, option::kOnChange);
    }

    // Expansion banks rule out everything but mode 0 without PWM or motion.
    void expansionBanksOnlyInModeZero()
    {
        const bool banked = banks() > 0;
        for (const int mode : {option::kAnalogLimiter, option::kParallelToSerial,
                               option::kSerialToParallel, option::kAnalogToPc})
            showOption(kModeLocation, mode, !banked);
        showOption(kRsDeviceLocation, option::kRs232PwmController, !banked);
        showOption(kLrDeviceLocation, option::kLrPwmController, !banked);
        showPart(MotionInputsBox, !banked);
    }

    OptionRulesResult& result_;
    ConfigurationRecord& record_;
    const int floor_;
    const int mostBanks_;
    bool restart_ = false;
};

} // namespace

Availability OptionRulesResult::option(int location, int index) const
{
    const auto found = options.find({location, index});
    return found == options.end() ? Availability{} : found->second;
}

const Availability& OptionRulesResult::part(RulesPart which) const
{
    return atIndex(parts, static_cast<int>(which));
}

OptionRulesResult optionRules(const ConfigurationRecord& record, int inputBankFloor)
{
    const LocationInfo& banks = locationInfo(kInputBanksLocation);
    OptionRulesResult result{record, {}, {}, {}, {banks.minimum, banks.maximum}};
    bool settled = false;
    for (int run = 0; run < kMostRuns && !settled; ++run)
        settled = RulesRun(result, inputBankFloor).run();
    assert(settled && "the option rules settle");
    return result;
}

} // namespace vindle
