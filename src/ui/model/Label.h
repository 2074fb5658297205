#pragma once

#include "ui/model/Control.h"

namespace vindle {

// A text the program writes; the user cannot change it.
class Label : public Control
{
public:
    Label(std::string name, int index, Frame* parent, std::string caption)
        : Control(ControlKind::Label, std::move(name), index, parent, std::move(caption))
    {}
};

} // namespace vindle
