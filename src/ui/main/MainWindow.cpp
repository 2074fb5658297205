#include "ui/main/MainWindow.h"

#include "base/AtIndex.h"

#include <optional>
#include <string>
#include <vector>

namespace vindle {

namespace {

// Title: the product name, five blanks, the firmware tag, 29 blanks and the
// maker's web address.
std::string mainTitle()
{
    return "Varnel: Vindle Scanner Setup Utility     FW001" + std::string(29, ' ') +
           std::string(kMakerWebAddress);
}

using FrameMember = Frame* MainWindow::*;

struct FrameRow
{
    const char* name;
    FrameMember member;
    FrameMember parent; // nullptr: on the window itself
    const char* caption;
    bool visible;
    std::optional<Rect> layout;
};

struct OptionRow
{
    int index;
    const char* caption;
    bool visible;
    std::optional<Rect> layout;
};

struct GroupRow
{
    const char* name;
    OptionGroup* MainWindow::*member;
    FrameMember frame;
    std::optional<int> selected; // at start
    std::vector<OptionRow> options;
};

// A column of options at `left`, `top` downwards, one every 240 twips.
Rect column(int left, int top, int row)
{
    return {left, top + 240 * row, 0, 0};
}

struct CheckBoxRow
{
    const char* name;
    CheckBox* MainWindow::*member;
    FrameMember frame;
    const char* caption;
    int value;
    Rect layout;
};

struct SliderRow
{
    const char* name;
    Slider* MainWindow::*member;
    FrameMember frame;
    int minimum;
    int maximum;
    int value;
    Rect layout;
    const char* valueLabel;
    Label* MainWindow::*valueLabelMember;
    Rect labelLayout;
};

struct LabelRow
{
    const char* name;
    Label* MainWindow::*member;
    FrameMember frame;
    std::string_view caption;
    Rect layout;
};

struct ButtonRow
{
    const char* name;
    Button* MainWindow::*member;
    FrameMember frame;
    std::string_view caption;
    bool enabled;
    bool visible;
    Rect layout;
};

} // namespace

// The main window's controls, a row each: the row names its control once,
// with the member that holds it (which only a friend may name).
struct MainWindowTables
{
    // Enclosing frames come before the frames they hold.
    static inline const std::vector<FrameRow> kFrames{
        {"Frame4", &MainWindow::capabilitiesFrame_, nullptr,
         "Identify the Capabilities of the Vindle Module you are Using", true,
         Rect{120, 0, 10455, 2535}},
        {"Frame6", &MainWindow::inputBanksFrame_, &MainWindow::capabilitiesFrame_,
         "How Many Input Banks are Connected to this Vindle?", true, Rect{120, 240, 5655, 615}},
        {"Frame2", &MainWindow::debounceFrame_, &MainWindow::capabilitiesFrame_,
         "Select a Debounce Time for Digital Inputs (Default is 25)", true,
         Rect{120, 960, 4335, 615}},
        {"Frame8", &MainWindow::switchTypeFrame_, &MainWindow::capabilitiesFrame_,
         "Vindle Module is Expecting Switches that are:", true, Rect{120, 1680, 3855, 735}},
        {"Frame12", &MainWindow::numberAndKeysFrame_, &MainWindow::capabilitiesFrame_,
         "Set the Device Number and Keys", true, Rect{4080, 1680, 6255, 735}},
        {"Frame1", &MainWindow::modeFrame_, nullptr, "Choose a Mode of Operation", true,
         Rect{120, 2640, 7215, 1695}},
        {"Frame9", &MainWindow::frequencyFrame_, nullptr, "How Frequently will Data be Sent?", true,
         Rect{7320, 2640, 3255, 1695}},
        {"Frame10", &MainWindow::rs232Frame_, nullptr, "Communicate Data to an RS-232 Device", true,
         Rect{120, 4440, 3855, 5295}},
        {"Frame16", &MainWindow::rs232BaudFrame_, &MainWindow::rs232Frame_,
         "Choose a RS-232 Baud Rate", true, Rect{120, 3840, 2775, 1335}},
        {"Frame14", &MainWindow::lrFrame_, nullptr,
         "Communicate Data to a Wirless LR Series Device", true, Rect{4080, 4440, 6495, 2655}},
        {"Frame5", &MainWindow::lrBitRateFrame_, &MainWindow::lrFrame_, "RF Bit Rate", true,
         Rect{120, 1320, 2895, 1215}},
        {"Frame11", &MainWindow::lrRepeatsFrame_, &MainWindow::lrFrame_,
         "How Many Times are Data Sent?", true, Rect{3120, 1320, 3255, 615}},
        {"Frame15", &MainWindow::esFrame_, nullptr,
         "Communicate Data to a Wirless ES Series Device", false, Rect{4080, 7200, 6495, 2535}},
        {"Frame7", &MainWindow::esBitRateFrame_, &MainWindow::esFrame_, "RF Bit Rate", true,
         Rect{120, 1080, 2895, 1335}},
        {"Frame17", &MainWindow::esRepeatsFrame_, &MainWindow::esFrame_,
         "How Many Times are Data Sent?", true, Rect{3120, 1080, 3255, 615}},
        {"Frame3", &MainWindow::helpFrame_, nullptr, "Help:", true, Rect{120, 9720, 7575, 1815}},
        {"VersionFrame", &MainWindow::versionFrame_, nullptr, "Device Version Information:", false,
         Rect{240, 9720, 7335, 1695}},
    };

