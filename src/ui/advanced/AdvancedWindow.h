#pragma once

#include "ui/model/Button.h"
#include "ui/model/Frame.h"
#include "ui/model/Label.h"
#include "ui/model/Slider.h"
#include "ui/model/Window.h"

namespace vindle {

// The advanced options window: the first relay bank of each output path and
// the A/D squelch, each a slider with its value beside it, and a line of
// context help. The four setting frames start disabled; the main window's
// option rules enable the ones that apply.
class AdvancedWindow : public Window
{
public:
    AdvancedWindow();

    Frame& Frame1() const { return *frame1_; } // RS-232 bank
    Frame& Frame2() const { return *frame2_; } // LR bank
    Frame& Frame4() const { return *frame4_; } // ES bank
    Frame& Frame5() const { return *frame5_; } // A/D squelch
    Frame& Frame3() const { return *frame3_; } // help

    Slider& RSBank() const { return *rsBank_; }
    Slider& LRBank() const { return *lrBank_; }
    Slider& ESBank() const { return *esBank_; }
    Slider& ADSquelch() const { return *adSquelch_; }

    Label& Label1() const { return *label1_; } // LRBank value
    Label& Label2() const { return *label2_; } // RSBank value
    Label& Label3() const { return *label3_; } // ESBank value
    Label& Label4() const { return *label4_; } // ADSquelch value
    Label& HELP() const { return *help_; }
    Button& Command1() const { return *command1_; }

private:
    Frame* frame1_ = nullptr;
    Frame* frame2_ = nullptr;
    Frame* frame4_ = nullptr;
    Frame* frame5_ = nullptr;
    Frame* frame3_ = nullptr;
    Slider* rsBank_ = nullptr;
    Slider* lrBank_ = nullptr;
    Slider* esBank_ = nullptr;
    Slider* adSquelch_ = nullptr;
    Label* label1_ = nullptr;
    Label* label2_ = nullptr;
    Label* label3_ = nullptr;
    Label* label4_ = nullptr;
    Label* help_ = nullptr;
    Button* command1_ = nullptr;
};

} // namespace vindle
