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

    Frame& Rs232BankFrame() const { return *rs232BankFrame_; } // RS-232 bank
    Frame& LrBankFrame() const { return *lrBankFrame_; }       // LR bank
    Frame& EsBankFrame() const { return *esBankFrame_; }       // ES bank
    Frame& SquelchFrame() const { return *squelchFrame_; }     // A/D squelch
    Frame& HelpFrame() const { return *helpFrame_; }           // help

    Slider& RSBank() const { return *rsBank_; }
    Slider& LRBank() const { return *lrBank_; }
    Slider& ESBank() const { return *esBank_; }
    Slider& ADSquelch() const { return *adSquelch_; }

    Label& LrBankValue() const { return *lrBankValue_; }       // LRBank value
    Label& Rs232BankValue() const { return *rs232BankValue_; } // RSBank value
    Label& EsBankValue() const { return *esBankValue_; }       // ESBank value
    Label& SquelchValue() const { return *squelchValue_; }     // ADSquelch value
    Label& HELP() const { return *help_; }
    Button& Command1() const { return *command1_; }

private:
    Frame* rs232BankFrame_ = nullptr;
    Frame* lrBankFrame_ = nullptr;
    Frame* esBankFrame_ = nullptr;
    Frame* squelchFrame_ = nullptr;
    Frame* helpFrame_ = nullptr;
    Slider* rsBank_ = nullptr;
    Slider* lrBank_ = nullptr;
    Slider* esBank_ = nullptr;
    Slider* adSquelch_ = nullptr;
    Label* lrBankValue_ = nullptr;
    Label* rs232BankValue_ = nullptr;
    Label* esBankValue_ = nullptr;
    Label* squelchValue_ = nullptr;
    Label* help_ = nullptr;
    Button* command1_ = nullptr;
};

} // namespace vindle
