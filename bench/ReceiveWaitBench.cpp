// How the receive primitives behave on the real event loop and a real
// pseudo-terminal: the length of a time-out, the latency a slow adapter may
// add, and the processor time spent while waiting (it should be next to none).
//
// Run: build/bench/vindle_bench  (the "cpu_percent" counter is CPU time over
// wall time during the waits).

#include "link/ByteLink.h"
#include "qt/QtEventPump.h"
#include "qt/QtSerialPort.h"

#include <QApplication>
#include <QTimer>
#include <benchmark/benchmark.h>
#include <chrono>
#include <ctime>
#include <fcntl.h>
#include <pty.h>
#include <stdexcept>
#include <termios.h>
#include <unistd.h>

namespace {

using namespace vindle;
using namespace std::chrono_literals;

// A pseudo-terminal whose slave side the Qt serial port opens; the benchmark
// plays the module on the master side.
class PtyPair
{
public:
    PtyPair()
    {
        char name[256] = {};
        if (openpty(&master_, &slave_, name, nullptr, nullptr) != 0) {
            throw std::runtime_error("openpty failed");
        }
        termios settings{};
        tcgetattr(slave_, &settings);
        cfmakeraw(&settings);
        tcsetattr(slave_, TCSANOW, &settings);
        path_ = QString::fromLocal8Bit(name);
    }
    ~PtyPair()
    {
        ::close(master_);
        ::close(slave_);
    }
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    const QString& path() const { return path_; }
    void send(std::uint8_t byte) const { [[maybe_unused]] auto n = ::write(master_, &byte, 1); }
    void drain() const
    {
        std::uint8_t buffer[256];
        fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
        while (::read(master_, buffer, sizeof buffer) > 0) {
        }
    }

private:
    int master_ = -1;
    int slave_ = -1;
    QString path_;
};

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

void reportCpu(benchmark::State& state, std::clock_t cpuStart,
               std::chrono::steady_clock::time_point wallStart)
{
    const double cpuSeconds = double(std::clock() - cpuStart) / CLOCKS_PER_SEC;
    const double wallSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
    state.counters["cpu_percent"] = wallSeconds > 0 ? 100.0 * cpuSeconds / wallSeconds : 0.0;
}

// A silent module: how long GetI waits before it gives up, and at what cost.
void BM_GetITimeoutOnSilentPort(benchmark::State& state)
{
    Fixture f;
    const auto cpuStart = std::clock();
    const auto wallStart = std::chrono::steady_clock::now();
    for (auto _ : state) {
        const Received result = f.link.GetI();
        if (result.hasValue()) {
            state.SkipWithError("a silent port delivered a byte");
        }
    }
    reportCpu(state, cpuStart, wallStart);
}
BENCHMARK(BM_GetITimeoutOnSilentPort)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

// A reply that comes 30 ms after the request, like a module behind a USB
// adapter's latency timer: it must be received, not timed out.
void BM_GetIByteAfter30ms(benchmark::State& state)
{
    Fixture f;
    const auto cpuStart = std::clock();
    const auto wallStart = std::chrono::steady_clock::now();
    for (auto _ : state) {
        QTimer::singleShot(30ms, [&f] { f.pty.send(0x5A); });
        const Received result = f.link.GetI();
        if (result != 0x5A) {
            state.SkipWithError("the late byte was not received");
        }
    }
    reportCpu(state, cpuStart, wallStart);
}
BENCHMARK(BM_GetIByteAfter30ms)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);

// The data monitor's unbounded wait over a long silence.
void BM_GetI2WaitsOneSecond(benchmark::State& state)
{
    Fixture f;
    const auto cpuStart = std::clock();
    const auto wallStart = std::chrono::steady_clock::now();
    for (auto _ : state) {
        QTimer::singleShot(1s, [&f] { f.pty.send(254); });
        if (f.link.GetI2() != 254) {
            state.SkipWithError("wrong byte");
        }
    }
    reportCpu(state, cpuStart, wallStart);
}
BENCHMARK(BM_GetI2WaitsOneSecond)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// Round trip of one byte through the pseudo-terminal and the event loop.
void BM_EchoRoundTrip(benchmark::State& state)
{
    Fixture f;
    for (auto _ : state) {
        f.link.PutI(1);
        f.pump.yieldOnce();
        f.pty.drain();
        f.pty.send(1);
        benchmark::DoNotOptimize(f.link.GetI());
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

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
