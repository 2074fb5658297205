#pragma once

#include <string>

namespace vindle::bench {

// The machine the figures were measured on.
struct MachineDescription
{
    std::string cpuModel;
    int cores = 0;

    static MachineDescription ofThisMachine();
    // Load average over the last minute: above ~0.5 others were busy too.
    static double loadAverage();
};

} // namespace vindle::bench
