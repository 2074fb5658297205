#pragma once

#include "ui/model/Control.h"

namespace vindle {

// A check box: 0 unchecked, 1 checked, 2 grayed. Click is raised whenever the
// value changes, by program or by the user.
class CheckBox : public Control
{
public:
    using Handler = std::function<void()>;

    static constexpr int kUnchecked = 0;
    static constexpr int kChecked = 1;
    static constexpr int kGrayed = 2;

    CheckBox(std::string name, int index, Frame* parent, std::string caption, int value);

    int value() const { return value_; }
    // Program write; a value other than 0, 1 or 2 throws RejectedValue.
    void setValue(int value);
    // User click: a checked box becomes unchecked, any other becomes checked.
    // Ignored while the user cannot reach the box.
    void toggle();

    void onClick(Handler handler) { click_ = std::move(handler); }

private:
    int value_;
    Handler click_;
};

} // namespace vindle
