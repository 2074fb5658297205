#pragma once

#include <stdexcept>
#include <string>

namespace vindle {

// Thrown when a control is given a value it cannot hold (a slider value
// outside its range, a check box state other than 0, 1 or 2). The control is
// left unchanged and no notification is raised.
class RejectedValue : public std::out_of_range
{
public:
    RejectedValue(const std::string& control, int index, int value)
        : std::out_of_range(describe(control, index, value)), control_(control), index_(index),
          value_(value)
    {}

    const std::string& control() const { return control_; }
    int index() const { return index_; }
    int value() const { return value_; }

private:
    static std::string describe(const std::string& control, int index, int value)
    {
        std::string text = control;
        if (index >= 0)
            text += "(" + std::to_string(index) + ")";
        return text + " cannot take the value " + std::to_string(value);
    }

    std::string control_;
    int index_;
    int value_;
};

} // namespace vindle
