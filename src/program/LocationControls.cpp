#include "program/LocationControls.h"

#include "config/ByteText.h"
#include "program/OptionEncoders.h"
#include "ui/main/ConfigWindows.h"

#include <algorithm>
#include <cctype>

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

std::string fieldName(const LocationInfo& info)
{
    std::string name(info.item);
    if (!name.empty())
        name.front() = static_cast<char>(std::toupper(static_cast<unsigned char>(name.front())));
    return name;
}

} // namespace vindle
