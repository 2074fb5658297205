#include "config/ConfigurationRecord.h"

#include "base/AtIndex.h"
#include "config/MemoryMap.h"

namespace vindle {

void ConfigurationRecord::applyReadLimits()
{
    for (const LocationInfo& info : memoryMap()) {
        std::int16_t& value = atIndex(values, info.location);
        if (info.readLimit && value > *info.readLimit) {
            value = static_cast<std::int16_t>(*info.readLimit);
        }
    }
}

} // namespace vindle
