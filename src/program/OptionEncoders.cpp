#include "program/OptionEncoders.h"

#include "ui/main/MainWindow.h"
#include "ui/model/Button.h"
#include "ui/model/CheckBox.h"
#include "ui/model/OptionGroup.h"

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

} // namespace vindle
