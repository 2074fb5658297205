#pragma once

#include "core/EmulatorPort.h"
#include "core/ModuleEmulator.h"
#include "link/ByteLink.h"
#include "support/FakePump.h"

namespace vindle::test {

// An emulated module on an in-memory line, in simulated time: what the tests
// of the exchanges and procedures talk to.
struct EmulatedModule
{
    explicit EmulatedModule(emulator::EmulatorSettings settings = {}) : module(std::move(settings))
    {}

    FakeClock clock;
    emulator::ModuleEmulator module;
    emulator::EmulatorPort port{module, clock};
    FakePump pump{clock, [this] { return module.nextDue(); }};
    ByteLink link{port, pump, clock};

    // Lets simulated time run until everything the module has sent is pending.
    void settle()
    {
        if (const auto last = module.lastDue(); last && *last > clock.now()) {
            clock.set(*last);
        }
    }
};

} // namespace vindle::test
