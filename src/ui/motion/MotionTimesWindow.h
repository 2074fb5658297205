#pragma once

#include "base/AtIndex.h"
#include "ui/model/CheckBox.h"
#include "ui/model/Frame.h"
#include "ui/model/Label.h"
#include "ui/model/OptionGroup.h"
#include "ui/model/TextBox.h"
#include "ui/model/Window.h"

#include <array>
#include <string>

namespace vindle {

// The motion detector window: how a detection drives the relays and the
// minutes each of the eight inputs keeps its relay on. Row captions follow
// the chosen method; every minutes box is kept a number from 1 to 255.
class MotionTimesWindow : public Window
{
public:
    static constexpr int kInputs = 8;
    // MotionMin(kDelayBox) is the delay box of the sequence method.
    static constexpr int kDelayBox = 8;
    static constexpr double kFewestMinutes = 1;
    static constexpr double kMostMinutes = 255;

    MotionTimesWindow();

    Frame& FeaturesFrame() const { return *featuresFrame_; }
    OptionGroup& Method() const { return *method_; }
    CheckBox& SMotion() const { return *sMotion_; }
    Label& Label1(int input) const { return *atIndex(rowCaptions_, input); }
    Label& Label2(int input) const { return *atIndex(rowEnds_, input); }
    TextBox& MotionMin(int index) const { return *atIndex(minutes_, index); }
    Label& HELP() const { return *help_; }

    // Handlers, also raised by program changes of the controls.
    void Method_Click(int index);
    void MotionMin_Change(int index);

    // Row caption of input i (0 to 7) for method 0 or 1.
    static std::string rowCaption(int method, int input);
    // The minutes text a box is normalised to.
    static std::string normalMinutes(const std::string& text);

private:
    Frame* featuresFrame_ = nullptr;
    OptionGroup* method_ = nullptr;
    CheckBox* sMotion_ = nullptr;
    std::array<Label*, kInputs> rowCaptions_{};
    std::array<Label*, kInputs> rowEnds_{};
    std::array<TextBox*, kInputs + 1> minutes_{};
    Label* help_ = nullptr;
};

} // namespace vindle
