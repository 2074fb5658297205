#include "ui/main/Rules.h"

#include "ui/main/ConfigWindows.h"

#include <algorithm>
#include <initializer_list>

namespace vindle {

namespace {

constexpr int kMostInputBanks = 32;

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

} // namespace

void Rules(ConfigWindows& windows)
{
    MainWindow& main = windows.mainWindow();
    OptionGroup& mode = main.Mode();
    OptionGroup& senders = main.Senders();
    OptionGroup& frequency = main.Frequency();
    OptionGroup& ncno = main.NCNO();
    OptionGroup& rs = main.RSDevice();
    OptionGroup& lr = main.LRDevice();
    OptionGroup& es = main.ESDevice();
    Slider& inputs = main.DInputs();
    CheckBox& motion = main.MotionInputs();
    const auto motionChecked = [&motion] { return motion.value() == CheckBox::kChecked; };

    // 1. Reset.
    enable(frequency, {0, 1});
    enable(ncno, {0});
    show({&main.Frame8(), &main.Frame9()}, true);
    enable(lr, {2});
    enable(es, {2});

    // 2. The interval controls serve periodic sending only.
    const bool periodic = frequency.isSelected(0);
    main.Label4().setEnabled(periodic);
    main.Interval().setEnabled(periodic);
    main.Label3().setEnabled(periodic);

    // 3. Transmitter frames follow the fitted transmitters.
    if (const auto fitted = senders.selected()) {
        main.Frame10().setVisible(true);
        main.Frame14().setVisible(*fitted == 1);
        main.Frame15().setVisible(*fitted == 2);
    }

    // 4.
    motion.setEnabled(false);

    // 5. Mode 0: passing inputs on.
    if (mode.isSelected(0)) {
        motion.setEnabled(true);
        enableRange(rs, 0, 11);
        if (inputs.value() > 0)
            withdraw(rs, 12, 0);
        else
            enable(rs, {12});
        enable(lr, {2, 3});
        enable(es, {2, 1});
        enable(lr, {1});
        // An RS-232 relay controller excludes the LR PWM controller.
        for (int index = 2; index <= 10; ++index) {
            if (rs.isSelected(index))
                withdraw(lr, 3, 0);
        }
    }

    // 6. Mode 1: analog limiter.
    if (mode.isSelected(1)) {
        main.Frame8().setVisible(false);
        enable(frequency, {0, 1}, false);
        frequency.select(2);
        enableRange(rs, 0, 10);
        withdraw(rs, 12, 0);
        withdraw(lr, 3, 0);
        withdraw(lr, 1, 0);
        withdraw(es, 1, 0);
        enable(lr, {2});
        enable(es, {2});
        setInputBanks(inputs, 0);
        inputs.setMaximum(0);
    } else {
        enable(es, {1});
        enable(lr, {1});
        inputs.setMaximum(kMostInputBanks);
        inputs.setMinimum(windows.inputBankFloor());
    }

    // 7. Modes 2, 3 and 4 (or none): no relay controllers. Selections stay.
    if (!mode.isSelected(0) && !mode.isSelected(1)) {
        enable(rs, {0});
        enableRange(rs, 2, 12, false);
        enable(lr, {2, 3}, false);
        enable(es, {2}, false);
    }

    // 8. Mode 3: serial to parallel, data come from the computer.
    if (mode.isSelected(3)) {
        show({&main.Frame8(), &main.Frame9()}, false);
        enable(rs, {0}, false);
        rs.select(1);
        show({&main.Frame14(), &main.Frame15()}, false);
        enable(lr, {2, 3}, false);
        enable(es, {2}, false);
    }

    // 9, 10. The A/D resolution belongs to mode 4.
    main.ADBITS().setEnabled(false);
    if (mode.isSelected(4)) {
        main.Frame8().setVisible(false);
        enable(lr, {2, 3}, false);
        enable(es, {2}, false);
        main.ADBITS().setEnabled(true);
    }

    // 11. Advanced frames: none until a device below asks for one.
    AdvancedWindow& advanced = windows.advanced();
    for (Frame* frame :
         {&advanced.Frame1(), &advanced.Frame2(), &advanced.Frame4(), &advanced.Frame5()})
        frame->setEnabled(false);
    Button& moreOptions = main.MoreOptions();
    moreOptions.setEnabled(false);
    const auto offer = [&moreOptions](Frame& frame) {
        frame.setEnabled(true);
        moreOptions.setEnabled(true);
    };

    // 12, 13. Wireless relay controllers choose their first bank.
    if (lr.isSelected(2))
        offer(advanced.Frame2());
    if (es.isSelected(2))
        offer(advanced.Frame4());

    // 14. RS-232 relay controllers of more than eight relays choose theirs.
    for (const int index : {5, 6, 8, 9, 10}) {
        if (rs.isSelected(index))
            offer(advanced.Frame1());
    }

    // 15. PWM controller on RS-232.
    if (rs.isSelected(12)) {
        main.Frame8().setVisible(false);
        offer(advanced.Frame5());
        withdraw(lr, 2, 0);
        withdraw(es, 2, 0);
    }

    // 16. PWM controller on LR.
    if (lr.isSelected(3)) {
        main.Frame8().setVisible(false);
        offer(advanced.Frame5());
    }

    // Motion detectors use the on-board inputs. A module that always has an
    // input bank cannot give them up, so the box is hidden below; a box the
    // user can no longer see or clear must not stay checked.
    if (inputs.minimum() > 0 && motion.value() != CheckBox::kUnchecked)
        motion.setValue(CheckBox::kUnchecked);

    // 17, 18. Motion detectors use the on-board inputs, have normally
    // closed outputs and report changes.
    if (mode.isSelected(0) && motionChecked())
        setInputBanks(inputs, 0);
    if (motionChecked()) {
        ncno.select(1);
        enable(ncno, {0}, false);
        withdraw(rs, 12, 0);
        withdraw(lr, 3, 0);
        enable(frequency, {0, 1}, false);
        frequency.select(2);
    }

    // 19. Expansion banks rule out everything but mode 0 without PWM or motion.
    const bool banks = inputs.value() > 0;
    show({&mode.option(1), &mode.option(2), &mode.option(3), &mode.option(4), &rs.option(12),
          &lr.option(3), &motion},
         !banks);
}

} // namespace vindle
