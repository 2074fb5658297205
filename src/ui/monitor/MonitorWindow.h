#pragma once

#include "ui/model/Button.h"
#include "ui/model/CheckBox.h"
#include "ui/model/Frame.h"
#include "ui/model/Label.h"
#include "ui/model/LineDisplay.h"
#include "ui/model/OptionGroup.h"
#include "ui/model/TextBox.h"
#include "ui/model/Window.h"
#include "ui/monitor/MonitorText.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>

namespace vindle {

// The data monitor `RS232Packets`: a receive-only window that shows every
// byte the module sends, one line per byte (or per byte pair without header
// framing), newest on top. It never sends anything; MonitorReceiver fills it.
//
// Below the lines: Pause (what comes meanwhile is held, counted and shown on
// Resume, within the display's bound), Find (bytes among the lines shown),
// Save Lines… and Capture to File…, whose files the program's shell
// provides. The lines are kept as MonitorLines, so that showing them with
// their times or in hex writes every line again.
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
    Frame& ShowFrame() const { return *showFrame_; }
    CheckBox& TimeCheck() const { return *timeCheck_; }
    CheckBox& HexCheck() const { return *hexCheck_; }
    Button& PauseButton() const { return *pauseButton_; }
    Label& FindCaption() const { return *findCaption_; }
    TextBox& FindText() const { return *findText_; }
    Button& FindPrevious() const { return *findPrevious_; }
    Button& FindNext() const { return *findNext_; }
    Button& SaveLines() const { return *saveLines_; }
    Button& CaptureButton() const { return *captureButton_; }
    Label& PauseStatus() const { return *pauseStatus_; }
    Label& FindStatus() const { return *findStatus_; }
    Label& CaptureStatus() const { return *captureStatus_; }

    static constexpr const char* kPause = "Pause";
    static constexpr const char* kResume = "Resume";
    static constexpr const char* kCaptureToFile = "Capture to File…";
    static constexpr const char* kStopCapture = "Stop Capture";

    // Opening: shows the window in front, then runs `opened` (the owner hides
    // its main window there).
    void Form_Load(const std::function<void()>& opened = {});

    // Called with the bit rate a Baud option stands for when it is chosen.
    void onBitRateChange(std::function<void(int)> handler) { bitRateChange_ = std::move(handler); }

    // Handlers, also raised by program changes of the controls.
    void Baud_Click(int index);
    void HeaderCheck_Click();

    void PauseButton_Click();
    void FindNext_Click();
    void FindPrevious_Click();
    // TimeCheck and HexCheck: every line is written again.
    void ShowCheck_Click();

    // A line received: on top of the display, or held while paused. The
    // display shows it at the next FlushLines().
    void AddLine(const MonitorLine& line);
    // Lines added or held since the last flush reach the display's renderers.
    void FlushLines();
    // Lines added but not shown yet (held lines are shown on Resume).
    std::size_t unflushed() const;
    bool isPaused() const { return paused_; }

    // How lines are shown now: with the time on the clock where the program
    // runs, `utcOffset` ahead of UTC.
    LineFormat format() const;
    void setUtcOffset(std::chrono::minutes utcOffset);

    // Every line kept, held ones too, oldest first, each with its time in
    // UTC and its bytes as shown: Save Lines…' text.
    std::string linesToSave() const;
    std::size_t linesKept() const { return shown_.size() + held_.size(); }
    // Save Lines… put `lines` lines into the file `name`.
    void linesSaved(std::size_t lines, const std::string& name);

    // A capture began into the file `name`, or ended with `bytes` kept in
    // it; `failure` says why it ended by itself.
    void captureBegan(const std::string& name);
    void captureEnded(const std::string& name, std::uint64_t bytes,
                      const std::optional<std::string>& failure = std::nullopt);
    bool isCapturing() const { return capturing_; }

private:
    void find(bool down);
    void showFound(const std::string& text);
    void showPausedCount();

    Frame* showFrame_ = nullptr;
    CheckBox* timeCheck_ = nullptr;
    CheckBox* hexCheck_ = nullptr;
    Button* pauseButton_ = nullptr;
    Label* findCaption_ = nullptr;
    TextBox* findText_ = nullptr;
    Button* findPrevious_ = nullptr;
    Button* findNext_ = nullptr;
    Button* saveLines_ = nullptr;
    Button* captureButton_ = nullptr;
    Label* pauseStatus_ = nullptr;
    Label* findStatus_ = nullptr;
    Label* captureStatus_ = nullptr;
    // The lines shown, newest first, as the display holds them.
    std::deque<MonitorLine> shown_;
    // While paused: the newest lines that came, oldest first, and how many
    // came in all.
    std::deque<MonitorLine> held_;
    std::uint64_t heldCount_ = 0;
    std::uint64_t heldShown_ = 0;
    bool paused_ = false;
    bool capturing_ = false;
    std::chrono::minutes utcOffset_{0};

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
