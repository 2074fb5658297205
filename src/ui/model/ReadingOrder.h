#pragma once

#include "ui/model/Window.h"

#include <vector>

namespace vindle {

// The order in which a person reads a window, and so the order in which the
// Tab key visits it, the same in every shell. Within the window and within
// each frame, row by row and left to right by where things are placed; a
// frame's contents before what follows the frame; the options of a group
// together, where the group's first option is. A control placed over a frame
// it does not belong to is read right after that frame's contents.
//
// Every control but option groups, frames before what they hold.
std::vector<const Control*> readingOrder(const Window& window);

// Whether the keyboard can focus a control of this kind at all.
bool takesKeyboardFocus(ControlKind kind);

// Where Tab stops now, in reading order: every control that takes the focus
// and can be seen and used. An option group is one stop, at its selected
// option; at its first usable one when none is selected; none when the
// selected option cannot be used.
std::vector<const Control*> tabStops(const Window& window);
// The same, from the window's reading order, which never changes.
std::vector<const Control*> tabStops(const std::vector<const Control*>& readingOrder);

// The option of the group that Tab stops at now, or nullptr.
const Option* tabStopOf(const OptionGroup& group);

} // namespace vindle
