#pragma once

#include "ui/model/Control.h"

namespace vindle {

// A titled group box. Its caption, enabled and visible flags are those of
// Control; hiding or disabling it hides or disables what it holds.
class Frame : public Control
{
public:
    Frame(std::string name, int index, Frame* parent, std::string caption)
        : Control(ControlKind::Frame, std::move(name), index, parent, std::move(caption))
    {}
};

} // namespace vindle
