#include "ui/main/Rules.h"

#include "base/AtIndex.h"
#include "config/MemoryMap.h"
#include "ui/main/ConfigWindows.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <string_view>

namespace vindle {

namespace {

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

// The locations the rules read.
constexpr std::array<int, 9> kRulesInputs{
    kInputBanksLocation, kSendersLocation,      kModeLocation,
    kFrequencyLocation,  kRsDeviceLocation,     kLrDeviceLocation,
    kEsDeviceLocation,   kMotionInputsLocation, kSwitchTypeLocation,
};

// What a choice with no option chosen holds for the rules.
constexpr int kNoChoice = -1;

int heldValue(const MainWindow& main, const LocationInfo& info)
{
    switch (info.encoding) {
    case Encoding::Slider:
        return main.get<Slider>(info.control).value();
    case Encoding::NonzeroCheck:
        return main.get<CheckBox>(info.control).value();
    default:
        return main.get<OptionGroup>(info.control).selected().value_or(kNoChoice);
    }
}

// Writes a value the rules force as a person's change would, raising the
// control's handlers. A bank count outside the range the slider has now
// opens it to the slider's design range first; the rules' range follows.
void force(MainWindow& main, const LocationInfo& info, int value)
{
    switch (info.encoding) {
    case Encoding::Slider: {
        Slider& slider = main.get<Slider>(info.control);
        if (!slider.accepts(value)) {
            slider.setMinimum(std::min(slider.minimum(), info.minimum));
            slider.setMaximum(std::max(slider.maximum(), info.maximum));
        }
        slider.setValue(value);
        break;
    }
    case Encoding::NonzeroCheck:
        main.get<CheckBox>(info.control).setValue(value);
        break;
    default:
        main.get<OptionGroup>(info.control).select(value);
        break;
    }
}

void apply(Control& control, const Availability& availability)
{
    if (availability.enabled)
        control.setEnabled(*availability.enabled);
    if (availability.visible)
        control.setVisible(*availability.visible);
}

} // namespace

void Rules(ConfigWindows& windows)
{
    MainWindow& main = windows.mainWindow();
    ConfigurationRecord held;
    for (const int location : kRulesInputs)
        atIndex(held.values, location) =
            static_cast<std::int16_t>(heldValue(main, locationInfo(location)));
    const OptionRulesResult result = optionRules(held, windows.inputBankFloor());

    // Each forced choice raises its control's handlers; those that run the
    // rules again find the choices one step further on the same way, and
    // apply the same answer before this run goes on.
    for (const ForcedValue& forced : result.forced)
        force(main, locationInfo(forced.location), forced.value);
    Slider& banks = main.DInputs();
    banks.setMinimum(result.inputBanks.minimum);
    banks.setMaximum(result.inputBanks.maximum);
    for (const auto& [option, availability] : result.options)
        apply(ruledOption(windows, option), availability);
    for (std::size_t part = 0; part < kRulesPartCount; ++part)
        apply(ruledControl(windows, static_cast<RulesPart>(part)), result.parts[part]);
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
