#pragma once

#include "EmulatorSettings.h"

#include <optional>
#include <string>
#include <vector>

namespace vindle::emulator {

// What the vindle-emulator program was asked to do.
struct ProgramOptions
{
    EmulatorSettings settings;
    std::optional<std::string> linkPath; // a symbolic link to the device, if wanted
    bool showHelp = false;
    bool showVersion = false;
};

struct ParsedCommandLine
{
    std::optional<ProgramOptions> options; // empty when the arguments are wrong
    std::string error;
};

// Parses the program's arguments (without the program name).
ParsedCommandLine parseCommandLine(const std::vector<std::string>& arguments);

// The --help text.
std::string usageText();

} // namespace vindle::emulator
