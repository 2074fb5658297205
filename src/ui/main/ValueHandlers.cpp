#include "ui/main/ValueHandlers.h"

#include "config/OptionIndexes.h"
#include "ui/main/ConfigWindows.h"
#include "ui/model/NumberText.h"

namespace vindle {

namespace {

// A slider's value shown as plain decimal text in its label, on change and
// while dragged, followed by `then`.
void showValue(Slider& slider, Label& label, std::function<void()> then = {})
{
    auto handler = [&slider, &label, then = std::move(then)] {
        label.setCaption(plainNumberText(slider.value()));
        if (then)
            then();
    };
    slider.onChange(handler);
    slider.onScroll(handler);
}

// Mode 1 opens the limiter window and brings every caption there up to date.
void openLimiter(LimiterWindow& limiter)
{
    limiter.show();
    limiter.bringToFront();
    for (int channel = 0; channel < LimiterWindow::kChannels; ++channel)
        limiter.SetLowerLimit_Change(channel);
    for (int index = 0; index < 2 * LimiterWindow::kChannels; ++index)
        limiter.LimitMode_Click(index);
}

} // namespace

std::string intervalSentence(int seconds)
{
    if (seconds == 1)
        return "Data will Transmit Every Second";
    return "Data will Transmit Every" + numberText(seconds) + " Seconds";
}

std::string inputSourceCaption(int banks)
{
    return std::string(banks == 0 ? kProcessorInputs : kExternalInputs);
}

std::string toggledResolution(const std::string& caption)
{
    return std::string(caption == kTenBits ? kEightBits : kTenBits);
}

void installValueHandlers(ConfigWindows& windows)
{
    MainWindow& main = windows.mainWindow();

    showValue(main.Debounce(), main.DebounceValue());
    showValue(main.ESReps(), main.EsRepeatsValue());
    showValue(main.LRReps(), main.LrRepeatsValue());
    showValue(main.Interval(), main.IntervalValue(), [&main] {
        main.IntervalSentence().setCaption(intervalSentence(main.Interval().value()));
    });
    showValue(main.DInputs(), main.InputBanksValue(), [&main, &windows] {
        main.InputSource().setCaption(inputSourceCaption(main.DInputs().value()));
        windows.Rules();
    });

    main.ADBITS().onClick(
        [&main] { main.ADBITS().setCaption(toggledResolution(main.ADBITS().caption())); });
    main.MoreOptions().onClick([&windows] {
        AdvancedWindow& advanced = windows.advanced();
        advanced.show();
        advanced.bringToFront();
    });
    main.MotionInputs().onClick([&main, &windows] {
        MotionTimesWindow& motion = windows.motionTimes();
        if (main.MotionInputs().value() != CheckBox::kUnchecked) {
            motion.show();
            motion.bringToFront();
        } else {
            motion.hide();
        }
        windows.Rules();
    });
    main.Mode().onClick([&windows](int index) {
        if (index == option::kAnalogLimiter)
            openLimiter(windows.limiter());
        else
            windows.limiter().hide();
        windows.Rules();
    });
    for (OptionGroup* group :
         {&main.Senders(), &main.Frequency(), &main.RSDevice(), &main.LRDevice(), &main.ESDevice()})
        group->onClick([&windows](int) { windows.Rules(); });
}

} // namespace vindle
