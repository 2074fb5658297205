#include "support/MachineDescription.h"

#include <fstream>
#include <thread>

namespace vindle::bench {

MachineDescription MachineDescription::ofThisMachine()
{
    MachineDescription machine;
    machine.cores = static_cast<int>(std::thread::hardware_concurrency());
    std::ifstream cpuinfo("/proc/cpuinfo");
    for (std::string line; std::getline(cpuinfo, line);) {
        if (line.starts_with("model name")) {
            const auto colon = line.find(':');
            machine.cpuModel = line.substr(line.find_first_not_of(' ', colon + 1));
            break;
        }
    }
    return machine;
}

double MachineDescription::loadAverage()
{
    std::ifstream loadavg("/proc/loadavg");
    double lastMinute = 0.0;
    loadavg >> lastMinute;
    return lastMinute;
}

} // namespace vindle::bench
