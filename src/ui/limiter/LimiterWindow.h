#pragma once

#include "base/AtIndex.h"
#include "ui/model/Button.h"
#include "ui/model/Frame.h"
#include "ui/model/Label.h"
#include "ui/model/OptionGroup.h"
#include "ui/model/ProgressBar.h"
#include "ui/model/Slider.h"
#include "ui/model/Window.h"

#include <array>
#include <string>

namespace vindle {

// The analog limiter window: for each of the seven analog channels a lower
// and an upper limit, kept in order, the choice between activating the relay
// inside or outside them, their captions, and the live A/D readout controls.
class LimiterWindow : public Window
{
public:
    static constexpr int kChannels = 7;
    static constexpr int kLowestCount = 0;
    static constexpr int kHighestCount = 255;

    LimiterWindow();

    Frame& Frame1(int index) const { return *atIndex(frames_, index); }
    Slider& SetLowerLimit(int channel) const { return *atIndex(channels_, channel).lower; }
    Slider& SetUpperLimit(int channel) const { return *atIndex(channels_, channel).upper; }
    // Options 2i (inside) and 2i + 1 (outside) of channel i.
    Option& LimitMode(int index) const { return LimitModeGroup(index / 2).option(index); }
    OptionGroup& LimitModeGroup(int channel) const { return *atIndex(channels_, channel).mode; }
    Label& Label1(int index) const;
    Label& Label2(int channel) const { return *atIndex(channels_, channel).upperCaption; }
    Label& Label3(int index) const { return *atIndex(details_, index); }
    ProgressBar& Level(int channel) const { return *atIndex(channels_, channel).level; }
    Label& LevelLabel(int channel) const { return *atIndex(channels_, channel).levelLabel; }
    Label& Volts(int channel) const { return *atIndex(channels_, channel).volts; }
    Button& Command1() const { return *command1_; }

    // Handlers, also raised by program changes of the controls and called by
    // the main window to bring the captions up to date.
    void SetLowerLimit_Change(int channel);
    void SetUpperLimit_Change(int channel);
    void LimitMode_Click(int index);

    // The captions for given limits.
    static std::string lowerLimitCaption(int lower);
    static std::string upperLimitCaption(int upper);
    static std::string detailsCaption(bool inside, int lower, int upper);

private:
    enum class Side
    {
        Lower,
        Upper,
    };
    struct Channel
    {
        Slider* lower = nullptr;
        Slider* upper = nullptr;
        OptionGroup* mode = nullptr;
        Label* lowerCaption = nullptr;
        Label* upperCaption = nullptr;
        ProgressBar* level = nullptr;
        Label* levelLabel = nullptr;
        Label* volts = nullptr;
        Label* readoutTitle = nullptr;
    };

    void updateLimits(int channel, Side side);

    std::array<Frame*, kChannels + 1> frames_{};
    std::array<Channel, kChannels> channels_{};
    // Label3(0..6) details sentences, Label3(7) channel 8 text, Label3(8) window text.
    std::array<Label*, kChannels + 2> details_{};
    Button* command1_ = nullptr;
};

} // namespace vindle
