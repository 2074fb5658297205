#include "ui/model/Slider.h"

#include "ui/model/RejectedValue.h"

#include <algorithm>
#include <stdexcept>

namespace vindle {

Slider::Slider(std::string name, int index, Frame* parent, int minimum, int maximum, int value)
    : Control(ControlKind::Slider, std::move(name), index, parent, std::string()),
      minimum_(minimum), maximum_(maximum), value_(value)
{
    if (minimum > maximum || value < minimum || value > maximum)
        throw std::invalid_argument("slider " + this->name() + ": inconsistent range");
}

void Slider::setValue(int value)
{
    if (!accepts(value))
        throw RejectedValue(name(), index(), value);
    moveTo(value, change_);
}

void Slider::setMinimum(int minimum)
{
    if (minimum == minimum_)
        return;
    minimum_ = minimum;
    maximum_ = std::max(maximum_, minimum);
    notifyListeners();
    if (value_ < minimum_)
        moveTo(minimum_, change_);
}

void Slider::setMaximum(int maximum)
{
    if (maximum == maximum_)
        return;
    maximum_ = maximum;
    minimum_ = std::min(minimum_, maximum);
    notifyListeners();
    if (value_ > maximum_)
        moveTo(maximum_, change_);
}

void Slider::drag(int value)
{
    if (!isEffectivelyEnabled() || !isEffectivelyVisible())
        return;
    moveTo(std::clamp(value, minimum_, maximum_), scroll_);
}

void Slider::moveTo(int value, const Handler& notification)
{
    if (value == value_)
        return;
    value_ = value;
    notifyListeners();
    if (notification)
        notification();
}

} // namespace vindle
