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

struct FrameRow
{
    const char* name;
    const char* parent; // nullptr: on the window itself
    const char* caption;
    bool visible;
    std::optional<Rect> layout;
};

// Enclosing frames come before the frames they hold.
const std::vector<FrameRow> kFrames{
    {"Frame4", nullptr, "Identify the Capabilities of the Vindle Module you are Using", true,
     Rect{120, 0, 10455, 2535}},
    {"Frame6", "Frame4", "How Many Input Banks are Connected to this Vindle?", true,
     Rect{120, 240, 5655, 615}},
    {"Frame2", "Frame4", "Select a Debounce Time for Digital Inputs (Default is 25)", true,
     Rect{120, 960, 4335, 615}},
    {"Frame8", "Frame4", "Vindle Module is Expecting Switches that are:", true,
     Rect{120, 1680, 3855, 735}},
    {"Frame12", "Frame4", "Set the Device Number and Keys", true, Rect{4080, 1680, 6255, 735}},
    {"Frame1", nullptr, "Choose a Mode of Operation", true, Rect{120, 2640, 7215, 1695}},
    {"Frame9", nullptr, "How Frequently will Data be Sent?", true, Rect{7320, 2640, 3255, 1695}},
    {"Frame10", nullptr, "Communicate Data to an RS-232 Device", true, Rect{120, 4440, 3855, 5295}},
    {"Frame16", "Frame10", "Choose a RS-232 Baud Rate", true, Rect{120, 3840, 2775, 1335}},
    {"Frame14", nullptr, "Communicate Data to a Wirless LR Series Device", true,
     Rect{4080, 4440, 6495, 2655}},
    {"Frame5", "Frame14", "RF Bit Rate", true, Rect{120, 1320, 2895, 1215}},
    {"Frame11", "Frame14", "How Many Times are Data Sent?", true, Rect{3120, 1320, 3255, 615}},
    {"Frame15", nullptr, "Communicate Data to a Wirless ES Series Device", false,
     Rect{4080, 7200, 6495, 2535}},
    {"Frame7", "Frame15", "RF Bit Rate", true, Rect{120, 1080, 2895, 1335}},
    {"Frame17", "Frame15", "How Many Times are Data Sent?", true, Rect{3120, 1080, 3255, 615}},
    {"Frame3", nullptr, "Help:", true, Rect{120, 9720, 7575, 1815}},
    {"VersionFrame", nullptr, "Device Version Information:", false, Rect{240, 9720, 7335, 1695}},
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
    const char* frame;
    std::optional<int> selected; // at start
    std::vector<OptionRow> options;
};

// A column of options at `left`, `top` downwards, one every 240 twips.
Rect column(int left, int top, int row)
{
    return {left, top + 240 * row, 0, 0};
}