    static inline const std::vector<GroupRow> kGroups{
        {"Mode",
         &MainWindow::mode_,
         &MainWindow::modeFrame_,
         0,
         {
             {0, "MODE 0: This Device Functions as a Vindle Module", true, column(240, 360, 0)},
             {1, "MODE 1: A/D Limiter Mode Activates Relays if Analog Limits are Violated", true,
              column(240, 360, 1)},
             {2, "MODE 2: This Device Functions as a Parallel to Serial Encoder", true,
              column(240, 360, 2)},
             {3, "MODE 3: This Device Functions as a Serial to Parallel Converter", true,
              column(240, 360, 3)},
             {4, "MODE 4: This Device Sends A/D Data Back to a PC", false, column(240, 360, 4)},
         }},
        {"Senders",
         &MainWindow::senders_,
         &MainWindow::capabilitiesFrame_,
         0,
         {
             {0, "This Vindle is Equipped with an RS-232 Port", true, Rect{5880, 240, 4455, 255}},
             {1, "This Vindle is Equipped with an RS-232 Port and a LR Series Wireless Transmitter",
              true, Rect{5880, 600, 4455, 375}},
             {2, "This Vindle is Equipped with an RS-232 Port and a ES Series Wireless Transmitter",
              true, Rect{5880, 1080, 4455, 375}},
         }},
        {"NCNO",
         &MainWindow::ncno_,
         &MainWindow::switchTypeFrame_,
         0,
         {
             {0, "Normally Open", true, Rect{240, 360, 0, 0}},
             {1, "Normally Closed", true, Rect{2040, 360, 0, 0}},
         }},
        {"Frequency",
         &MainWindow::frequency_,
         &MainWindow::frequencyFrame_,
         std::nullopt,
         {
             {0, "Periodically Transmit Data", true, column(120, 240, 0)},
             {1, "Constantly Transmit Data", true, column(120, 240, 1)},
             {2, "Send Data when Change is Detected", true, column(120, 240, 2)},
         }},
        {"RSDevice",
         &MainWindow::rsdevice_,
         &MainWindow::rs232Frame_,
         0,
         {
             {0, "Do Not Communicate Any RS-232 Data", true, column(120, 240, 0)},
             {1, "Communicate RS-232 Data with a Computer", true, column(120, 240, 1)},
             {2, "Borin Series Relay Controller", true, column(120, 240, 2)},
             {3, "Cadrix Series Relay Controller", true, column(120, 240, 3)},
             {4, "Daskon Series Relay Controller", true, column(120, 240, 4)},
             {5, "Elvar Series Relay Controller", true, column(120, 240, 5)},
             {6, "Fintor Series Relay Controller", true, column(120, 240, 6)},
             {7, "Hybrid Gesko Series Relay Controller", true, column(120, 240, 7)},
             {8, "Hybrid Elvar Series Relay Controller", true, column(120, 240, 8)},
             {9, "Zenthor Series Relay Controller (Via RS-232 Only)", true, column(120, 240, 9)},
             {10, "Quadrel Series Relay Controllers", true, column(120, 240, 10)},
             {11, "", false, column(120, 240, 11)},
             {12, "PWM Series Controller", true, column(120, 240, 12)},
         }},
        {"Baud",
         &MainWindow::baud_,
         &MainWindow::rs232BaudFrame_,
         3,
         {
             {0, "1200", true, column(240, 240, 0)},
             {1, "2400", true, column(240, 240, 1)},
             {2, "4800", true, column(240, 240, 2)},
             {3, "9600", true, column(240, 240, 3)},
             {4, "19200", true, column(1560, 240, 0)},
             {5, "38400", true, column(1560, 240, 1)},
             {6, "57600", true, column(1560, 240, 2)},
             {7, "115200", true, column(1560, 240, 3)},
             {8, "115200", false, std::nullopt},
             {9, "115200", false, std::nullopt},
         }},
        {"LRDevice",
         &MainWindow::lrdevice_,
         &MainWindow::lrFrame_,
         0,
         {
             {0, "Do Not Communicate Any LR Series Wireless Data", true, column(120, 240, 0)},
             {1, "Communicate Data to a Brevane (BV418)", true, column(120, 240, 1)},
             {2, "Vindle Data to an LR Series Relay Controller", true, column(120, 240, 2)},
             {3, "Vindle Data to an LR Series PWM Controller", true, column(120, 240, 3)},
         }},
        {"LRBaud",
         &MainWindow::lrbaud_,
         &MainWindow::lrBitRateFrame_,
         0,
         {
             {0, "10KBPS", true, column(120, 240, 0)},
             {1, "7.5KBPS", true, column(120, 240, 1)},
             {2, "5KBPS", true, column(120, 240, 2)},
             {3, "2.5KBPS", true, column(120, 240, 3)},
         }},
        {"ESDevice",
         &MainWindow::esdevice_,
         &MainWindow::esFrame_,
         0,
         {
             {0, "Do Not Communicate Any ES Series Wireless Data", true, column(120, 240, 0)},
             {1, "Communicate Data to a Pellix (PX916)", true, column(120, 240, 1)},
             {2, "Communicate Data to a Zenthor Series Controller (via Wireless Communications)",
              true, column(120, 240, 2)},
         }},
        {"ESBaud",
         &MainWindow::esbaud_,
         &MainWindow::esBitRateFrame_,
         0,
         {
             {0, "40KBPS", true, column(120, 240, 0)},
             {1, "38.4KBPS", true, column(120, 240, 1)},
             {2, "33.6KBPS", true, column(120, 240, 2)},
             {3, "24KBPS", true, column(120, 240, 3)},
             {4, "14.4KBPS", true, column(1440, 240, 0)},
             {5, "7.5KBPS", true, column(1440, 240, 1)},
             {6, "5KBPS", true, column(1440, 240, 2)},
         }},
    };

