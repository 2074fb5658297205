#include "support/CpuMeter.h"

#include <sys/resource.h>
#include <time.h>

namespace vindle::bench {

namespace {

double seconds(const timeval& time)
{
    return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) * 1e-6;
}

} // namespace

void CpuMeter::restart()
{
    cpuStart_ = processCpuSeconds();
    wallStart_ = std::chrono::steady_clock::now();
}

double CpuMeter::cpuSeconds() const
{
    return processCpuSeconds() - cpuStart_;
}

double CpuMeter::wallSeconds() const
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart_).count();
}

double CpuMeter::percentOfCore(double excludedCpuSeconds) const
{
    const double wall = wallSeconds();
    return wall > 0.0 ? 100.0 * (cpuSeconds() - excludedCpuSeconds) / wall : 0.0;
}

double CpuMeter::threadCpuSeconds()
{
    timespec time{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &time);
    return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_nsec) * 1e-9;
}

double CpuMeter::processCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

} // namespace vindle::bench
