#pragma once

#include "ui/model/CheckBox.h"
#include "ui/model/Frame.h"
#include "ui/model/Label.h"
#include "ui/model/LineDisplay.h"
#include "ui/model/OptionGroup.h"
#include "ui/model/Window.h"

#include <array>
#include <functional>
#include <string>

namespace vindle {

// The data monitor `RS232Packets`: a receive-only window that shows every
// byte the module sends, one line per byte (or per byte pair without header
// framing), newest on top. It never sends anything; MonitorReceiver fills it.
class MonitorWindow final : public Window
{
public:
    MonitorWindow();

    Frame& BitRateFrame() const { return *bitRateFrame_; }
    Frame& KeysFrame() const { return *keysFrame_; }
    Frame& HeaderFrame() const { return *headerFrame_; }
    OptionGroup& Baud() const { return *baud_; }
    CheckBox& HeaderCheck() const { return *headerCheck_; }
    CheckBox& KeysCheck() const { return *keysCheck_; }
    LineDisplay& Text1() const { return *text1_; }
    Label& Introduction() const { return *introduction_; }
    Label& LinesCaption() const { return *linesCaption_; }
    Label& HELP() const { return *help_; }

    // Opening: shows the window in front, then runs `opened` (the owner hides
    // its main window there).
    void Form_Load(const std::function<void()>& opened = {});

    // Called with the bit rate a Baud option stands for when it is chosen.
    void onBitRateChange(std::function<void(int)> handler) { bitRateChange_ = std::move(handler); }

    // Handlers, also raised by program changes of the controls.
    void Baud_Click(int index);
    void HeaderCheck_Click();

    // Puts a line on top of the display.
    void AddText(std::string line);

private:
    std::function<void(int)> bitRateChange_;
    Frame* bitRateFrame_ = nullptr;
    Frame* keysFrame_ = nullptr;
    Frame* headerFrame_ = nullptr;
    OptionGroup* baud_ = nullptr;
    CheckBox* headerCheck_ = nullptr;
    CheckBox* keysCheck_ = nullptr;
    LineDisplay* text1_ = nullptr;
    Label* introduction_ = nullptr;
    Label* linesCaption_ = nullptr;
    Label* help_ = nullptr;
};

} // namespace vindle
