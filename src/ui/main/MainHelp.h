#pragma once

#include "ui/model/Control.h"

#include <optional>
#include <string_view>

namespace vindle {

class MainWindow;

// Context help of the main window: the text that the label HELP shows when the
// pointer moves over `control`, or nothing when that control has no help (the
// caption then stays as it was). For an option the text is that of the option
// under the pointer.
std::optional<std::string_view> mainHelpText(const Control& control);

// Gives every control of the main window its mouse-over handler, which writes
// the control's help text, if any, into HELP and changes nothing else.
void installMainHelp(MainWindow& main);

} // namespace vindle
