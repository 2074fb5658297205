#include "ui/limiter/LimiterWindow.h"

#include "base/AtIndex.h"
#include "config/KeptRecord.h"
#include "ui/limiter/Volt.h"
#include "ui/model/NumberText.h"

#include <stdexcept>
#include <vector>

namespace vindle {

namespace {

constexpr std::array<const char*, LimiterWindow::kChannels + 1> kFrameCaptions{
    "Relay 1 is Tied to Analog Input Channel #1 on the Vindle Module",
    "Relay 2 is Tied to Analog Input Channel #2 on the Vindle Module",
    "Relay 3 is Tied to Analog Input Channel #3 on the Vindle Module",
    "Relay 4 is Tied to Analog Input Channel #4 on the Vindle Module",
    "Relay 5 is Tied to Analog Input Channel #5 on the Vindle Module",
    "Relay 6 is Tied to Analog Input Channel #6 on the Vindle Module",
    "Relay 7 is Tied to Analog Input Channel #7 on the Vindle Module",
    "Relay 8 is Tied to Input Channel #8",
};

constexpr const char* kDigitalChannelText =
    "Input 8 can be used as a digital input only.  Relay 8 follows its on/off state.";

constexpr const char* kWindowText =
    "Limiter Mode allows you to activate relays based on incomming voltage levels (0-5VDC MAX).  "
    "You can set relays to activate when a voltage reaches a set level and deactivate if the "
    "voltage gets to high.  This is useful for battery charging applications, day/night light "
    "level monitoring, audio detection, and other sensors with an analog output.  You can set "
    "relays to activate inside or outside a specified range.  When limiter mode is used, the "
    "first 7 inputs are read as analog voltages.";

constexpr const char* kInsideCaption = "Activate Relay Inside Limits";
constexpr const char* kOutsideCaption = "Activate Relay Outside Limits";

// Label1 indexes of the readout titles: 7, 9, ... 19 for channels 1 to 7.
constexpr int readoutTitleIndex(int channel)
{
    return LimiterWindow::kChannels + 2 * channel;
}

// Frames stand in two columns of four.
constexpr int kFrameWidth = 7215;
constexpr int kFrameHeight = 2415;

Rect frameRect(int index)
{
    return {120 + (index / 4) * (kFrameWidth + 120), 120 + (index % 4) * (kFrameHeight + 120),
            kFrameWidth, kFrameHeight};
}

} // namespace

LimiterWindow::LimiterWindow() : Window("Limiter", "Analog Limiter Configuration")
{
    setClientArea({0, 0, 14790, 11385});
    for (int channel = 0; channel < kChannels; ++channel) {
        Frame& frame = add<Frame>("Frame1", channel, nullptr, atIndex(kFrameCaptions, channel));
        frame.setLayout(frameRect(channel));
        atIndex(frames_, channel) = &frame;
        Channel& c = atIndex(channels_, channel);
        c.lower = &add<Slider>("SetLowerLimit", channel, &frame, kLowestCount, kHighestCount,
                               kLowestCount);
        c.lower->setLayout({120, 480, 3735, 255});
        c.upper = &add<Slider>("SetUpperLimit", channel, &frame, kLowestCount, kHighestCount,
                               kLowestCount);
        c.upper->setLayout({120, 1080, 3735, 255});
        c.lowerCaption = &add<Label>("Label1", channel, &frame, "Lower Limit = 75");
        c.lowerCaption->setLayout({120, 240, 3735, 240});
        c.upperCaption = &add<Label>("Label2", channel, &frame, "Upper Limit = 125");
        c.upperCaption->setLayout({120, 840, 3735, 240});
        c.lower->setNamedBy(*c.lowerCaption);
        c.upper->setNamedBy(*c.upperCaption);
        c.mode = &add<OptionGroup>(
            "LimitMode", &frame,
            std::vector<OptionGroup::Item>{
                {2 * channel, kInsideCaption, true, Rect{4080, 240, 3015, 255}},
                {2 * channel + 1, kOutsideCaption, true, Rect{4080, 540, 3015, 255}}});
        c.mode->select(2 * channel);
        atIndex(details_, channel) = &add<Label>("Label3", channel, &frame, "Details");
        atIndex(details_, channel)->setLayout({120, 1440, 3735, 855});
        c.readoutTitle =
            &add<Label>("Label1", readoutTitleIndex(channel), &frame, "Current A/D Input");
        c.readoutTitle->setLayout({4080, 960, 3015, 240});
        c.level = &add<ProgressBar>("Level", channel, &frame, kLowestCount, kHighestCount);
        c.level->setLayout({4080, 1200, 3015, 255});
        c.levelLabel = &add<Label>("LevelLabel", channel, &frame, "255");
        c.levelLabel->setLayout({4080, 1560, 0, 0});
        c.volts = &add<Label>("Volts", channel, &frame, "5.00 Volts");
        c.volts->setLayout({5280, 1560, 0, 0});

        c.lower->onChange([this, channel] { SetLowerLimit_Change(channel); });
        c.lower->onScroll([this, channel] { SetLowerLimit_Change(channel); });
        c.upper->onChange([this, channel] { SetUpperLimit_Change(channel); });
        c.upper->onScroll([this, channel] { SetUpperLimit_Change(channel); });
        c.mode->onClick([this](int index) { LimitMode_Click(index); });
    }

    Frame& digital = add<Frame>("Frame1", kChannels, nullptr, atIndex(kFrameCaptions, kChannels));
    digital.setLayout(frameRect(kChannels));
    atIndex(frames_, kChannels) = &digital;
    atIndex(details_, kChannels) = &add<Label>("Label3", kChannels, &digital, kDigitalChannelText);
    atIndex(details_, kChannels)->setLayout({120, 240, 6975, 1095});
    details_[kChannels + 1] = &add<Label>("Label3", kChannels + 1, nullptr, kWindowText);
    details_[kChannels + 1]->setLayout({120, 10320, 11000, 975});

    command1_ = &add<Button>("Command1", kNoIndex, nullptr,
                             "Manually Refresh All Current A/D Input Values (this lets you read "
                             "current values to help you determine proper limits)");
    command1_->setLayout({11280, 10320, 3390, 975});
    // The explanation and the refresh button stay in view on a small screen.
    setFooterTop(details_[kChannels + 1]->layout()->top);
}

Label& LimiterWindow::Label1(int index) const
{
    if (index >= 0 && index < kChannels)
        return *atIndex(channels_, index).lowerCaption;
    const int channel = (index - kChannels) / 2;
    if (index >= kChannels && (index - kChannels) % 2 == 0 && channel < kChannels)
        return *atIndex(channels_, channel).readoutTitle;
    throw std::out_of_range("Limiter has no Label1(" + std::to_string(index) + ")");
}

std::string LimiterWindow::lowerLimitCaption(int lower)
{
    return "Lower Limit =" + numberText(lower) + "   " + VOLT(lower) + " Volts";
}

std::string LimiterWindow::upperLimitCaption(int upper)
{
    return "Upper Limit =" + numberText(upper) + "   " + VOLT(upper) + " Volts";
}

std::string LimiterWindow::detailsCaption(bool inside, int lower, int upper)
{
    if (inside) {
        return "Relays will Activate When the Lower Limit is Greater Than or Equal To" +
               numberText(lower) + " And Will Stay Activated Until the Upper Limit of" +
               numberText(upper) + " is Exceeded.";
    }
    return "Relays will Activate Until the Lower Limit is Greater Than or Equal To" +
           numberText(lower) + " And Will Stay OFF Until the Upper Limit of" + numberText(upper) +
           " is Exceeded.";
}

void LimiterWindow::SetLowerLimit_Change(int channel)
{
    updateLimits(channel, Side::Lower);
}

void LimiterWindow::SetUpperLimit_Change(int channel)
{
    updateLimits(channel, Side::Upper);
}

void LimiterWindow::LimitMode_Click(int index)
{
    updateLimits(index / 2, Side::Lower);
    updateLimits(index / 2, Side::Upper);
}

void LimiterWindow::updateLimits(int channel, Side side)
{
    const Channel& c = atIndex(channels_, channel);
    // The lower limit never stays above the upper one. Each write raises that
    // slider's change, which runs this update again, nested.
    const auto [orderedLower, orderedUpper] = orderedLimits(c.lower->value(), c.upper->value());
    c.lower->setValue(orderedLower);
    c.upper->setValue(orderedUpper);
    // The captions show the limits as they stand after the rule.
    const int lower = c.lower->value();
    const int upper = c.upper->value();
    if (side == Side::Lower)
        c.lowerCaption->setCaption(lowerLimitCaption(lower));
    else
        c.upperCaption->setCaption(upperLimitCaption(upper));
    const bool inside = c.mode->isSelected(2 * channel);
    atIndex(details_, channel)->setCaption(detailsCaption(inside, lower, upper));
}

} // namespace vindle
