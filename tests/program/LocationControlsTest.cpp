#include "program/LocationControls.h"

#include "ui/main/ConfigWindows.h"

#include <gtest/gtest.h>

namespace vindle {
namespace {

// The memory map and the window models describe the same controls: names,
// indexes, ranges and the state each window starts in.
TEST(LocationControlsTest, MemoryMapAgreesWithTheWindows)
{
    ConfigWindows windows;
    for (const LocationInfo& info : memoryMap()) {
        SCOPED_TRACE("location " + std::to_string(info.location) + " " + std::string(info.control));
        Window& window = windowOf(windows, info.window);
        switch (info.encoding) {
        case Encoding::Slider:
        case Encoding::SliderMinusOne: {
            const Slider& slider = window.get<Slider>(info.control, info.index);
            EXPECT_EQ(slider.minimum(), info.minimum);
            EXPECT_EQ(slider.maximum(), info.maximum);
            EXPECT_EQ(slider.value(), info.initial);
            break;
        }
        case Encoding::OptionIndex:
        case Encoding::MethodChoice:
        case Encoding::LowBit: {
            const OptionGroup& group = window.get<OptionGroup>(info.control);
            for (int index = info.minimum; index <= info.maximum; ++index)
                EXPECT_TRUE(group.hasOption(index)) << index;
            EXPECT_EQ(group.selected(),
                      info.initial < 0 ? std::nullopt : std::optional<int>(info.initial));
            break;
        }
        case Encoding::CheckBox:
        case Encoding::NonzeroCheck:
            EXPECT_EQ(window.get<CheckBox>(info.control, info.index).value(), info.initial);
            break;
        case Encoding::DecimalText:
            EXPECT_EQ(window.get<TextBox>(info.control, info.index).text(),
                      std::to_string(info.initial));
            break;
        case Encoding::FlagToCaption:
            EXPECT_EQ(window.get<Button>(info.control, info.index).caption(), "8-BIT");
            break;
        case Encoding::BitSet:
            for (int channel = 0; channel < LimiterWindow::kChannels; ++channel)
                EXPECT_TRUE(windows.limiter().LimitMode(2 * channel).isSelected()) << channel;
            break;
        }
    }
}

} // namespace
} // namespace vindle
