#include "ui/main/Rules.h"

#include "base/AtIndex.h"
#include "config/MemoryMap.h"
#include "ui/main/ConfigWindows.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <initializer_list>
#include <string_view>

namespace vindle {

namespace {

constexpr int kMostInputBanks = 32;

// Where each part the option rules decide is shown, in the parts' order.
struct RuledControl
{
    RulesPart part;
    ConfigWindow window;
    std::string_view control;
};

constexpr std::array<RuledControl, kRulesPartCount> kRuledControls{{
    {RulesPart::MotionInputsBox, ConfigWindow::Main, "MotionInputs"},
    {RulesPart::IntervalSlider, ConfigWindow::Main, "Interval"},
    {RulesPart::IntervalValue, ConfigWindow::Main, "Label3"},
    {RulesPart::IntervalSentence, ConfigWindow::Main, "Label4"},
    {RulesPart::ResolutionButton, ConfigWindow::Main, "ADBITS"},
    {RulesPart::MoreOptionsButton, ConfigWindow::Main, "MoreOptions"},
    {RulesPart::SwitchTypeFrame, ConfigWindow::Main, "Frame8"},
    {RulesPart::FrequencyFrame, ConfigWindow::Main, "Frame9"},
    {RulesPart::Rs232Frame, ConfigWindow::Main, "Frame10"},
    {RulesPart::LrFrame, ConfigWindow::Main, "Frame14"},
    {RulesPart::EsFrame, ConfigWindow::Main, "Frame15"},
    {RulesPart::Rs232BankFrame, ConfigWindow::Advanced, "Frame1"},
    {RulesPart::LrBankFrame, ConfigWindow::Advanced, "Frame2"},
    {RulesPart::EsBankFrame, ConfigWindow::Advanced, "Frame4"},
    {RulesPart::SquelchFrame, ConfigWindow::Advanced, "Frame5"},
}};

constexpr bool partsInOrder()
{
    for (std::size_t i = 0; i < kRuledControls.size(); ++i) {
        if (static_cast<std::size_t>(kRuledControls[i].part) != i)
            return false;
    }
    return true;
}
static_assert(partsInOrder(), "the ruled controls list every part once, in order");

void enable(OptionGroup& group, std::initializer_list<int> indexes, bool enabled = true)
{
    for (const int index : indexes)
        group.option(index).setEnabled(enabled);
}

void enableRange(OptionGroup& group, int first, int last, bool enabled = true)
{
    for (int index = first; index <= last; ++index)
        group.option(index).setEnabled(enabled);
}

void show(std::initializer_list<Control*> controls, bool visible)
{
    for (Control* control : controls)
        control->setVisible(visible);
}

// If option `from` is selected, select `to` (which runs the rules nested);
// then disable `from` either way.
void withdraw(OptionGroup& group, int from, int to)
{
    if (group.isSelected(from))
        group.select(to);
    group.option(from).setEnabled(false);
}

// Writes DInputs as near to `value` as its range allows; a change runs the
// rules nested through the slider's change handler.
void setInputBanks(Slider& inputs, int value)
{
    inputs.setValue(std::clamp(value, inputs.minimum(), inputs.maximum()));
}

// One run of the option rules, a function per step, in the order the steps
// always ran. Each step reads the controls as they stand when it runs.
class RulesRun
{
public:
    explicit RulesRun(ConfigWindows& windows)
        : windows_(windows), main_(windows.mainWindow()), mode_(main_.Mode()),
          frequency_(main_.Frequency()), ncno_(main_.NCNO()), rs_(main_.RSDevice()),
          lr_(main_.LRDevice()), es_(main_.ESDevice()), inputs_(main_.DInputs()),
          motion_(main_.MotionInputs())
    {}