    static inline const std::vector<CheckBoxRow> kCheckBoxes{
        {"MotionInputs", &MainWindow::motionInputs_, nullptr, "Using Motion Detectors for Inputs",
         CheckBox::kUnchecked, Rect{4440, 3000, 2775, 255}},
        {"LRKeys", &MainWindow::lrkeys_, &MainWindow::lrFrame_, "Send Keys with Each Transmission",
         CheckBox::kChecked, Rect{3120, 2040, 3255, 255}},
        {"ESKeys", &MainWindow::eskeys_, &MainWindow::esFrame_, "Send Keys with Each Transmission",
         CheckBox::kChecked, Rect{3120, 1800, 3255, 255}},
    };

    static inline const std::vector<SliderRow> kSliders{
        {"Debounce", &MainWindow::debounce_, &MainWindow::debounceFrame_, 0, 255, 25,
         Rect{120, 240, 3255, 255}, "Label9", &MainWindow::debounceValue_, Rect{3480, 240, 0, 0}},
        {"DInputs", &MainWindow::dinputs_, &MainWindow::inputBanksFrame_, 0, 32, 0,
         Rect{120, 240, 3255, 255}, "Label2", &MainWindow::inputBanksValue_, Rect{3480, 240, 0, 0}},
        {"Interval", &MainWindow::interval_, &MainWindow::frequencyFrame_, 1, 255, 1,
         Rect{120, 1320, 2175, 255}, "Label3", &MainWindow::intervalValue_, Rect{2400, 1320, 0, 0}},
        {"LRReps", &MainWindow::lrreps_, &MainWindow::lrRepeatsFrame_, 1, 255, 5,
         Rect{120, 240, 2415, 255}, "Label5", &MainWindow::lrRepeatsValue_, Rect{2640, 240, 0, 0}},
        {"ESReps", &MainWindow::esreps_, &MainWindow::esRepeatsFrame_, 1, 255, 5,
         Rect{120, 240, 2415, 255}, "Label8", &MainWindow::esRepeatsValue_, Rect{2640, 240, 0, 0}},
    };

