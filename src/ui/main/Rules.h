#pragma once

#include "config/OptionRules.h"

namespace vindle {

class ConfigWindows;
class Control;
class Option;

// The option rules: walks the main window and decides which options, frames
// and buttons are visible and enabled, forces a selection or a value where a
// combination is not allowed, and enables the advanced window's frames that
// apply (creating that window, hidden, if need be).
//
// A forced selection raises its group's click handler, which runs the rules
// again, nested, before this run goes on; so does a forced change of DInputs
// through its change handler. Every step reads the state as it stands when
// the step runs, so the outermost run ends in the state the nested order
// produces. Runs keep no state of their own.
void Rules(ConfigWindows& windows);

// The control that shows a part of the configuration the option rules decide.
Control& ruledControl(ConfigWindows& windows, RulesPart part);

// The option of a main-window choice, by the location that stores the choice.
Option& ruledOption(ConfigWindows& windows, OptionAt option);

} // namespace vindle