    void run()
    {
        reset();                             // 1
        intervalServesPeriodicSending();     // 2
        transmitterFramesFollowSenders();    // 3
        motionBoxWaitsForModeZero();         // 4
        modeZeroPassesInputsOn();            // 5
        modeOneIsTheAnalogLimiter();         // 6
        otherModesHaveNoRelayControllers();  // 7
        modeThreeTakesDataFromTheComputer(); // 8
        resolutionBelongsToModeFour();       // 9, 10
        advancedFramesNoneYet();             // 11
        wirelessRelaysChooseTheirBank();     // 12, 13
        largeRs232RelaysChooseTheirBank();   // 14
        pwmOnRs232();                        // 15
        pwmOnLr();                           // 16
        motionNeedsAnInputBankFree();        // before 17
        motionDetectorsUseOnBoardInputs();   // 17, 18
        expansionBanksOnlyInModeZero();      // 19
    }

private:
    bool motionChecked() const { return motion_.value() == CheckBox::kChecked; }

    void reset()
    {
        enable(frequency_, {0, 1});
        enable(ncno_, {0});
        show({&main_.Frame8(), &main_.Frame9()}, true);
        enable(lr_, {2});
        enable(es_, {2});
    }

    void intervalServesPeriodicSending()
    {
        const bool periodic = frequency_.isSelected(0);
        main_.Label4().setEnabled(periodic);
        main_.Interval().setEnabled(periodic);
        main_.Label3().setEnabled(periodic);
    }

    void transmitterFramesFollowSenders()
    {
        if (const auto fitted = main_.Senders().selected()) {
            main_.Frame10().setVisible(true);
            main_.Frame14().setVisible(*fitted == 1);
            main_.Frame15().setVisible(*fitted == 2);
        }
    }

    // Mode 0 enables the box again.
    void motionBoxWaitsForModeZero() { motion_.setEnabled(false); }

    void modeZeroPassesInputsOn()
    {
        if (!mode_.isSelected(0))
            return;
        motion_.setEnabled(true);
        enableRange(rs_, 0, 11);
        if (inputs_.value() > 0)
            withdraw(rs_, 12, 0);
        else
            enable(rs_, {12});
        enable(lr_, {2, 3});
        enable(es_, {2, 1});
        enable(lr_, {1});
        // An RS-232 relay controller excludes the LR PWM controller.
        for (int index = 2; index <= 10; ++index) {
            if (rs_.isSelected(index))
                withdraw(lr_, 3, 0);
        }
    }

    void modeOneIsTheAnalogLimiter()
    {
        if (mode_.isSelected(1)) {
            main_.Frame8().setVisible(false);
            enable(frequency_, {0, 1}, false);
            frequency_.select(2);
            enableRange(rs_, 0, 10);
            withdraw(rs_, 12, 0);
            withdraw(lr_, 3, 0);
            withdraw(lr_, 1, 0);
            withdraw(es_, 1, 0);
            enable(lr_, {2});
            enable(es_, {2});
            setInputBanks(inputs_, 0);
            inputs_.setMaximum(0);
        } else {
            enable(es_, {1});
            enable(lr_, {1});
            inputs_.setMaximum(kMostInputBanks);
            inputs_.setMinimum(windows_.inputBankFloor());
        }
    }

    // Modes 2, 3 and 4 (or none). Selections stay.
    void otherModesHaveNoRelayControllers()
    {
        if (mode_.isSelected(0) || mode_.isSelected(1))
            return;
        enable(rs_, {0});
        enableRange(rs_, 2, 12, false);
        enable(lr_, {2, 3}, false);
        enable(es_, {2}, false);
    }

    // Mode 3: serial to parallel.
    void modeThreeTakesDataFromTheComputer()
    {
        if (!mode_.isSelected(3))
            return;
        show({&main_.Frame8(), &main_.Frame9()}, false);
        enable(rs_, {0}, false);
        rs_.select(1);
        show({&main_.Frame14(), &main_.Frame15()}, false);
        enable(lr_, {2, 3}, false);
        enable(es_, {2}, false);
    }

