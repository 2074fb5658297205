#pragma once

#include "config/OptionRules.h"

namespace vindle {

class ConfigWindows;
class Control;
class Option;

// The option rules in the windows: reads the choices the rules look at from
// the main window, and puts the answer of optionRules() into the controls:
// the forced values, in the order the rules force them, then the input bank
// range, then the enabled and visible flags of the options and of the parts
// the rules decide (creating the advanced window, hidden, if need be).
//
// A forced value raises the same handlers as a person's change; those that
// run the rules again (a choice, the motion-detector box, the bank count)
// find the choices one forced value further on the rules' own way, so they
// apply the same answer, and this run then finds its remaining values in
// place. Runs keep no state of their own.
void Rules(ConfigWindows& windows);

// The control that shows a part of the configuration the option rules decide.
Control& ruledControl(ConfigWindows& windows, RulesPart part);

// The option of a main-window choice, by the location that stores the choice.
Option& ruledOption(ConfigWindows& windows, OptionAt option);

} // namespace vindle
