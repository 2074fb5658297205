#include "ModuleRun.h"

#include "ModuleText.h"
#include "TerminalProgress.h"
#include "config/MemoryMap.h"
#include "program/ConfigurationReader.h"
#include "program/ConfigurationStore.h"
#include "program/StoreValues.h"

#include <algorithm>

namespace vindle::cli {

namespace {

constexpr const char* kNothingStored = "Nothing was sent to the Vindle Module.";

} // namespace

ModuleRun::ModuleRun(SerialPort& port, EventPump& pump, const Clock& clock,
                     TerminalProgress& progress)
    : progress_(progress), program_(port, pump, clock, dialogs_)
{
    program_.setEvents(
        {[this](Transfer transfer) { progress_.transfer(transfer, std::nullopt); },
         [this](Transfer transfer, int location) { progress_.transfer(transfer, location); }});
    // Whatever an earlier program left on the line is no reply to this one.
    program_.link().settle();
}

ModuleRun::~ModuleRun()
{
    // The next program must find the module ready for a command.
    program_.link().waitOutUnfinishedStore();
}

void ModuleRun::tell(const std::string& text)
{
    progress_.breakLine();
    messages_.push_back(text);
    dialogs_.showMessage(text);
}

void ModuleRun::interrupt()
{
    interrupted_ = true;
    if (!storing_)
        program_.end();
}

void ModuleRun::portFailed(const std::string& reason)
{
    if (portFailed_)
        return;
    portFailed_ = true;
    tell("The serial port failed: " + reason);
    program_.end();
}

ExitStatus ModuleRun::endedStatus(const std::string& what)
{
    if (portFailed_) {
        tell(what);
        return ExitStatus::PortFailed;
    }
    tell("Interrupted: " + what);
    return ExitStatus::Interrupted;
}

ExitStatus ModuleRun::readStatus(const ReadResult& result)
{
    switch (result.outcome) {
    case ReadOutcome::Read:
    case ReadOutcome::PartlyShown:
        if (result.identity)
            identity_ = moduleIdentityRecord(*result.identity);
        return ExitStatus::Done;
    case ReadOutcome::NoAnswer:
        tell(ConfigurationReader::kNoCommunication);
        tell("No data monitor is opened here: `vindle-config monitor` shows what the module "
             "sends.");
        return ExitStatus::NoAnswer;
    case ReadOutcome::Unshowable:
        for (const UnshowableValue& value : result.unshowable)
            tell(cannotShowMessage(value.location, value.value));
        tell("Nothing was sent to change it; `vindle-config defaults --yes` clears the module to "
             "its factory defaults.");
        return ExitStatus::Unshowable;
    case ReadOutcome::Ended:
        break;
    }
    return endedStatus("the read was not complete.");
}

ExitStatus ModuleRun::read()
{
    return readStatus(program_.readConfiguration(ReadOptions{}));
}

ExitStatus ModuleRun::identity()
{
    const std::optional<Identity> identity = program_.readIdentity();
    if (!identity || program_.hasEnded())
        return endedStatus("the identity was not read.");
    if (!identity->answered()) {
        tell("The Vindle Module did not answer.  Make sure the Program Jumper is Installed and the "
             "LED is Flashing (Configuration Mode).");
        return ExitStatus::NoAnswer;
    }
    identity_ = moduleIdentityRecord(*identity);
    return ExitStatus::Done;
}

ExitStatus ModuleRun::defaults()
{
    return readStatus(program_.clearToFactoryDefaults());
}

ExitStatus ModuleRun::store(const ConfigurationRecord& values, bool verify,
                            std::vector<Difference>& differences)
{
    // The identity first: its command may clear a module to its defaults,
    // which the store then overwrites; and its flags say which transmitter
    // choices this module keeps.
    if (!interrupted_) {
        if (const ExitStatus status = identity(); status != ExitStatus::Done)
            return status == ExitStatus::NoAnswer ? (tell("Nothing was stored."), status) : status;
    }
    if (interrupted_)
        return endedStatus("nothing was stored.");

    const SetupProgram::Opened opened = program_.openConfiguration(
        values, CapabilityFlags(static_cast<std::uint8_t>(identity_.capabilities.value_or(0))));
    if (!opened.unkept.empty()) {
        std::string text =
            "This Vindle Module cannot hold the file as it is.  " + std::string(kNothingStored);
        for (const UnkeptValue& value : opened.unkept)
            text += "\n    " + locationText(value.location) + ": the file holds " +
                    std::to_string(value.wanted) + ", this module " + std::to_string(value.held);
        tell(text);
        return ExitStatus::Usage;
    }

    storing_ = true;
    store_ = program_.storeConfiguration();
    storing_ = false;
    if (const ExitStatus status = storeStatus(); status != ExitStatus::Done)
        return status;
    if (interrupted_) {
        tell("Interrupted after the store: all 51 locations were stored; the module was not read "
             "back.");
        return ExitStatus::Interrupted;
    }
    if (!verify)
        return ExitStatus::Done;

    progress_.step("Stored; reading it back...");
    const ReadResult readBack = program_.readConfiguration(ReadOptions{.identify = false});
    if (readBack.outcome == ReadOutcome::Ended)
        return endedStatus("all 51 locations were stored, but the read-back was not complete.");
    if (const ExitStatus status = readStatus(readBack); status != ExitStatus::Done)
        return status;
    for (int location = 0; location < kLocationCount; ++location) {
        if (readBack.record[location] != values[location])
            differences.push_back({location, values[location], readBack.record[location]});
    }
    return differences.empty() ? ExitStatus::Done : ExitStatus::Differences;
}

ExitStatus ModuleRun::storeStatus()
{
    const auto storedThrough = [this] {
        return store_.lastAcknowledged
                   ? "locations 0 to " + std::to_string(*store_.lastAcknowledged) + " were stored"
                   : std::string("no location was acknowledged");
    };
    switch (store_.outcome) {
    case StoreOutcome::Stored:
        return ExitStatus::Done;
    case StoreOutcome::NoOutput:
        tell(std::string(ConfigurationStore::kNoOutput) + "  " + kNothingStored);
        return ExitStatus::Usage;
    case StoreOutcome::BadField:
        tell(storeValues(program_.windows()).refusal);
        return ExitStatus::Usage;
    case StoreOutcome::NoAnswer:
        tell("The Vindle Module did not answer the store; nothing was stored.  Make sure the "
             "Program Jumper is Installed and the LED is Flashing (Configuration Mode).");
        return ExitStatus::NoAnswer;
    case StoreOutcome::Refused: {
        const int at = store_.refusedAt.value_or(0);
        tell(std::string(ConfigurationStore::kStorageError));
        tell("The Vindle Module did not acknowledge " + locationText(at) + "; " + storedThrough() +
             ", and " + locationText(at) + " may have been.");
        return ExitStatus::StoreRefused;
    }
    case StoreOutcome::Ended:
        break;
    }
    if (!store_.valueSent)
        return endedStatus("nothing was stored.");
    return endedStatus("the store was not complete: " + storedThrough() +
                       "; the module keeps its earlier values from there on.");
}

ExitStatus ModuleRun::monitor(std::optional<int> bitRate, bool header, bool keys,
                              const std::function<void(const std::string&)>& line)
{
    MonitorWindow& window = program_.monitor();
    if (bitRate) {
        const auto& rates = MonitorWindow::kBitRates;
        const auto found = std::find(rates.begin(), rates.end(), *bitRate);
        if (found != rates.end())
            window.Baud().select(static_cast<int>(found - rates.begin()));
    }
    window.HeaderCheck().setValue(header ? CheckBox::kChecked : CheckBox::kUnchecked);
    window.KeysCheck().setValue(keys ? CheckBox::kChecked : CheckBox::kUnchecked);

    LineDisplay& display = window.Text1();
    std::uint64_t written = display.linesAdded();
    display.addListener([&display, &written, &line](const Control&) {
        const std::uint64_t added = display.linesAdded();
        const std::size_t fresh = static_cast<std::size_t>(
            std::min<std::uint64_t>(added - written, display.lines().size()));
        for (std::size_t i = fresh; i > 0; --i)
            line(display.lines()[i - 1]);
        written = added;
    });
    program_.watchModule();
    return portFailed_ ? ExitStatus::PortFailed : ExitStatus::Done;
}

ConfigurationFileContents ModuleRun::contents()
{
    return program_.configurationToSave().contents;
}

} // namespace vindle::cli
