#include "program/ModuleRun.h"

#include "config/MemoryMap.h"
#include "program/ConfigurationReader.h"
#include "program/ConfigurationStore.h"
#include "program/ModuleText.h"
#include "program/StoreValues.h"

#include <algorithm>

namespace vindle {

namespace {

constexpr const char* kNothingStored = "Nothing was sent to the Vindle Module.";
// What the module must be in to answer.
constexpr const char* kConfigurationMode =
    "Make sure the Program Jumper is Installed and the LED is Flashing (Configuration Mode).";
const std::string kWholeIdentity = "(five bytes and the ready marker, each within " +
                                   std::to_string(kReceiveTimeout.count()) + " ms)";
const std::string kNoIdentity = "The Vindle Module did not answer with its identity " +
                                kWholeIdentity + ".  " + kConfigurationMode;
const std::string kNotAnIdentity =
    "The Vindle Module answered, but not with its identity " + kWholeIdentity +
    ": a module that runs sends its data, and a slow or noisy line cuts a reply short.  " +
    kConfigurationMode;

} // namespace

ModuleRun::ModuleRun(SerialPort& port, EventPump& pump, const Clock& clock, RunReporter& reporter,
                     StoreJournal* journal)
    : reporter_(reporter), dialogs_(reporter), program_(port, pump, clock, dialogs_)
{
    program_.setEvents(
        {[this](Transfer transfer) { reporter_.transfer(transfer, std::nullopt); },
         [this](Transfer transfer, int location) { reporter_.transfer(transfer, location); }});
    program_.link().setJournal(journal);
    // Whatever an earlier program left on the line is no reply to this one,
    // and a store it left open is given up by the module first.
    if (program_.link().settle() == StoreJournal::Earlier::Unknown)
        tell("Cannot tell whether an earlier run left the Vindle Module in the middle of a store "
             "(its note cannot be kept here), so the module was given its store time-out first.");
}

ModuleRun::~ModuleRun()
{
    // The next program must find the module ready for a command; after a
    // second Ctrl+C the journal tells it to wait instead.
    if (!abandoned_)
        program_.link().waitOutUnfinishedStore();
}

void ModuleRun::tell(const std::string& text)
{
    messages_.push_back(text);
    reporter_.message(text);
}

void ModuleRun::interrupt()
{
    interrupted_ = true;
    if (!storing_)
        program_.end();
}

void ModuleRun::interruptAgain()
{
    interrupted_ = true;
    abandoned_ = true;
    program_.endNow();
}

void ModuleRun::portFailed(const std::string& reason)
{
    if (portFailure_)
        return;
    portFailure_ = reason;
    program_.endNow();
}

ExitStatus ModuleRun::endedStatus(const std::string& what)
{
    if (portFailure_) {
        tell("The serial port failed: " + *portFailure_ + "; " + what);
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
        tell("The Vindle Module did not answer the read command (" +
             std::to_string(ConfigurationReader::kMostFailedPasses + 1) + " tries).  " +
             kConfigurationMode + "  `vindle-config monitor` shows what a module that runs sends.");
        return ExitStatus::NoAnswer;
    case ReadOutcome::Unconfirmed: {
        std::string where;
        for (const int location : result.unconfirmed)
            where += (where.empty() ? "" : ", ") + locationText(location);
        tell("The Vindle Module's configuration came differently in each of " +
             std::to_string(ConfigurationReader::kMostConfirmingReads) + " reads in a row, at " +
             where +
             ", so none of them can be trusted.  Check the cable and the adapter, then try "
             "again.");
        return ExitStatus::NoAnswer;
    }
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

ExitStatus ModuleRun::read(bool acceptChanges)
{
    const ReadResult result = program_.readConfiguration(ReadOptions{.confirm = true});
    if (const ExitStatus status = readStatus(result); status != ExitStatus::Done)
        return status;
    if (result.identityIncomplete) {
        tell(kNoIdentity);
        return ExitStatus::NoAnswer;
    }
    changes_ = result.changed;
    return changedStatus(acceptChanges);
}

ExitStatus ModuleRun::readHeld()
{
    const ReadResult result = program_.readConfiguration(
        ReadOptions{.stopAtUnshowable = false, .identify = false, .confirm = true});
    if (const ExitStatus status = readStatus(result); status != ExitStatus::Done)
        return status;
    held_ = result.received;
    return ExitStatus::Done;
}

ExitStatus ModuleRun::changedStatus(bool acceptChanges)
{
    if (changes_.empty())
        return ExitStatus::Done;
    std::string text = "The windows would change what the Vindle Module holds:";
    for (const UnkeptValue& change : changes_)
        text += "\n    " + changedValueText(change);
    tell(text + (acceptChanges ? std::string("\nThe file keeps what the windows make of them and "
                                             "lists the changes in its comment.")
                               : std::string("\nNo file was written; --accept-changes writes one "
                                             "as the windows have it.")));
    return acceptChanges ? ExitStatus::Done : ExitStatus::Unshowable;
}

ExitStatus ModuleRun::identity()
{
    reporter_.step("Asking the module for its identity...");
    const std::uint64_t sentBefore = program_.link().bytesSent();
    const std::uint64_t takenBefore = program_.link().bytesTaken();
    const std::optional<Identity> identity = program_.readIdentity();
    if (program_.hasEnded())
        return endedStatus(program_.link().bytesSent() == sentBefore
                               ? "the identity was not read."
                               : "the identity was not read; its command had gone out, and may "
                                 "have cleared the Vindle Module to its factory defaults.");
    if (!identity) {
        identityGarbled_ = program_.link().bytesTaken() != takenBefore;
        tell(identityGarbled_ ? kNotAnIdentity : kNoIdentity);
        return ExitStatus::NoAnswer;
    }
    identity_ = moduleIdentityRecord(*identity);
    return ExitStatus::Done;
}

ExitStatus ModuleRun::defaults()
{
    // What the module holds before: the read command alone changes nothing.
    const ReadResult before =
        program_.readConfiguration(ReadOptions{.identify = false, .confirm = true});
    if (before.outcome == ReadOutcome::NoAnswer || before.outcome == ReadOutcome::Ended ||
        before.outcome == ReadOutcome::Unconfirmed)
        return readStatus(before);
    reporter_.step("Clearing to factory defaults...");
    const ReadResult after = program_.clearToFactoryDefaults(ReadOptions{.confirm = true});
    if (after.identityIncomplete) {
        tell(kNoIdentity + "  It may not have been cleared.");
        return ExitStatus::NoAnswer;
    }
    if (const ExitStatus status = readStatus(after); status != ExitStatus::Done)
        return status;
    cleared_ = 0;
    for (int location = 0; location < kLocationCount; ++location)
        cleared_ += after.received[location] != before.received[location] ? 1 : 0;
    return ExitStatus::Done;
}

ModuleRun::Compared ModuleRun::store(const ConfigurationRecord& values, bool verify,
                                     const ModuleIdentityRecord& fileModule, bool refuseOtherModule)
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
    otherModule_ = vindle::otherModule(fileModule, identity_);
    if (otherModule_) {
        if (refuseOtherModule) {
            tell(otherModuleText(*otherModule_) + "  " + kNothingStored +
                 "  --any-module stores it all the same.");
            return ExitStatus::Usage;
        }
        tell(otherModuleText(*otherModule_) + "  It is stored all the same.");
    }

    const SetupProgram::Opened opened = program_.openConfiguration(
        values, CapabilityFlags(static_cast<std::uint8_t>(identity_.capabilities.value_or(0))));
    if (!opened.unkept.empty()) {
        tell("This Vindle Module cannot hold the file as it is.  " + std::string(kNothingStored) +
             unkeptValuesLines(opened.unkept, UnkeptWording::ThisModule));
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

    reporter_.step("Stored; reading it back...");
    const ReadResult readBack = program_.readConfiguration(ReadOptions{.identify = false});
    if (readBack.outcome == ReadOutcome::Ended)
        return endedStatus("all 51 locations were stored, but the read-back was not complete.");
    if (readBack.outcome == ReadOutcome::NoAnswer) {
        tell("All 51 locations were stored, but the Vindle Module did not answer the read-back, "
             "so they were not verified.");
        return ExitStatus::NoAnswer;
    }
    if (const ExitStatus status = readStatus(readBack); status != ExitStatus::Done)
        return status;
    std::vector<Difference> differences = differencesOf(values, readBack.record);
    const ExitStatus status = differences.empty() ? ExitStatus::Done : ExitStatus::Differences;
    return {status, std::move(differences)};
}

ModuleRun::Compared ModuleRun::compare(const ConfigurationRecord& file)
{
    const ReadResult result = program_.readConfiguration(ReadOptions{.identify = false});
    if (const ExitStatus status = readStatus(result); status != ExitStatus::Done)
        return status;
    return {ExitStatus::Done, differencesOf(file, result.received)};
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
        tell(store_.refusal + "  " + kNothingStored);
        return ExitStatus::Usage;
    case StoreOutcome::BadField:
        tell(store_.refusal);
        return ExitStatus::Usage;
    case StoreOutcome::Refused: {
        const int at = store_.refusedAt.value_or(0);
        tell(std::string(ConfigurationStore::kStorageError));
        tell("The Vindle Module did not acknowledge " + locationText(at) +
             (store_.unanswered ? " and answered nothing more" : "") + "; " + storedThrough() +
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
    if (portFailure_) {
        tell("The serial port failed: " + *portFailure_);
        return ExitStatus::PortFailed;
    }
    return ExitStatus::Done;
}

ConfigurationFileContents ModuleRun::contents()
{
    return program_.configurationToSave().contents;
}

} // namespace vindle
