#include "ui/motion/MotionTimesWindow.h"

#include "base/AtIndex.h"
#include "ui/model/LeadingNumber.h"
#include "ui/model/NumberText.h"

#include <algorithm>
#include <vector>

namespace vindle {

namespace {

constexpr int kIndividually = 0;
constexpr int kAllAtOnce = 1;
constexpr int kSequence = 2;
constexpr int kRowTop = 1560;
constexpr int kRowHeight = 360;

// Pointer help of the protocol check box, which stays hidden as long as no
// protocol choice is offered.
constexpr const char* kSorvaneHelp =
    "When Communicating to an LR Series Wireless Controller, you can use Sorvane Motion "
    "Protocol.  SMP does NOT override your current relay settings.  If your relays are off and "
    "motion is detected, the relay will be activated like usual.  However, if you use a "
    "different device to activated a relay, the motion detectors will not cause any change to "
    "the relay.  This is very useful if you want to manually control a light, but you also want "
    "the same light to come on when motion is detected (otherwise, if your light is manually "
    "turned on, the motion detector has no effect on the light).";

std::string sequenceCaption()
{
    // The delay box lies in the run of blanks.
    return "Any Detected Motion will Activate All 8 Relays in a Sequence with a Delay of" +
           std::string(143, ' ') + "Seconds Between Each Activated Relay (Cool for Lighting)";
}

} // namespace

MotionTimesWindow::MotionTimesWindow()
    : Window("MotionTimes", "Motion Detector Response Configuration")
{
    setClientArea({0, 0, 9135, 6600});
    featuresFrame_ = &add<Frame>("Frame1", kNoIndex, nullptr, "Special Activation Features");
    featuresFrame_->setLayout({120, 120, 8895, 1335});
    sMotion_ = &add<CheckBox>("SMotion", kNoIndex, featuresFrame_, "Use Sorvane Motion Protocol",
                              CheckBox::kUnchecked);
    sMotion_->setVisible(false);
    method_ = &add<OptionGroup>(
        "Method", featuresFrame_,
        std::vector<OptionGroup::Item>{
            {kIndividually, "Relays are Individually Activated by Associated Motion Detectors Only",
             true, Rect{240, 300, 8415, 255}},
            {kAllAtOnce, "All Relays are Instantly Activated by Any Detected Motion", true,
             Rect{240, 600, 8415, 255}},
            {kSequence, sequenceCaption(), false, Rect{240, 900, 8415, 255}},
        });
    method_->select(kIndividually);

    for (int input = 0; input < kInputs; ++input) {
        const int top = kRowTop + kRowHeight * input;
        atIndex(rowCaptions_, input) = &add<Label>("Label1", input, nullptr, rowCaption(0, input));
        atIndex(rowCaptions_, input)->setLayout({120, top, 5535, 285});
        atIndex(minutes_, input) = &add<TextBox>("MotionMin", input, nullptr, "1");
        atIndex(minutes_, input)->setLayout({5760, top, 615, 285});
        atIndex(minutes_, input)->setNamedBy(*atIndex(rowCaptions_, input));
        atIndex(rowEnds_, input) = &add<Label>("Label2", input, nullptr, "Minutes.");
        atIndex(rowEnds_, input)->setLayout({6480, top, 0, 0});
    }
    atIndex(minutes_, kDelayBox) = &add<TextBox>("MotionMin", kDelayBox, featuresFrame_, "1");
    atIndex(minutes_, kDelayBox)->setLayout({5280, 900, 495, 285});
    // The delay box belongs to the sequence method, which is not offered: it
    // stays hidden with its option.
    atIndex(minutes_, kDelayBox)->setVisible(false);

    help_ = &add<Label>(
        "HELP", kNoIndex, nullptr,
        "The Motion Detection Capabilities of the Vindle Module allow you to activate lights, "
        "doors, alarms, and other devices when motion is detected.  Each time the motion detector "
        "senses motion, the associated count-down timer is reset to the number of minutes shown "
        "above.  When the motion detector has stopped sensing motion, the associated relay will "
        "turn off.");
    help_->setLayout({120, kRowTop + kRowHeight * kInputs + 120, 8895, 1095});

    sMotion_->onMouseOver([this] { help_->setCaption(kSorvaneHelp); });
    method_->onClick([this](int index) { Method_Click(index); });
    for (int index = 0; index <= kDelayBox; ++index)
        atIndex(minutes_, index)->onChange([this, index] { MotionMin_Change(index); });
}

std::string MotionTimesWindow::rowCaption(int method, int input)
{
    const std::string number = numberText(input + 1);
    if (method == kAllAtOnce)
        return "    If Motion is Detected on Input" + number + ", Activate All Relays for";
    return "        If Motion is Detected on Input" + number + ", Activate Relay" + number + " for";
}

void MotionTimesWindow::Method_Click(int index)
{
    if (index != kIndividually && index != kAllAtOnce)
        return;
    for (int input = 0; input < kInputs; ++input)
        atIndex(rowCaptions_, input)->setCaption(rowCaption(index, input));
}

std::string MotionTimesWindow::normalMinutes(const std::string& text)
{
    double minutes = leadingNumber(text);
    // A value that is not a number (never produced by leadingNumber) reads as the fewest.
    if (!(minutes >= kFewestMinutes))
        minutes = kFewestMinutes;
    minutes = std::min(minutes, kMostMinutes);
    return plainNumberText(minutes);
}

void MotionTimesWindow::MotionMin_Change(int index)
{
    TextBox& box = *atIndex(minutes_, index);
    // Writing the normal text raises this handler once more; it then finds
    // the text normal and writes nothing.
    box.setText(normalMinutes(box.text()));
}

} // namespace vindle
