#include "ui/advanced/AdvancedWindow.h"

#include "ui/model/NumberText.h"

#include <array>

namespace vindle {

namespace {

constexpr const char* kBankHelp =
    "This slider defines the relay bank that will be affected by this device.  A value of 0 "
    "affects all relay banks.  A value of 1 is typical.  However, it is possible to begin "
    "association of this controller with relay banks further down the chain.  For instance, "
    "setting this value to 3 will set this device communicating with relay bank 3 (and possibly "
    "higher).  It will not be possible to send data to relay banks below 3.  If in doubt of how "
    "to set this slider, select a value of 1.";

constexpr const char* kSquelchHelp =
    "Analog to Digital Converters are capable of reading very small voltage changes.  When data "
    "is vindled via RS-232 or wireless communications, these fine A/D changes generate a LOT of "
    "unnecessary traffic.  Squelching the signal allows for minor changes to be detected without "
    "data transmissions.  A squelch value of 0 sends all data in its raw form to the remote "
    "device.  A value of 20 requires some significant changes before transmission.  A squelch "
    "value of 7 is ideal for most applications.  Without squelching, the vindle module may "
    "completely take over the RF transmission frequency, which may not allow other wireless "
    "devices to communicate reliably.";

// One setting: a frame holding a slider and the label that shows its value.
struct SettingRow
{
    const char* frame;
    const char* caption;
    const char* slider;
    int minimum;
    int maximum;
    int value;
    const char* label;
    const char* help;
};

// Top to bottom as the window shows them.
constexpr std::array kSettings{
    SettingRow{"Frame1", "Begin Association of this Controller with Selected RS-232 Relay Bank:",
               "RSBank", 1, 255, 1, "Label2", kBankHelp},
    SettingRow{"Frame2",
               "Begin Association of this Controller with Selected LR Series Wireless Remote "
               "Relay Bank:",
               "LRBank", 1, 255, 1, "Label1", kBankHelp},
    SettingRow{"Frame4",
               "Begin Association of this Controller with Selected ES Series Wireless Remote "
               "Relay Bank:",
               "ESBank", 1, 255, 1, "Label3", kBankHelp},
    SettingRow{"Frame5", "A/D Squelch", "ADSquelch", 0, 20, 6, "Label4", kSquelchHelp},
};

constexpr int kFrameHeight = 855;

} // namespace

AdvancedWindow::AdvancedWindow() : Window("Advanced", "Advanced Configuration Options")
{
    setClientArea({0, 0, 9000, 6600});
    command1_ = &add<Button>("Command1", kNoIndex, nullptr, "Hide");
    command1_->setLayout({7560, 120, 1215, 375});
    command1_->onClick([this] { hide(); });

    int top = 600;
    for (const SettingRow& row : kSettings) {
        auto& frame = add<Frame>(row.frame, kNoIndex, nullptr, row.caption);
        frame.setLayout({120, top, 8655, kFrameHeight});
        frame.setEnabled(false);
        top += kFrameHeight + 120;
        auto& slider =
            add<Slider>(row.slider, kNoIndex, &frame, row.minimum, row.maximum, row.value);
        slider.setLayout({120, 360, 6975, 255});
        auto& label = add<Label>(row.label, kNoIndex, &frame, plainNumberText(row.value));
        label.setLayout({7320, 360, 0, 0});

        // The label follows the slider while it is dragged and when it is set.
        const auto showValue = [&slider, &label] {
            label.setCaption(plainNumberText(slider.value()));
        };
        slider.onChange(showValue);
        slider.onScroll(showValue);
        const char* help = row.help;
        frame.onMouseOver([this, help] { help_->setCaption(help); });
    }

    helpFrame_ = &add<Frame>("Frame3", kNoIndex, nullptr, "Help:");
    helpFrame_->setLayout({120, top, 8655, 1935});
    help_ = &add<Label>("HELP", kNoIndex, helpFrame_,
                        "Move Your Mouse Over Different Options for a More Detailed Explanation");
    help_->setLayout({120, 240, 8415, 1575});

    rs232BankFrame_ = &get<Frame>("Frame1");
    lrBankFrame_ = &get<Frame>("Frame2");
    esBankFrame_ = &get<Frame>("Frame4");
    squelchFrame_ = &get<Frame>("Frame5");
    rsBank_ = &get<Slider>("RSBank");
    lrBank_ = &get<Slider>("LRBank");
    esBank_ = &get<Slider>("ESBank");
    adSquelch_ = &get<Slider>("ADSquelch");
    lrBankValue_ = &get<Label>("Label1");
    rs232BankValue_ = &get<Label>("Label2");
    esBankValue_ = &get<Label>("Label3");
    squelchValue_ = &get<Label>("Label4");
}

} // namespace vindle
