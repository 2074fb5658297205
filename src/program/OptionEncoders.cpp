#include "program/OptionEncoders.h"

#include "ui/main/MainWindow.h"

namespace vindle {

std::optional<int> selectedIndex(const OptionGroup& group)
{
    std::optional<int> result;
    for (const auto& option : group.options()) {
        if (option->isSelected())
            result = option->index();
    }
    return result;
}

int checkBoxByte(const CheckBox& box)
{
    return box.value() == CheckBox::kUnchecked ? 0 : 1;
}

int resolutionByte(const Button& button)
{
    return button.caption() == kEightBits ? 0 : 1;
}

std::optional<int> ComputeSenders(const MainWindow& main)
{
    return selectedIndex(main.Senders());
}

std::optional<int> ComputeMode(const MainWindow& main)
{
    return selectedIndex(main.Mode());
}

int ComputeADBITS(const MainWindow& main)
{
    return resolutionByte(main.ADBITS());
}

std::optional<int> ComputeFrequent(const MainWindow& main)
{
    return selectedIndex(main.Frequency());
}

std::optional<int> ComputeRS(const MainWindow& main)
{
    return selectedIndex(main.RSDevice());
}

// All ten options count, the two extra "115200" ones included: a module read
// with 8 or 9 there is stored back as it was, not as 1200.
std::optional<int> ComputeRSBaud(const MainWindow& main)
{
    return selectedIndex(main.Baud());
}

std::optional<int> ComputeLR(const MainWindow& main)
{
    return selectedIndex(main.LRDevice());
}

std::optional<int> ComputeLRBaud(const MainWindow& main)
{
    return selectedIndex(main.LRBaud());
}

int ComputeLRKeys(const MainWindow& main)
{
    return checkBoxByte(main.LRKeys());
}

std::optional<int> ComputeES(const MainWindow& main)
{
    return selectedIndex(main.ESDevice());
}

std::optional<int> ComputeESBaud(const MainWindow& main)
{
    return selectedIndex(main.ESBaud());
}

int ComputeESKeys(const MainWindow& main)
{
    return checkBoxByte(main.ESKeys());
}

} // namespace vindle
