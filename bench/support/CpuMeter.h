#pragma once

#include <chrono>

namespace vindle::bench {

// Processor time of this process (user and system, every thread) against
// wall time, from the moment it is made or restarted. Measuring the process's
// own time keeps the figure honest on a machine that others share.
class CpuMeter
{
public:
    CpuMeter() { restart(); }

    void restart();
    double cpuSeconds() const;
    double wallSeconds() const;
    // Processor time as a share of one core, in percent; `excludedCpuSeconds`
    // (a helper thread's own time) is taken off first.
    double percentOfCore(double excludedCpuSeconds = 0.0) const;

    // Processor time of the calling thread so far.
    static double threadCpuSeconds();
    static double processCpuSeconds();

private:
    double cpuStart_ = 0.0;
    std::chrono::steady_clock::time_point wallStart_;
};

} // namespace vindle::bench
