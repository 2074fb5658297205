// A whole start-up against a module holding any 51 configuration bytes and
// answering the identify command with any five bytes: the read, its limits,
// the decoding into the four windows, the capability flags and, should a value
// not fit, the factory-default recovery. Then the identity is shown, and what
// the windows hold is stored, read back and stored again: both stores must
// send the same bytes. A file saved after the read is one the command line
// would store as it is.

#include "program/KeptValues.h"
#include "support/ProgramOnEmulator.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

using vindle::kIdentityReplyLength;
using vindle::kLocationCount;

// 51 locations, the identity, then one byte of choices.
constexpr std::size_t kInputLength = kLocationCount + kIdentityReplyLength + 1;

std::vector<std::uint8_t> storeAndTakeSent(vindle::test::ProgramOnEmulator& run)
{
    const std::size_t before = run.m.port.written().size();
    run.program.StoreSettings_Click();
    return run.sent(before);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // A short input leaves the rest of the module as it leaves the factory.
    std::array<std::uint8_t, kInputLength> input{};
    vindle::emulator::EmulatorSettings settings;
    std::copy(settings.configuration.begin(), settings.configuration.end(), input.begin());
    std::copy(data, data + std::min(size, kInputLength), input.begin());

    for (int location = 0; location < kLocationCount; ++location)
        settings.configuration[location] = input[location];
    const std::uint8_t* identity = input.data() + kLocationCount;
    settings.deviceId1 = identity[0];
    settings.deviceId2 = identity[1];
    settings.yearOfRelease = identity[2];
    settings.firmwareVersion = identity[3];
    settings.capabilities = identity[4];
    settings.resetOnIdentify = (input.back() & 1) != 0;

    vindle::test::ProgramOnEmulator run(settings);
    run.program.start();
    // A module that answers every command in order is never handed over.
    if (run.program.hasEnded() || run.monitoring())
        std::abort();
    if (!run.main.isVisible() || !run.main.isEnabled())
        std::abort();
    run.program.GetVersion_Click();

    if (!run.dialogs.messages.empty())
        return 0; // recovered, or could not show even the defaults
    // A file saved now is one that a store of it as it is accepts.
    const vindle::RecordCheck check =
        vindle::checkRecord(run.program.configurationToSave().contents.record);
    if (!check.unkept.empty())
        std::abort();
    const std::vector<std::uint8_t> first = storeAndTakeSent(run);
    if (!run.dialogs.messages.empty())
        return 0; // a configuration the store refuses
    run.program.ReadSettings_Click();
    const std::vector<std::uint8_t> second = storeAndTakeSent(run);
    if (first != second || !run.dialogs.messages.empty())
        std::abort();
    return 0;
}
