#pragma once

#include "config/MemoryMap.h"

#include <optional>
#include <string>

namespace vindle {

class ConfigWindows;
class Configuration;
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

// Keeps a Configuration equal to what the windows' controls hold: each change
// of a location's control writes its value, or the text of a field that is no
// byte, through. A window's controls are bound once it exists; one that does
// not exist yet holds the values a configuration starts with.
class LocationBinding
{
public:
    LocationBinding(ConfigWindows& windows, Configuration& configuration);
    LocationBinding(const LocationBinding&) = delete;
    LocationBinding& operator=(const LocationBinding&) = delete;

    // Binds the controls of `window`, one of the configuration windows, and
    // writes what they hold now through.
    void bind(Window& window);

private:
    void update(const LocationInfo& info);

    ConfigWindows& windows_;
    Configuration& configuration_;
};

} // namespace vindle
