#pragma once

#include "config/ConfigurationRecord.h"

#include <optional>
#include <string>

namespace vindle {

class ConfigWindows;

// What Store Configuration sends for the windows as they are now: each
// location's byte, taken from its control. The first text field that is not
// a byte (0 in the record) refuses them all, with the store's message.
struct StoreValues
{
    ConfigurationRecord record;
    std::optional<int> refusedLocation;
    std::string refusal;
};

StoreValues storeValues(ConfigWindows& windows);

// The store's word for a configuration it does not send.
inline constexpr const char* kCannotStore = "Cannot Store this Configuration.";
// The message that refuses a store because a text field is not a byte.
std::string badFieldMessage(int location, const std::string& text);

} // namespace vindle
