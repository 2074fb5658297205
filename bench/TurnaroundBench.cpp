// The program's own turnaround: from the last byte of a reply to the next byte
// it sends, timed where the module sees the line (the emulator serving the
// pseudo-terminal from a thread of this program notes when each byte passes).
// The windows are rendered, so decoding, option rules and widgets all count.
//
// Each iteration is a fresh run: its start-up read fills windows that still
// hold their initial state (the slowest read); the read that follows finds
// the same values in place. Then the whole configuration is stored.

#include "qt/MessageBox.h"
#include "support/MachineDescription.h"
#include "support/ObservedModule.h"
#include "support/RenderedRun.h"

#include <algorithm>
#include <array>
#include <benchmark/benchmark.h>
#include <numeric>
#include <utility>
#include <vector>

namespace {

using namespace vindle;
using namespace vindle::bench;
using Seconds = std::chrono::duration<double>;

struct ModuleSetup
{
    const char* name;
    std::vector<std::pair<int, std::uint8_t>> locations;
};

// Configurations whose reads touch different windows.
const std::array kSetups{
    ModuleSetup{"factory_defaults", {}},
    ModuleSetup{"mode1_limiter", {{10, 1}, {14, 2}, {40, 0}}},
    ModuleSetup{"motion_detectors", {{0, 3}, {40, 1}, {41, 7}, {49, 1}}},
};

emulator::EmulatorSettings settingsFor(const ModuleSetup& setup)
{
    emulator::EmulatorSettings settings;
    settings.bitRate = QtSerialPort::kBitRate;
    for (const auto& [location, value] : setup.locations)
        settings.configuration[static_cast<std::size_t>(location)] = value;
    return settings;
}

// From the last byte of a read's reply to the identify command that follows
// it (the first exchange from entry `from` on).
double readTurnaround(const ObservedModule& module, std::size_t from)
{
    using Direction = ObservedModule::Direction;
    const auto traffic = module.traffic();
    for (std::size_t i = from + 1; i + 1 < traffic.size(); ++i) {
        const auto& last = traffic[i - 1];
        const auto& introducer = traffic[i];
        const auto& identify = traffic[i + 1];
        if (last.direction == Direction::ToPc && introducer.direction == Direction::FromPc &&
            introducer.byte == command::kIntroducer && identify.direction == Direction::FromPc &&
            identify.byte == command::kIdentify)
            return Seconds(introducer.at - last.at).count();
    }
    return -1.0;
}

void BM_Turnaround(benchmark::State& state)
{
    const ModuleSetup& setup = kSetups.at(static_cast<std::size_t>(state.range(0)));
    state.SetLabel(setup.name);
    double firstRead = 0.0;
    double worstFirstRead = 0.0;
    double againRead = 0.0;
    double readStart = 0.0;
    std::vector<double> perLocation;
    for (auto _ : state) {
        state.PauseTiming();
        ObservedModule module(settingsFor(setup));
        RenderedRun run(module.devicePath());
        state.ResumeTiming();

        run.program().start();
        RenderedRun::letTheLineFallQuiet();
        const double first = readTurnaround(module, 0);

        const std::size_t beforeRead = module.passed();
        const auto clicked = std::chrono::steady_clock::now();
        run.program().ReadSettings_Click();
        const auto command = module.fromPc(command::kReadConfiguration, beforeRead);
        RenderedRun::letTheLineFallQuiet();
        const double again = readTurnaround(module, beforeRead);

        const std::size_t beforeStore = module.passed();
        run.program().StoreSettings_Click();
        const auto storeGaps = module.turnarounds(beforeStore);

        if (!MessageBox::answeredTexts().isEmpty()) {
            state.SkipWithError(MessageBox::answeredTexts().join(' ').toStdString().c_str());
            break;
        }
        if (first < 0 || again < 0 || !command || storeGaps.size() != kLocationCount - 1) {
            state.SkipWithError("the traffic is not that of a read and a store");
            break;
        }
        firstRead += first;
        worstFirstRead = std::max(worstFirstRead, first);
        againRead += again;
        readStart += Seconds(*command - clicked).count();
        for (const Seconds gap : storeGaps)
            perLocation.push_back(gap.count());
    }
    const auto n = static_cast<double>(state.iterations());
    std::sort(perLocation.begin(), perLocation.end());
    const double storeMean = std::accumulate(perLocation.begin(), perLocation.end(), 0.0) /
                             static_cast<double>(std::max<std::size_t>(perLocation.size(), 1));
    const auto at = [&perLocation](double share) {
        return perLocation.empty() ? 0.0
                                   : perLocation[static_cast<std::size_t>(
                                         share * static_cast<double>(perLocation.size() - 1))];
    };
    // Goals: 100 ms after a read's last reply byte, 2 ms per store location.
    state.counters["read_first_ms"] = 1e3 * firstRead / n;
    state.counters["read_first_worst_ms"] = 1e3 * worstFirstRead;
    state.counters["read_again_ms"] = 1e3 * againRead / n;
    // From the click on Read Configuration to its command on the line.
    state.counters["read_click_to_command_ms"] = 1e3 * readStart / n;
    state.counters["read_first_of_goal"] = (firstRead / n) / 0.100;
    state.counters["store_loc_mean_ms"] = 1e3 * storeMean;
    state.counters["store_loc_p99_ms"] = 1e3 * at(0.99);
    state.counters["store_loc_max_ms"] = 1e3 * at(1.0);
    state.counters["store_loc_of_goal"] = storeMean / 0.002;
    state.counters["load1"] = MachineDescription::loadAverage();
}
BENCHMARK(BM_Turnaround)
    ->DenseRange(0, static_cast<int>(kSetups.size()) - 1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);

} // namespace
