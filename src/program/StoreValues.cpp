#include "program/StoreValues.h"

#include "base/AtIndex.h"
#include "config/MemoryMap.h"
#include "program/LocationControls.h"
#include "ui/main/ConfigWindows.h"

namespace vindle {

StoreValues storeValues(ConfigWindows& windows)
{
    StoreValues values;
    for (const LocationInfo& info : memoryMap()) {
        const std::optional<int> value = readLocation(windows, info);
        if (!value && !values.refusedLocation) {
            const std::string text =
                windowOf(windows, info.window).get<TextBox>(info.control, info.index).text();
            values.refusedLocation = info.location;
            values.refusal = badFieldMessage(info.location, text);
        }
        atIndex(values.record.values, info.location) = static_cast<std::int16_t>(value.value_or(0));
    }
    return values;
}

} // namespace vindle
