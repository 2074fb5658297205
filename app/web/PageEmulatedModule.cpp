// An emulated module for the page, on the page's clock: what the page's
// session talks to in place of a serial port when there is no module, and
// what the tests under Node drive a whole run against.

#include "core/CommandLine.h"
#include "core/ModuleEmulator.h"
#include "web/PageClock.h"

#include <emscripten/bind.h>
#include <stdexcept>

namespace vindle {

namespace {

using emscripten::val;

class PageEmulatedModule
{
public:
    // The settings as vindle-emulator's arguments, e.g. ["--running"].
    // Arguments it does not take throw.
    explicit PageEmulatedModule(const val& arguments) : module_(settings(arguments)) {}

    // A byte from the utility, arriving now.
    void receive(int byte) { module_.receive(static_cast<std::uint8_t>(byte), clock_.now()); }
    // The bytes due on the line by now, oldest first.
    val takeDue()
    {
        val bytes = val::array();
        const Clock::TimePoint now = clock_.now();
        while (module_.available(now) > 0)
            bytes.call<void>("push", module_.take(now));
        return bytes;
    }
    // Milliseconds until the next byte is due; null when none is coming.
    val nextDueIn() const
    {
        const auto due = module_.nextDue();
        if (!due)
            return val::null();
        const std::chrono::duration<double, std::milli> wait = *due - clock_.now();
        return val(std::max(wait.count(), 0.0));
    }
    // The 51 locations the module holds.
    val configuration() const
    {
        val values = val::array();
        for (const auto value : module_.configuration())
            values.call<void>("push", value);
        return values;
    }
    bool inConfigurationMode() const { return module_.inConfigurationMode(); }

private:
    static emulator::EmulatorSettings settings(const val& arguments)
    {
        const auto parsed =
            emulator::parseCommandLine(emscripten::vecFromJSArray<std::string>(arguments));
        if (!parsed.options)
            throw std::invalid_argument(parsed.error);
        return parsed.options->settings;
    }

    PageClock clock_;
    emulator::ModuleEmulator module_;
};

} // namespace

} // namespace vindle

EMSCRIPTEN_BINDINGS(vindle_emulated_module)
{
    emscripten::class_<vindle::PageEmulatedModule>("EmulatedModule")
        .constructor<const emscripten::val&>()
        .function("receive", &vindle::PageEmulatedModule::receive)
        .function("takeDue", &vindle::PageEmulatedModule::takeDue)
        .function("nextDueIn", &vindle::PageEmulatedModule::nextDueIn)
        .function("configuration", &vindle::PageEmulatedModule::configuration)
        .function("inConfigurationMode", &vindle::PageEmulatedModule::inConfigurationMode);
}
