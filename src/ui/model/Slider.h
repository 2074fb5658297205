#pragma once

#include "ui/model/Control.h"

namespace vindle {

// A horizontal scroll bar holding an integer value within minimum..maximum;
// small and large steps are both 1.
//
// Change is raised whenever the value changes, by program or by the user;
// scroll is raised while the user drags the thumb. Writing the value that is
// already there raises nothing.
class Slider : public Control
{
public:
    using Handler = std::function<void()>;

    Slider(std::string name, int index, Frame* parent, int minimum, int maximum, int value);

    int value() const { return value_; }
    int minimum() const { return minimum_; }
    int maximum() const { return maximum_; }
    static constexpr int smallStep() { return 1; }
    static constexpr int largeStep() { return 1; }

    // Whether setValue() would take the value.
    bool accepts(int value) const { return value >= minimum_ && value <= maximum_; }
    // Program write. A value outside minimum..maximum throws RejectedValue and
    // changes nothing; that is how a caller learns the window cannot show it.
    void setValue(int value);
    // Narrowing the range moves a value that falls outside it to the nearest
    // end, raising change as a real scroll bar does. The range never inverts:
    // a maximum below the minimum takes the minimum down with it, and a
    // minimum above the maximum takes the maximum up.
    void setMinimum(int minimum);
    void setMaximum(int maximum);

    // User drags the thumb to `value` (kept within the range): raises scroll
    // when the value changes. Ignored while the user cannot reach the slider.
    void drag(int value);

    void onChange(Handler handler) { change_ = std::move(handler); }
    void onScroll(Handler handler) { scroll_ = std::move(handler); }

private:
    void moveTo(int value, const Handler& notification);

    int minimum_;
    int maximum_;
    int value_;
    Handler change_;
    Handler scroll_;
};

} // namespace vindle
