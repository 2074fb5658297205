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

    // Whether the caption wraps at word boundaries: the design gives the label
    // room for more than one line of text.
    bool wrapsWords() const { return layout() && layout()->height >= kTwoLines; }

private:
    // Two lines of the design's dialog font, in twips.
    static constexpr int kTwoLines = 390;
};

} // namespace vindle
