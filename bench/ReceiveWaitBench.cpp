// How the receive primitives behave on the real event loop and a real
// pseudo-terminal: the length of a time-out, the latency a slow adapter may
// add, and the processor time spent while waiting (it should be next to none).
//
// The "cpu_percent" counter is the process's CPU time over wall time during
// the waits.

#include "link/ByteLink.h"
#include "qt/core/QtEventPump.h"
#include "qt/core/QtSerialPort.h"
#include "support/CpuMeter.h"
#include "support/PtyPair.h"

#include <QTimer>
#include <benchmark/benchmark.h>
#include <chrono>
#include <stdexcept>

namespace {

using namespace vindle;
using namespace std::chrono_literals;
using bench::PtyPair;

struct Fixture
{
    PtyPair pty;
    QtSerialPort port;
    QtEventPump pump;
    SteadyClock clock;
    ByteLink link{port, pump, clock};

    Fixture()
    {
        if (!port.open(pty.path())) {
            throw std::runtime_error(port.errorText().toStdString());
        }
    }
};

void reportCpu(benchmark::State& state, const bench::CpuMeter& meter)
{
    state.counters["cpu_percent"] = meter.percentOfCore();
}

// A silent module: how long receiveByte waits before it gives up, and at what cost.
void BM_ReceiveByteTimeoutOnSilentPort(benchmark::State& state)
{
    Fixture f;
    const bench::CpuMeter meter;
    for (auto _ : state) {
        const Received result = f.link.receiveByte();
        if (result.hasValue()) {
            state.SkipWithError("a silent port delivered a byte");
        }
    }
    reportCpu(state, meter);
}
BENCHMARK(BM_ReceiveByteTimeoutOnSilentPort)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(5);

// A reply that comes 30 ms after the request, like a module behind a USB
// adapter's latency timer: it must be received, not timed out.
void BM_ReceiveByteByteAfter30ms(benchmark::State& state)
{
    Fixture f;
    const bench::CpuMeter meter;
    for (auto _ : state) {
        QTimer::singleShot(30ms, [&f] { f.pty.send(0x5A); });
        const Received result = f.link.receiveByte();
        if (result != 0x5A) {
            state.SkipWithError("the late byte was not received");
        }
    }
    reportCpu(state, meter);
}
BENCHMARK(BM_ReceiveByteByteAfter30ms)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(10);

// The data monitor's unbounded wait over a long silence.
void BM_AwaitByteWaitsOneSecond(benchmark::State& state)
{
    Fixture f;
    const bench::CpuMeter meter;
    for (auto _ : state) {
        QTimer::singleShot(1s, [&f] { f.pty.send(254); });
        if (f.link.awaitByte() != 254) {
            state.SkipWithError("wrong byte");
        }
    }
    reportCpu(state, meter);
}
BENCHMARK(BM_AwaitByteWaitsOneSecond)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// Round trip of one byte through the pseudo-terminal and the event loop.
void BM_EchoRoundTrip(benchmark::State& state)
{
    Fixture f;
    for (auto _ : state) {
        f.link.sendByte(1);
        f.pump.yieldOnce();
        f.pty.drain();
        f.pty.send(1);
        benchmark::DoNotOptimize(f.link.receiveByte());
    }
}
BENCHMARK(BM_EchoRoundTrip)->Unit(benchmark::kMicrosecond)->UseRealTime();

// One idle pass of the event loop: what a fixed count of polls would have
// meant as a time-out on this machine.
void BM_IdleYield(benchmark::State& state)
{
    QtEventPump pump;
    for (auto _ : state) {
        pump.yieldOnce();
    }
}
BENCHMARK(BM_IdleYield)->Unit(benchmark::kMicrosecond);

} // namespace
