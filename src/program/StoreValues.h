#pragma once

#include "config/ConfigurationHolder.h"

namespace vindle {

class ConfigWindows;

// What Store Configuration sends for the windows as they are now: each
// location's byte, taken from its control.
StoreValues storeValues(ConfigWindows& windows);

} // namespace vindle
