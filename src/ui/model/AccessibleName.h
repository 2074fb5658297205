#pragma once

#include "ui/model/Control.h"
#include "ui/model/Window.h"

#include <string>

namespace vindle {

// The control whose caption names `control` for assistive technology: the
// control itself when it carries a caption (frame, option, check box, label,
// button), else the label set with Control::setNamedBy(), else the enclosing
// frame. nullptr when nothing in the window names it.
const Control* namingControl(const Control& control);

// The name assistive technology announces for `control`: the caption of its
// naming control, or the window's title when there is none. A member of a
// control array named by one shared label gets its position (from 1) after
// the caption, so "Wireless Keys: 2" tells the second key box from the others.
std::string accessibleName(const Window& window, const Control& control);

// The description assistive technology gives `control` once it has the
// focus: the window's help for it, else for what encloses it (the help of a
// frame explains the slider in it); empty when there is none.
std::string accessibleDescription(const Window& window, const Control& control);

} // namespace vindle
