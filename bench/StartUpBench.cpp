// Start-up of the real program, and the way to the data monitor when the
// module says nothing, both timed where the module sees the line.

#include "link/ByteLink.h"
#include "qt/MessageBox.h"
#include "support/MachineDescription.h"
#include "support/ObservedModule.h"
#include "support/RenderedRun.h"
#include "support/WireTime.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <benchmark/benchmark.h>
#include <optional>
#include <thread>

namespace {

using namespace vindle;
using namespace vindle::bench;
using Seconds = std::chrono::duration<double>;

// varnel_com9 started as a process on the emulated module's line. The read
// makes the main window visible and fills it before it sends the identify
// command, so the moment that command reaches the module is the moment the
// main window stands filled; only the capability flags follow (a 6-byte reply).
void BM_StartUpToFilledMainWindow(benchmark::State& state)
{
    double toFirstByte = 0.0;
    double toFilled = 0.0;
    double worst = 0.0;
    for (auto _ : state) {
        emulator::EmulatorSettings settings;
        settings.bitRate = QtSerialPort::kBitRate;
        ObservedModule module(settings);
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", qEnvironmentVariable("QT_QPA_PLATFORM", "offscreen"));
        program.setProcessEnvironment(environment);

        const auto start = std::chrono::steady_clock::now();
        program.start(QStringLiteral(VINDLE_SETUP_PROGRAM), {"--port", module.devicePath()});
        std::optional<ObservedModule::TimePoint> identify;
        while (!(identify = module.fromPc(command::kIdentify)) &&
               std::chrono::steady_clock::now() - start < std::chrono::seconds(20))
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        const auto firstByte = module.fromPc(command::kIntroducer);
        program.kill();
        program.waitForFinished(5000);
        if (!identify || !firstByte) {
            state.SkipWithError("the program did not read the module");
            break;
        }
        const double filled = Seconds(*identify - start).count();
        state.SetIterationTime(filled);
        toFirstByte += Seconds(*firstByte - start).count();
        toFilled += filled;
        worst = std::max(worst, filled);
    }
    const auto n = static_cast<double>(state.iterations());
    state.counters["to_first_byte_ms"] = 1e3 * toFirstByte / n;
    state.counters["to_filled_ms"] = 1e3 * toFilled / n;
    state.counters["worst_ms"] = 1e3 * worst;
    state.counters["of_goal"] = (toFilled / n) / 1.0;
    // The read's own bytes on the line, the physical limit of the part after
    // the process has started.
    state.counters["read_wire_ms"] = 1e3 * wireSeconds(kReadCommandBytes + kReadReplyBytes);
    state.counters["load1"] = MachineDescription::loadAverage();
}
BENCHMARK(BM_StartUpToFilledMainWindow)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(5);

// A module that never answers: from the first 253, 252 to the 253, 250 of the
// hand-over to the data monitor, against the 18 receive time-outs the read
// waits out on the way (three a pass, six passes).
void BM_SilentModuleHandOver(benchmark::State& state)
{
    constexpr int kTimeouts = 18;
    const double timeouts = kTimeouts * Seconds(kReceiveTimeout).count();
    double total = 0.0;
    for (auto _ : state) {
        emulator::EmulatorSettings settings;
        settings.silent = true;
        ObservedModule module(settings);
        RenderedRun run(module.devicePath());
        run.endWhenMonitoring();
        run.program().start();
        const auto first = module.fromPc(command::kReadConfiguration);
        const auto handOver = module.fromPc(command::kTestConfiguration);
        if (!first || !handOver || MessageBox::answeredTexts().size() != 1) {
            state.SkipWithError("no hand-over to the data monitor");
            break;
        }
        const double seconds = Seconds(*handOver - *first).count();
        state.SetIterationTime(seconds);
        total += seconds;
    }
    const double mean = total / static_cast<double>(state.iterations());
    state.counters["timeouts_ms"] = 1e3 * timeouts;
    state.counters["beyond_timeouts_ms"] = 1e3 * (mean - timeouts);
    state.counters["ratio"] = mean / timeouts;
    state.counters["load1"] = MachineDescription::loadAverage();
}
BENCHMARK(BM_SilentModuleHandOver)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(2);

} // namespace
