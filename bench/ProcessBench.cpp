// vindle-config store --verify as a whole process against vindle-emulator on
// a pseudo-terminal: what a technician waits for per module. Reported as a
// ratio to the wire time of the bytes it exchanges, after taking off the
// program's own start (a run of --version). The goal is a ratio under 2.

#include "EmulatorProcess.h"
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

void BM_StoreVerifyProcess(benchmark::State& state)
{
    test::EmulatorProcess emulator;
    const QTemporaryDir files;
    const QString file = files.filePath(QStringLiteral("module.json"));
    const QStringList port{QStringLiteral("--port"), emulator.devicePath()};
    if (timedRun(QStringList{QStringLiteral("read"), QStringLiteral("-o"), file} + port) < 0) {
        state.SkipWithError("the read for the file failed");
        return;
    }
    // The identity, the store, and the read-back without the identity.
    const int bytes = 2 + kIdentityReplyLength + 1 + kStoreCommandBytes + kStoreReplyBytes +
                      kReadCommandBytes - 2 + kReadReplyBytes - kIdentityReplyLength;
    const double wire = wireSeconds(bytes);
    double started = 0.0;
    double total = 0.0;
    for (auto _ : state) {
        started += timedRun({QStringLiteral("--version")});
        const double seconds =
            timedRun(QStringList{QStringLiteral("store"), file, QStringLiteral("--verify")} + port);
        if (seconds < 0) {
            state.SkipWithError("store --verify failed");
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
BENCHMARK(BM_StoreVerifyProcess)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(10);

} // namespace
