#pragma once

#include "ui/model/Control.h"

namespace vindle {

// A progress bar with a floating-point value within minimum..maximum.
class ProgressBar : public Control
{
public:
    ProgressBar(std::string name, int index, Frame* parent, double minimum, double maximum);

    double minimum() const { return minimum_; }
    double maximum() const { return maximum_; }
    double value() const { return value_; }

    // A value outside the range is shown at the nearest end.
    void setValue(double value);
    // Sets both ends; the value is kept within the new range.
    void setRange(double minimum, double maximum);

private:
    double minimum_;
    double maximum_;
    double value_;
};

} // namespace vindle