    // Labels other than the slider value labels.
    static inline const std::vector<LabelRow> kLabels{
        {"Label1", &MainWindow::inputSource_, &MainWindow::inputBanksFrame_, kProcessorInputs,
         Rect{4200, 240, 0, 0}},
        {"Label4", &MainWindow::intervalSentence_, &MainWindow::frequencyFrame_,
         "Data will Transmit Every Second", Rect{120, 1080, 0, 0}},
        {"Label6", &MainWindow::numberCaption_, &MainWindow::numberAndKeysFrame_,
         "Q4T Device Number:", Rect{120, 240, 0, 0}},
        {"Label7", &MainWindow::keysCaption_, &MainWindow::numberAndKeysFrame_,
         "Wireless Keys:", Rect{2640, 240, 0, 0}},
        {"HELP", &MainWindow::help_, &MainWindow::helpFrame_,
         "Move Your Mouse Over Different Options for a More Detailed Explanation",
         Rect{120, 240, 7335, 1455}},
    };

    static inline const std::vector<ButtonRow> kButtons{
        {"ReadSettings", &MainWindow::readSettings_, nullptr, "Read Configuration", true, true,
         Rect{7800, 9840, 1335, 615}},
        {"StoreSettings", &MainWindow::storeSettings_, nullptr, "Store Configuration", true, true,
         Rect{9240, 9840, 1335, 615}},
        {"FactoryDefaults", &MainWindow::factoryDefaults_, nullptr, "Clear to Factory Defaults",
         true, true, Rect{7800, 10560, 1335, 495}},
        {"TestConfiguration", &MainWindow::testConfiguration_, nullptr, "Test Configuration", true,
         true, Rect{9240, 10560, 1335, 495}},
        {"GetVersion", &MainWindow::getVersion_, nullptr, "Read Firmware Version", true, true,
         Rect{7800, 11160, 2775, 375}},
        {"MoreOptions", &MainWindow::moreOptions_, &MainWindow::capabilitiesFrame_, "More Options",
         false, true, Rect{4560, 1080, 1215, 495}},
        {"ADBITS", &MainWindow::adbits_, &MainWindow::modeFrame_, kEightBits, true, false,
         Rect{5400, 1200, 735, 375}},
        {"ExitVersion", &MainWindow::exitVersion_, &MainWindow::versionFrame_, "OK", true, true,
         Rect{5880, 1200, 1215, 375}},
    };
};

namespace {

constexpr std::array<const char*, MainWindow::kVersionItems> kVersionCaptions{
    "Device ID #1:", "Device ID #2:", "Year of Release:", "Firmware Version:"};

} // namespace

MainWindow::MainWindow() : Window("Main", mainTitle())
{
    setClientArea({0, 0, 10725, 11685});
    // Closing the main window ends the program: Escape, pressed to leave a
    // field, must not.
    setClosesOnEscape(false);
    const auto frame = [this](FrameMember member) {
        return member == nullptr ? nullptr : this->*member;
    };

    for (const FrameRow& row : MainWindowTables::kFrames) {
        auto& added = add<Frame>(row.name, kNoIndex, frame(row.parent), row.caption);
        added.setVisible(row.visible);
        if (row.layout)
            added.setLayout(*row.layout);
        this->*row.member = &added;
    }
    for (const GroupRow& row : MainWindowTables::kGroups) {
        std::vector<OptionGroup::Item> items;
        for (const OptionRow& option : row.options)
            items.emplace_back(option.index, option.caption, option.visible, option.layout);
        auto& group = add<OptionGroup>(row.name, frame(row.frame), items);
        if (row.selected)
            group.select(*row.selected);
        this->*row.member = &group;
    }
    for (const CheckBoxRow& row : MainWindowTables::kCheckBoxes) {
        this->*row.member =
            &add<CheckBox>(row.name, kNoIndex, frame(row.frame), row.caption, row.value);
        (this->*row.member)->setLayout(row.layout);
    }
    for (const SliderRow& row : MainWindowTables::kSliders) {
        this->*row.member =
            &add<Slider>(row.name, kNoIndex, frame(row.frame), row.minimum, row.maximum, row.value);
        (this->*row.member)->setLayout(row.layout);
        this->*row.valueLabelMember =
            &add<Label>(row.valueLabel, kNoIndex, frame(row.frame), std::to_string(row.value));
        (this->*row.valueLabelMember)->setLayout(row.labelLayout);
    }
    for (const LabelRow& row : MainWindowTables::kLabels) {
        this->*row.member =
            &add<Label>(row.name, kNoIndex, frame(row.frame), std::string(row.caption));
        (this->*row.member)->setLayout(row.layout);
    }

    q4t_ = &add<TextBox>("Q4T", kNoIndex, numberAndKeysFrame_, "0");
    q4t_->setLayout({1800, 240, 735, 285});
    q4t_->setNamedBy(*numberCaption_);
    for (int index = 0; index < kKeys; ++index) {
        atIndex(keys_, index) = &add<TextBox>("Keys", index, numberAndKeysFrame_, "0");
        atIndex(keys_, index)->setLayout({3840 + 720 * index, 240, 735, 285});
        atIndex(keys_, index)->setNamedBy(*keysCaption_);
    }

    for (const ButtonRow& row : MainWindowTables::kButtons) {
        auto& button = add<Button>(row.name, kNoIndex, frame(row.frame), std::string(row.caption));
        button.setEnabled(row.enabled);
        button.setVisible(row.visible);
        button.setLayout(row.layout);
        this->*row.member = &button;
    }
    for (int index = 0; index < kVersionItems; ++index) {
        atIndex(vdat_, index) =
            &add<Label>("VDAT", index, versionFrame_, atIndex(kVersionCaptions, index));
        atIndex(vdat_, index)->setLayout({120, 240 + 300 * index, 0, 0});
        atIndex(vdat2_, index) = &add<Label>("VDAT2", index, versionFrame_, "--");
        atIndex(vdat2_, index)->setLayout({1800, 240 + 300 * index, 0, 0});
    }

    // The help frame, the identity panel over it and the buttons beside them.
    setFooterTop(helpFrame_->layout()->top);
    // The identity panel stands over the help frame; while it shows, the
    // help frame is out of sight so that only the panel can be read there.
    versionFrame_->addListener(
        [this](const Control& panel) { helpFrame_->setVisible(!panel.isVisible()); });
}

} // namespace vindle
