// A complete read and a complete store through a real pseudo-terminal against
// vindle-emulator pacing its replies at 38400 bit/s, with the windows rendered;
// then the store behind a USB-serial adapter's latency timer.
// Each is given as a ratio to the wire time of the bytes exchanged; the
// emulator adds no reply delays of its own.
//
// The pseudo-terminal delivers the program's own bytes at once, so only the
// module's replies take their wire time here; "paced_ratio" compares with
// those alone.

#include "EmulatorProcess.h"
#include "qt/MessageBox.h"
#include "support/MachineDescription.h"
#include "support/RenderedRun.h"
#include "support/WireTime.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <functional>

namespace {

using namespace vindle;
using namespace vindle::bench;

// Times `transfer` each iteration and reports it against the wire time of
// `commandBytes` sent and `replyBytes` received.
void measureTransfer(benchmark::State& state, const std::function<void()>& transfer,
                     int commandBytes, int replyBytes)
{
    const double wire = wireSeconds(commandBytes + replyBytes);
    const double paced = wireSeconds(replyBytes);
    double total = 0.0;
    double worst = 0.0;
    for (auto _ : state) {
        RenderedRun::letTheLineFallQuiet();
        const auto start = std::chrono::steady_clock::now();
        transfer();
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.SetIterationTime(seconds);
        total += seconds;
        worst = std::max(worst, seconds);
        if (!MessageBox::answeredTexts().isEmpty()) {
            state.SkipWithError(MessageBox::answeredTexts().join(' ').toStdString().c_str());
            break;
        }
    }
    const double mean = total / static_cast<double>(state.iterations());
    state.counters["bytes"] = commandBytes + replyBytes;
    state.counters["wire_ms"] = wire * 1e3;
    state.counters["ratio"] = mean / wire;
    state.counters["worst_ratio"] = worst / wire;
    state.counters["paced_ratio"] = mean / paced;
    state.counters["load1"] = MachineDescription::loadAverage();
}

struct Connected
{
    test::EmulatorProcess emulator;
    RenderedRun run{emulator.devicePath()};

    explicit Connected(const QStringList& emulatorOptions = {})
        : emulator(QStringList{"--baud", "38400"} + emulatorOptions)
    {
        run.endWhenMonitoring();
        run.program().start();
    }
    // Start-up read the module; false when it handed over to the data monitor.
    bool ready() { return !run.program().hasEnded(); }
};

void BM_ReadOverPty(benchmark::State& state)
{
    Connected c;
    if (!c.ready()) {
        state.SkipWithError("the start-up read failed");
        return;
    }
    measureTransfer(
        state, [&c] { c.run.program().ReadSettings_Click(); }, kReadCommandBytes, kReadReplyBytes);
}
BENCHMARK(BM_ReadOverPty)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(20);

// Stores over the emulator started with `options`.
void measureStore(benchmark::State& state, const QStringList& options = {})
{
    Connected c(options);
    if (!c.ready()) {
        state.SkipWithError("the start-up read failed");
        return;
    }
    measureTransfer(
        state, [&c] { c.run.program().StoreSettings_Click(); }, kStoreCommandBytes,
        kStoreReplyBytes);
}

void BM_StoreOverPty(benchmark::State& state)
{
    measureStore(state);
}
BENCHMARK(BM_StoreOverPty)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(20);

// A store through a USB-serial adapter that passes what it receives on only at
// each tick of its latency timer (the argument, in ms): 16 ms is an FTDI
// adapter's default on Linux, 1 ms what its driver sets in the low-latency mode
// the program asks for. Every acknowledgement waits for a tick.
void BM_StoreThroughLatencyTimer(benchmark::State& state)
{
    measureStore(state, {"--latency-timer", QString::number(state.range(0))});
}
BENCHMARK(BM_StoreThroughLatencyTimer)
    ->Arg(16)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(10);

} // namespace
