#pragma once

#include "config/ConfigurationHolder.h"

#include <optional>
#include <string>

namespace vindle {

class ConfigWindows;

// What Store Configuration sends for the windows as they are now: each
// location's byte, taken from its control.
StoreValues storeValues(ConfigWindows& windows);

// The store's word for a configuration it does not send.
inline constexpr const char* kCannotStore = "Cannot Store this Configuration.";
// The message that refuses a store because a text field is not a byte.
std::string badFieldMessage(int location, const std::string& text);

} // namespace vindle