const std::vector<GroupRow> kGroups{
    {"Mode",
     "Frame1",
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
     "Frame4",
     0,
     {
         {0, "This Vindle is Equipped with an RS-232 Port", true, Rect{5880, 240, 4455, 255}},
         {1, "This Vindle is Equipped with an RS-232 Port and a LR Series Wireless Transmitter",
          true, Rect{5880, 600, 4455, 375}},
         {2, "This Vindle is Equipped with an RS-232 Port and a ES Series Wireless Transmitter",
          true, Rect{5880, 1080, 4455, 375}},
     }},
    {"NCNO",
     "Frame8",
     0,
     {
         {0, "Normally Open", true, Rect{240, 360, 0, 0}},
         {1, "Normally Closed", true, Rect{2040, 360, 0, 0}},
     }},
    {"Frequency",
     "Frame9",
     std::nullopt,
     {
         {0, "Periodically Transmit Data", true, column(120, 240, 0)},
         {1, "Constantly Transmit Data", true, column(120, 240, 1)},
         {2, "Send Data when Change is Detected", true, column(120, 240, 2)},
     }},
    {"RSDevice",
     "Frame10",
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
     "Frame16",
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
     "Frame14",
     0,
     {
         {0, "Do Not Communicate Any LR Series Wireless Data", true, column(120, 240, 0)},
         {1, "Communicate Data to a Brevane (BV418)", true, column(120, 240, 1)},
         {2, "Vindle Data to an LR Series Relay Controller", true, column(120, 240, 2)},
         {3, "Vindle Data to an LR Series PWM Controller", true, column(120, 240, 3)},
     }},
    {"LRBaud",
     "Frame5",
     0,
     {
         {0, "10KBPS", true, column(120, 240, 0)},
         {1, "7.5KBPS", true, column(120, 240, 1)},
         {2, "5KBPS", true, column(120, 240, 2)},
         {3, "2.5KBPS", true, column(120, 240, 3)},
     }},
    {"ESDevice",
     "Frame15",
     0,
     {
         {0, "Do Not Communicate Any ES Series Wireless Data", true, column(120, 240, 0)},
         {1, "Communicate Data to a Pellix (PX916)", true, column(120, 240, 1)},
         {2, "Communicate Data to a Zenthor Series Controller (via Wireless Communications)", true,
          column(120, 240, 2)},
     }},
    {"ESBaud",
     "Frame7",
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

struct CheckBoxRow
{
    const char* name;
    const char* frame;
    const char* caption;
    int value;
    Rect layout;
};

const std::vector<CheckBoxRow> kCheckBoxes{
    {"MotionInputs", nullptr, "Using Motion Detectors for Inputs", CheckBox::kUnchecked,
     Rect{4440, 3000, 2775, 255}},
    {"LRKeys", "Frame14", "Send Keys with Each Transmission", CheckBox::kChecked,
     Rect{3120, 2040, 3255, 255}},
    {"ESKeys", "Frame15", "Send Keys with Each Transmission", CheckBox::kChecked,
     Rect{3120, 1800, 3255, 255}},
};

struct SliderRow
{
    const char* name;
    const char* frame;
    int minimum;
    int maximum;
    int value;
    Rect layout;
    const char* valueLabel;
    Rect labelLayout;
};

const std::vector<SliderRow> kSliders{
    {"Debounce", "Frame2", 0, 255, 25, Rect{120, 240, 3255, 255}, "Label9", Rect{3480, 240, 0, 0}},
    {"DInputs", "Frame6", 0, 32, 0, Rect{120, 240, 3255, 255}, "Label2", Rect{3480, 240, 0, 0}},
    {"Interval", "Frame9", 1, 255, 1, Rect{120, 1320, 2175, 255}, "Label3", Rect{2400, 1320, 0, 0}},
    {"LRReps", "Frame11", 1, 255, 5, Rect{120, 240, 2415, 255}, "Label5", Rect{2640, 240, 0, 0}},
    {"ESReps", "Frame17", 1, 255, 5, Rect{120, 240, 2415, 255}, "Label8", Rect{2640, 240, 0, 0}},
};

struct LabelRow
{
    const char* name;
    const char* frame;
    std::string_view caption;
    Rect layout;
};

// Labels other than the slider value labels.
const std::vector<LabelRow> kLabels{
    {"Label1", "Frame6", kProcessorInputs, Rect{4200, 240, 0, 0}},
    {"Label4", "Frame9", "Data will Transmit Every Second", Rect{120, 1080, 0, 0}},
    {"Label6", "Frame12", "Q4T Device Number:", Rect{120, 240, 0, 0}},
    {"Label7", "Frame12", "Wireless Keys:", Rect{2640, 240, 0, 0}},
    {"HELP", "Frame3", "Move Your Mouse Over Different Options for a More Detailed Explanation",
     Rect{120, 240, 7335, 1455}},
};

struct ButtonRow
{
    const char* name;
    const char* frame;
    std::string_view caption;
    bool enabled;
    bool visible;
    Rect layout;
};

const std::vector<ButtonRow> kButtons{
    {"ReadSettings", nullptr, "Read Configuration", true, true, Rect{7800, 9840, 1335, 615}},
    {"StoreSettings", nullptr, "Store Configuration", true, true, Rect{9240, 9840, 1335, 615}},
    {"FactoryDefaults", nullptr, "Clear to Factory Defaults", true, true,
     Rect{7800, 10560, 1335, 495}},
    {"TestConfiguration", nullptr, "Test Configuration", true, true, Rect{9240, 10560, 1335, 495}},
    {"GetVersion", nullptr, "Read Firmware Version", true, true, Rect{7800, 11160, 2775, 375}},
    {"MoreOptions", "Frame4", "More Options", false, true, Rect{4560, 1080, 1215, 495}},
    {"ADBITS", "Frame1", kEightBits, true, false, Rect{5400, 1200, 735, 375}},
    {"ExitVersion", "VersionFrame", "OK", true, true, Rect{5880, 1200, 1215, 375}},
};

constexpr std::array<const char*, MainWindow::kVersionItems> kVersionCaptions{
    "Device ID #1:", "Device ID #2:", "Year of Release:", "Firmware Version:"};

} // namespace

MainWindow::MainWindow() : Window("Main", mainTitle())
{
    setClientArea({0, 0, 10725, 11685});
    // Closing the main window ends the program: Escape, pressed to leave a
    // field, must not.
    setClosesOnEscape(false);
    const auto frame = [this](const char* name) {
        return name == nullptr ? nullptr : &get<Frame>(name);
    };

    for (const FrameRow& row : kFrames) {
        auto& added = add<Frame>(row.name, kNoIndex, frame(row.parent), row.caption);
        added.setVisible(row.visible);
        if (row.layout)
            added.setLayout(*row.layout);
    }
    for (const GroupRow& row : kGroups) {
        std::vector<OptionGroup::Item> items;
        for (const OptionRow& option : row.options)
            items.emplace_back(option.index, option.caption, option.visible, option.layout);
        auto& group = add<OptionGroup>(row.name, frame(row.frame), items);
        if (row.selected)
            group.select(*row.selected);
    }
    for (const CheckBoxRow& row : kCheckBoxes) {
        add<CheckBox>(row.name, kNoIndex, frame(row.frame), row.caption, row.value)
            .setLayout(row.layout);
    }
    for (const SliderRow& row : kSliders) {
        add<Slider>(row.name, kNoIndex, frame(row.frame), row.minimum, row.maximum, row.value)
            .setLayout(row.layout);
        add<Label>(row.valueLabel, kNoIndex, frame(row.frame), std::to_string(row.value))
            .setLayout(row.labelLayout);
    }
    for (const LabelRow& row : kLabels)
        add<Label>(row.name, kNoIndex, frame(row.frame), std::string(row.caption))
            .setLayout(row.layout);

    Frame* const keysFrame = frame("Frame12");
    auto& q4t = add<TextBox>("Q4T", kNoIndex, keysFrame, "0");
    q4t.setLayout({1800, 240, 735, 285});
    q4t.setNamedBy(get<Label>("Label6"));
    for (int index = 0; index < kKeys; ++index) {
        atIndex(keys_, index) = &add<TextBox>("Keys", index, keysFrame, "0");
        atIndex(keys_, index)->setLayout({3840 + 720 * index, 240, 735, 285});
        atIndex(keys_, index)->setNamedBy(get<Label>("Label7"));
    }

    for (const ButtonRow& row : kButtons) {
        auto& button = add<Button>(row.name, kNoIndex, frame(row.frame), std::string(row.caption));
        button.setEnabled(row.enabled);
        button.setVisible(row.visible);
        button.setLayout(row.layout);
    }
    Frame* const versionFrame = frame("VersionFrame");
    for (int index = 0; index < kVersionItems; ++index) {
        atIndex(vdat_, index) =
            &add<Label>("VDAT", index, versionFrame, atIndex(kVersionCaptions, index));
        atIndex(vdat_, index)->setLayout({120, 240 + 300 * index, 0, 0});
        atIndex(vdat2_, index) = &add<Label>("VDAT2", index, versionFrame, "--");
        atIndex(vdat2_, index)->setLayout({1800, 240 + 300 * index, 0, 0});
    }

    mode_ = &get<OptionGroup>("Mode");
    senders_ = &get<OptionGroup>("Senders");
    ncno_ = &get<OptionGroup>("NCNO");
    frequency_ = &get<OptionGroup>("Frequency");
    rsdevice_ = &get<OptionGroup>("RSDevice");
    baud_ = &get<OptionGroup>("Baud");
    lrdevice_ = &get<OptionGroup>("LRDevice");
    lrbaud_ = &get<OptionGroup>("LRBaud");
    esdevice_ = &get<OptionGroup>("ESDevice");
    esbaud_ = &get<OptionGroup>("ESBaud");
    motionInputs_ = &get<CheckBox>("MotionInputs");
    lrkeys_ = &get<CheckBox>("LRKeys");
    eskeys_ = &get<CheckBox>("ESKeys");
    debounce_ = &get<Slider>("Debounce");
    dinputs_ = &get<Slider>("DInputs");
    interval_ = &get<Slider>("Interval");
    lrreps_ = &get<Slider>("LRReps");
    esreps_ = &get<Slider>("ESReps");
    label1_ = &get<Label>("Label1");
    label2_ = &get<Label>("Label2");
    label3_ = &get<Label>("Label3");
    label4_ = &get<Label>("Label4");
    label5_ = &get<Label>("Label5");
    label6_ = &get<Label>("Label6");
    label7_ = &get<Label>("Label7");
    label8_ = &get<Label>("Label8");
    label9_ = &get<Label>("Label9");
    help_ = &get<Label>("HELP");
    // The help frame, the identity panel over it and the buttons beside them.
    setFooterTop(get<Frame>("Frame3").layout()->top);
    q4t_ = &get<TextBox>("Q4T");
    readSettings_ = &get<Button>("ReadSettings");
    storeSettings_ = &get<Button>("StoreSettings");
    factoryDefaults_ = &get<Button>("FactoryDefaults");
    testConfiguration_ = &get<Button>("TestConfiguration");
    getVersion_ = &get<Button>("GetVersion");
    moreOptions_ = &get<Button>("MoreOptions");
    adbits_ = &get<Button>("ADBITS");
    exitVersion_ = &get<Button>("ExitVersion");
    frame1_ = &get<Frame>("Frame1");
    frame2_ = &get<Frame>("Frame2");
    frame3_ = &get<Frame>("Frame3");
    frame4_ = &get<Frame>("Frame4");
    frame5_ = &get<Frame>("Frame5");
    frame6_ = &get<Frame>("Frame6");
    frame7_ = &get<Frame>("Frame7");
    frame8_ = &get<Frame>("Frame8");
    frame9_ = &get<Frame>("Frame9");
    frame10_ = &get<Frame>("Frame10");
    frame11_ = &get<Frame>("Frame11");
    frame12_ = &get<Frame>("Frame12");
    frame14_ = &get<Frame>("Frame14");
    frame15_ = &get<Frame>("Frame15");
    frame16_ = &get<Frame>("Frame16");
    frame17_ = &get<Frame>("Frame17");
    versionFrame_ = &get<Frame>("VersionFrame");
    // The identity panel stands over the help frame; while it shows, the
    // help frame is out of sight so that only the panel can be read there.
    versionFrame_->addListener(
        [this](const Control& panel) { frame3_->setVisible(!panel.isVisible()); });
}

} // namespace vindle
