#pragma once

#include "program/SetupProgram.h"
#include "support/EmulatedModule.h"
#include "support/RecordingDialogs.h"

#include <memory>
#include <vector>

namespace vindle::test {

// A whole run of the utility against an emulated module in simulated time.
struct ProgramOnEmulator
{
    static constexpr int kMostYields = 1'000'000;

    explicit ProgramOnEmulator(emulator::EmulatorSettings settings = {}) : m(std::move(settings))
    {
        // The data monitor waits for ever: a test that reaches it ends the
        // run when `endWhen` says so, by default once the monitor has taken
        // everything the module sent.
        m.pump.onYield = [this] {
            if (monitoring() &&
                (endWhen ? endWhen() : m.port.bytesPending() == 0 && !m.module.nextDue()))
                program.end();
            // A test that goes wrong ends instead of hanging.
            if (m.pump.yields() > kMostYields)
                program.end();
        };
    }

    // Another module on the same line, as when the user swaps modules.
    void plugIn(emulator::EmulatorSettings settings)
    {
        std::destroy_at(&m.module);
        std::construct_at(&m.module, std::move(settings));
    }

    bool monitoring() { return program.hasMonitor() && program.monitor().isVisible(); }

    // Bytes the utility sent from `from` on.
    std::vector<std::uint8_t> sent(std::size_t from = 0) const
    {
        const auto& all = m.port.written();
        return {all.begin() + static_cast<std::ptrdiff_t>(std::min(from, all.size())), all.end()};
    }

    std::function<bool()> endWhen;
    EmulatedModule m;
    RecordingDialogs dialogs;
    SetupProgram program{m.port, m.pump, m.clock, dialogs};
    MainWindow& main = program.mainWindow();
};

} // namespace vindle::test
