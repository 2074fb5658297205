#pragma once

#include "config/MemoryMap.h"

#include <optional>
#include <string>

namespace vindle {

class ConfigWindows;
class Window;

// Where each location lives in the windows, driven by the memory map: the
// read writes a location's value into its control, the store takes it back
// out. A secondary window that does not exist yet is created, hidden.

// The window that shows a location.
Window& windowOf(ConfigWindows& windows, ConfigWindow which);

// Writes a received value (after its read limit) into the location's control,
// raising the same handlers a user change would. A value the memory map says
// the control cannot take is not written: the result is false.
bool writeLocation(ConfigWindows& windows, const LocationInfo& info, int value);

// The byte the store sends for a location, taken from its control now. Empty
// for a text box whose contents are not a number from 0 to 255.
std::optional<int> readLocation(ConfigWindows& windows, const LocationInfo& info);

// The name of the field a location is edited in, for messages.
std::string fieldName(const LocationInfo& info);

} // namespace vindle
