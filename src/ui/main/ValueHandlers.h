#pragma once

#include <string>

namespace vindle {

class ConfigWindows;

// The interval sentence for an interval of `seconds`.
std::string intervalSentence(int seconds);
// The caption of Label1 for `banks` expansion banks.
std::string inputSourceCaption(int banks);
// The caption the A/D resolution button takes when clicked.
std::string toggledResolution(const std::string& caption);

// Installs the main window's handlers: the value labels and sentences of the
// sliders, the A/D resolution button, the buttons and choices that show or
// hide the secondary windows, and the option rules after every choice that
// bears on them.
void installValueHandlers(ConfigWindows& windows);

} // namespace vindle
