// vindle-config store --verify, read and identity as whole processes against
// vindle-emulator on a pseudo-terminal: what a technician waits for per module. Reported as a
// ratio to the wire time of the bytes it exchanges, after taking off the
// program's own start (a run of --version). The goal is a ratio under 2.
// Then one module's cycle on the bench of many modules, from its answer to
// "unplug it", against the same wire time.

#include "EmulatorProcess.h"
#include "core/EmulatorSettings.h"
#include "program/Provisioning.h"
#include "qt/core/QtEventPump.h"
#include "qt/core/QtSerialPort.h"
#include "support/MachineDescription.h"
#include "support/WireTime.h"

#include <QProcess>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <chrono>

namespace {

using namespace vindle;
using namespace vindle::bench;

// The seconds one run of vindle-config with `arguments` takes, or a negative
// number when it fails.
double timedRun(const QStringList& arguments)
{
    QProcess process;
    const auto start = std::chrono::steady_clock::now();
    process.start(QStringLiteral(VINDLE_CONFIG_PROGRAM), arguments);
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return -1.0;
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// One command, run again and again as a whole process: `bytes` is what it
// exchanges with the module.
void commandProcess(benchmark::State& state, const QStringList& command, int bytes)
{
    test::EmulatorProcess emulator;
    const QTemporaryDir files;
    const QString file = files.filePath(QStringLiteral("module.json"));
    const QStringList port{QStringLiteral("--port"), emulator.devicePath()};
    if (timedRun(QStringList{QStringLiteral("read"), QStringLiteral("-o"), file} + port) < 0) {
        state.SkipWithError("the read for the file failed");
        return;
    }
    QStringList arguments = command;
    arguments.replaceInStrings(QStringLiteral("{file}"), file);
    const double wire = wireSeconds(bytes);
    double started = 0.0;
    double total = 0.0;
    for (auto _ : state) {
        started += timedRun({QStringLiteral("--version")});
        const double seconds = timedRun(arguments + port);
        if (seconds < 0) {
            state.SkipWithError("the command failed");
            return;
        }
        state.SetIterationTime(seconds);
        total += seconds;
    }
    const auto runs = static_cast<double>(state.iterations());
    state.counters["wire_ms"] = wire * 1e3;
    state.counters["start_ms"] = started / runs * 1e3;
    state.counters["process_ms"] = total / runs * 1e3;
    state.counters["ratio"] = (total - started) / runs / wire;
    state.counters["load1"] = MachineDescription::loadAverage();
}

// The identity, the store, and the read-back without the identity.
void BM_StoreVerifyProcess(benchmark::State& state)
{
    commandProcess(state,
                   {QStringLiteral("store"), QStringLiteral("{file}"), QStringLiteral("--verify")},
                   2 + kIdentityReplyLength + 1 + kStoreCommandBytes + kStoreReplyBytes +
                       kReadCommandBytes - 2 + kReadReplyBytes - kIdentityReplyLength);
}
BENCHMARK(BM_StoreVerifyProcess)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(15);

// The read confirmed by a second one, then the identity with its ready marker.
void BM_ReadProcess(benchmark::State& state)
{
    commandProcess(state, {QStringLiteral("read")},
                   kReadCommandBytes + kReadReplyBytes + 1 + 2 + kReadReplyBytes -
                       kIdentityReplyLength);
}
BENCHMARK(BM_ReadProcess)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(15);

void BM_IdentityProcess(benchmark::State& state)
{
    commandProcess(state, {QStringLiteral("identity")}, 2 + kIdentityReplyLength + 1);
}
BENCHMARK(BM_IdentityProcess)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(15);

// When the module answered: its identity is asked for.
class AnswerClock final : public RunReporter
{
public:
    void step(const std::string& line) override
    {
        if (line.rfind("Asking the module", 0) == 0)
            answered = std::chrono::steady_clock::now();
    }
    void transfer(Transfer, std::optional<int>) override {}
    void message(const std::string&) override {}

    std::chrono::steady_clock::time_point answered;
};

void BM_BenchCycle(benchmark::State& state)
{
    test::EmulatorProcess emulator;
    QtSerialPort port;
    QtEventPump pump;
    SteadyClock clock;
    if (!port.open(emulator.devicePath())) {
        state.SkipWithError("the port did not open");
        return;
    }
    ConfigurationRecord file;
    for (int location = 0; location < kLocationCount; ++location)
        file.values[static_cast<std::size_t>(location)] =
            static_cast<std::int16_t>(vindle::emulator::factoryDefaults()[location]);
    const int bytes = 2 + kIdentityReplyLength + 1 + kStoreCommandBytes + kStoreReplyBytes +
                      kReadCommandBytes - 2 + kReadReplyBytes - kIdentityReplyLength;
    const double wire = wireSeconds(bytes);
    double total = 0.0;
    for (auto _ : state) {
        AnswerClock answer;
        double seconds = -1.0;
        // The bench stops once the module's result is told, which is when
        // it says "unplug it".
        Provisioning bench(
            port, port, pump, clock, answer, nullptr, [&seconds] { return seconds >= 0; },
            "the bench");
        const ProvisioningSummary summary = bench.run(file, {}, [&](const ProvisionedModule&) {
            seconds =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - answer.answered)
                    .count();
            return true;
        });
        if (summary.status != ExitStatus::Done) {
            state.SkipWithError("the module was not stored and verified");
            return;
        }
        total += seconds;
        state.SetIterationTime(seconds);
    }
    const auto runs = static_cast<double>(state.iterations());
    state.counters["wire_ms"] = wire * 1e3;
    state.counters["cycle_ms"] = total / runs * 1e3;
    state.counters["ratio"] = total / runs / wire;
    state.counters["load1"] = MachineDescription::loadAverage();
}
BENCHMARK(BM_BenchCycle)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(10);

} // namespace
