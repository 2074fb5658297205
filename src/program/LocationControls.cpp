#include "program/LocationControls.h"

#include "config/ByteText.h"
#include "config/Configuration.h"
#include "program/OptionEncoders.h"
#include "ui/main/ConfigWindows.h"

#include <algorithm>
#include <vector>

namespace vindle {

namespace {

constexpr int kOutsideLimits = 1; // LimitMode(2k + 1) of channel k

Slider& sliderOf(ConfigWindows& windows, const LocationInfo& info)
{
    return windowOf(windows, info.window).get<Slider>(info.control, info.index);
}

OptionGroup& groupOf(ConfigWindows& windows, const LocationInfo& info)
{
    return windowOf(windows, info.window).get<OptionGroup>(info.control);
}

// Opens a slider's range to the one it was designed with before a value is
// written, so that a range the window narrowed for the choices it held before
// (mode 1, an earlier module's input bank) does not turn a valid value away.
void widenToDesign(Slider& slider, const LocationInfo& info)
{
    slider.setMinimum(std::min(slider.minimum(), info.minimum));
    slider.setMaximum(std::max(slider.maximum(), info.maximum));
}

} // namespace

namespace {

// The controls a location's value is read from.
std::vector<Control*> controlsOf(ConfigWindows& windows, const LocationInfo& info)
{
    Window& window = windowOf(windows, info.window);
    std::vector<Control*> controls;
    const auto group = [&controls](OptionGroup& options) {
        controls.push_back(&options);
        for (const auto& option : options.options())
            controls.push_back(option.get());
    };
    switch (info.encoding) {
    case Encoding::OptionIndex:
    case Encoding::MethodChoice:
    case Encoding::LowBit:
        group(window.get<OptionGroup>(info.control));
        break;
    case Encoding::BitSet:
        for (int channel = 0; channel < LimiterWindow::kChannels; ++channel)
            group(windows.limiter().LimitModeGroup(channel));
        break;
    default:
        controls.push_back(&window.get<Control>(info.control, info.index));
        break;
    }
    return controls;
}

// Which of the configuration windows `window` is, without making any.
std::optional<ConfigWindow> kindOf(ConfigWindows& windows, const Window& window)
{
    if (&window == &windows.mainWindow())
        return ConfigWindow::Main;
    if (windows.hasAdvanced() && &window == &windows.advanced())
        return ConfigWindow::Advanced;
    if (windows.hasLimiter() && &window == &windows.limiter())
        return ConfigWindow::Limiter;
    if (windows.hasMotionTimes() && &window == &windows.motionTimes())
        return ConfigWindow::MotionTimes;
    return std::nullopt;
}

} // namespace

LocationBinding::LocationBinding(ConfigWindows& windows, Configuration& configuration)
    : windows_(windows), configuration_(configuration)
{}

void LocationBinding::bind(Window& window)
{
    const std::optional<ConfigWindow> kind = kindOf(windows_, window);
    for (const LocationInfo& info : memoryMap()) {
        if (info.window != kind)
            continue;
        for (Control* control : controlsOf(windows_, info))
            control->addListener([this, &info](const Control&) { update(info); });
        update(info);
    }
}

void LocationBinding::update(const LocationInfo& info)
{
    if (const std::optional<int> value = readLocation(windows_, info))
        configuration_.set(info.location, *value);
    else
        configuration_.setText(
            info.location,
            windowOf(windows_, info.window).get<TextBox>(info.control, info.index).text());
}

Window& windowOf(ConfigWindows& windows, ConfigWindow which)
{
    switch (which) {
    case ConfigWindow::Advanced:
        return windows.advanced();
    case ConfigWindow::Limiter:
        return windows.limiter();
    case ConfigWindow::MotionTimes:
        return windows.motionTimes();
    case ConfigWindow::Main:
        break;
    }
    return windows.mainWindow();
}

bool writeLocation(ConfigWindows& windows, const LocationInfo& info, int value)
{
    if (windowRejects(info, value))
        return false;
    Window& window = windowOf(windows, info.window);
    switch (info.encoding) {
    case Encoding::Slider:
    case Encoding::SliderMinusOne: {
        Slider& slider = sliderOf(windows, info);
        widenToDesign(slider, info);
        slider.setValue(sliderPositionFor(info, value));
        break;
    }
    case Encoding::OptionIndex:
        groupOf(windows, info).select(value);
        break;
    case Encoding::CheckBox:
        window.get<CheckBox>(info.control, info.index).setValue(value);
        break;
    case Encoding::NonzeroCheck:
        window.get<CheckBox>(info.control, info.index)
            .setValue(value != 0 ? CheckBox::kChecked : CheckBox::kUnchecked);
        break;
    case Encoding::DecimalText:
        window.get<TextBox>(info.control, info.index).setText(std::to_string(value));
        break;
    case Encoding::BitSet: {
        LimiterWindow& limiter = windows.limiter();
        for (int channel = 0; channel < LimiterWindow::kChannels; ++channel) {
            const bool outside = ((value >> channel) & 1) != 0;
            limiter.LimitModeGroup(channel).select(2 * channel + (outside ? kOutsideLimits : 0));
        }
        break;
    }
    case Encoding::FlagToCaption:
        window.get<Button>(info.control, info.index)
            .setCaption(std::string(value != 0 ? kTenBits : kEightBits));
        break;
    case Encoding::MethodChoice:
        if (value == 0 || value == 1)
            groupOf(windows, info).select(value);
        break;
    case Encoding::LowBit:
        groupOf(windows, info).select(value & 1);
        break;
    }
    return true;
}

std::optional<int> readLocation(ConfigWindows& windows, const LocationInfo& info)
{
    Window& window = windowOf(windows, info.window);
    switch (info.encoding) {
    case Encoding::Slider:
        return sliderOf(windows, info).value();
    case Encoding::SliderMinusOne:
        return sliderOf(windows, info).value() - 1;
    case Encoding::OptionIndex:
        return selectedIndex(groupOf(windows, info)).value_or(0);
    case Encoding::CheckBox:
        return checkBoxByte(window.get<CheckBox>(info.control, info.index));
    case Encoding::NonzeroCheck:
        return window.get<CheckBox>(info.control, info.index).value();
    case Encoding::DecimalText:
        return byteFromText(window.get<TextBox>(info.control, info.index).text());
    case Encoding::BitSet: {
        const LimiterWindow& limiter = windows.limiter();
        int mask = 0;
        for (int channel = 0; channel < LimiterWindow::kChannels; ++channel) {
            if (limiter.LimitMode(2 * channel + kOutsideLimits).isSelected())
                mask |= 1 << channel;
        }
        return mask;
    }
    case Encoding::FlagToCaption:
        return resolutionByte(window.get<Button>(info.control, info.index));
    case Encoding::MethodChoice: {
        const OptionGroup& group = groupOf(windows, info);
        return group.isSelected(1) ? 1 : 0;
    }
    case Encoding::LowBit:
        return groupOf(windows, info).isSelected(0) ? 0 : 1;
    }
    return std::nullopt;
}

} // namespace vindle