    void resolutionBelongsToModeFour()
    {
        main_.ADBITS().setEnabled(false);
        if (!mode_.isSelected(4))
            return;
        main_.Frame8().setVisible(false);
        enable(lr_, {2, 3}, false);
        enable(es_, {2}, false);
        main_.ADBITS().setEnabled(true);
    }

    // None until a device below asks for one.
    void advancedFramesNoneYet()
    {
        AdvancedWindow& advanced = windows_.advanced();
        for (Frame* frame :
             {&advanced.Frame1(), &advanced.Frame2(), &advanced.Frame4(), &advanced.Frame5()})
            frame->setEnabled(false);
        main_.MoreOptions().setEnabled(false);
    }

    // An advanced frame applies, and More Options opens it.
    void offer(Frame& frame)
    {
        frame.setEnabled(true);
        main_.MoreOptions().setEnabled(true);
    }

    void wirelessRelaysChooseTheirBank()
    {
        if (lr_.isSelected(2))
            offer(windows_.advanced().Frame2());
        if (es_.isSelected(2))
            offer(windows_.advanced().Frame4());
    }

    // RS-232 relay controllers of more than eight relays.
    void largeRs232RelaysChooseTheirBank()
    {
        for (const int index : {5, 6, 8, 9, 10}) {
            if (rs_.isSelected(index))
                offer(windows_.advanced().Frame1());
        }
    }

    void pwmOnRs232()
    {
        if (!rs_.isSelected(12))
            return;
        main_.Frame8().setVisible(false);
        offer(windows_.advanced().Frame5());
        withdraw(lr_, 2, 0);
        withdraw(es_, 2, 0);
    }

    void pwmOnLr()
    {
        if (!lr_.isSelected(3))
            return;
        main_.Frame8().setVisible(false);
        offer(windows_.advanced().Frame5());
    }

    // Motion detectors use the on-board inputs. A module that always has an
    // input bank cannot give them up, so the box is hidden below; a box the
    // user can no longer see or clear must not stay checked.
    void motionNeedsAnInputBankFree()
    {
        if (inputs_.minimum() > 0 && motion_.value() != CheckBox::kUnchecked)
            motion_.setValue(CheckBox::kUnchecked);
    }

    // Motion detectors use the on-board inputs, have normally closed outputs
    // and report changes.
    void motionDetectorsUseOnBoardInputs()
    {
        if (mode_.isSelected(0) && motionChecked())
            setInputBanks(inputs_, 0);
        if (!motionChecked())
            return;
        ncno_.select(1);
        enable(ncno_, {0}, false);
        withdraw(rs_, 12, 0);
        withdraw(lr_, 3, 0);
        enable(frequency_, {0, 1}, false);
        frequency_.select(2);
    }

    // Expansion banks rule out everything but mode 0 without PWM or motion.
    void expansionBanksOnlyInModeZero()
    {
        const bool banks = inputs_.value() > 0;
        show({&mode_.option(1), &mode_.option(2), &mode_.option(3), &mode_.option(4),
              &rs_.option(12), &lr_.option(3), &motion_},
             !banks);
    }

    ConfigWindows& windows_;
    MainWindow& main_;
    OptionGroup& mode_;
    OptionGroup& frequency_;
    OptionGroup& ncno_;
    OptionGroup& rs_;
    OptionGroup& lr_;
    OptionGroup& es_;
    Slider& inputs_;
    CheckBox& motion_;
};

} // namespace

void Rules(ConfigWindows& windows)
{
    RulesRun(windows).run();
}

Control& ruledControl(ConfigWindows& windows, RulesPart part)
{
    const RuledControl& where = atIndex(kRuledControls, static_cast<int>(part));
    Window& window = where.window == ConfigWindow::Advanced
                         ? static_cast<Window&>(windows.advanced())
                         : static_cast<Window&>(windows.mainWindow());
    return window.get<Control>(where.control);
}

Option& ruledOption(ConfigWindows& windows, OptionAt option)
{
    const LocationInfo& info = locationInfo(option.location);
    return windows.mainWindow().get<OptionGroup>(info.control).option(option.index);
}

} // namespace vindle
