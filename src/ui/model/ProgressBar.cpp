#include "ui/model/ProgressBar.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace vindle {

ProgressBar::ProgressBar(std::string name, int index, Frame* parent, double minimum, double maximum)
    : Control(ControlKind::ProgressBar, std::move(name), index, parent, std::string()),
      minimum_(minimum), maximum_(maximum), value_(minimum)
{
    if (!(minimum < maximum))
        throw std::invalid_argument("progress bar " + this->name() + ": empty range");
}

void ProgressBar::setValue(double value)
{
    const double kept = std::isnan(value) ? minimum_ : std::clamp(value, minimum_, maximum_);
    if (kept == value_)
        return;
    value_ = kept;
    notifyListeners();
}

void ProgressBar::setRange(double minimum, double maximum)
{
    if (!(minimum < maximum))
        throw std::invalid_argument("progress bar " + name() + ": empty range");
    minimum_ = minimum;
    maximum_ = maximum;
    value_ = std::clamp(value_, minimum_, maximum_);
    notifyListeners();
}

} // namespace vindle
