#include "ui/model/CheckBox.h"

#include "ui/model/RejectedValue.h"

namespace vindle {

CheckBox::CheckBox(std::string name, int index, Frame* parent, std::string caption, int value)
    : Control(ControlKind::CheckBox, std::move(name), index, parent, std::move(caption)),
      value_(value)
{}

void CheckBox::setValue(int value)
{
    if (value < kUnchecked || value > kGrayed)
        throw RejectedValue(name(), index(), value);
    if (value == value_)
        return;
    value_ = value;
    notifyListeners();
    if (click_)
        click_();
}

void CheckBox::toggle()
{
    if (!isEffectivelyEnabled() || !isEffectivelyVisible())
        return;
    setValue(value_ == kChecked ? kUnchecked : kChecked);
}

} // namespace vindle
