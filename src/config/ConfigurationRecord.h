#pragma once

#include "base/AtIndex.h"
#include "link/Commands.h"

#include <array>
#include <cstdint>

namespace vindle {

// The values of the 51 locations as the last read received them. Only the read
// writes it; the store takes its values from the windows instead.
struct ConfigurationRecord
{
    std::array<std::int16_t, kLocationCount> values{};

    int operator[](int location) const { return atIndex(values, location); }

    // Replaces every value above its location's read limit by that limit, so
    // that each option index lies inside its group.
    void applyReadLimits();
};

} // namespace vindle
