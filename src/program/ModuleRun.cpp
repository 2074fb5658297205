#include "program/ModuleRun.h"

#include "config/MemoryMap.h"
#include "program/ConfigurationReader.h"
#include "program/ConfigurationStore.h"
#include "program/KeptValues.h"
#include "program/ModuleText.h"

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
    : reporter_(reporter), session_(port, pump, clock)
{
    session_.followTransfers({
        .begins = [this](Transfer transfer) { reporter_.transfer(transfer, std::nullopt); },
        .reached = [this](Transfer transfer,
                          int location) { reporter_.transfer(transfer, location); },
        .answered = {},
        .ends = {},
        .received = {},
    });
    session_.link().setJournal(journal);
    // Whatever an earlier program left on the line is no reply to this one,
    // and a store it left open is given up by the module first.
    if (session_.link().settle() == StoreJournal::Earlier::Unknown)
        tell("Cannot tell whether an earlier run left the Vindle Module in the middle of a store "
             "(its note cannot be kept here), so the module was given its store time-out first.");
}

ModuleRun::~ModuleRun()
{
    // The next program must find the module ready for a command; after a
    // second Ctrl+C the journal tells it to wait instead.
    if (!abandoned_)
        session_.link().waitOutUnfinishedStore();
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
        session_.end();
}

void ModuleRun::interruptAgain()
{
    interrupted_ = true;
    abandoned_ = true;
    session_.endNow();
}

void ModuleRun::portFailed(const std::string& reason)
{
    if (portFailure_)
        return;
    portFailure_ = reason;
    session_.endNow();
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
    const ReadResult result = readConfiguration(ReadOptions{.confirm = true});
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
    const ReadResult result = readConfiguration(
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
    const std::uint64_t sentBefore = session_.link().bytesSent();
    const std::uint64_t takenBefore = session_.link().bytesTaken();
    const std::optional<Identity> identity = session_.readIdentity();
    if (session_.hasEnded())
        return endedStatus(session_.link().bytesSent() == sentBefore
                               ? "the identity was not read."
                               : "the identity was not read; its command had gone out, and may "
                                 "have cleared the Vindle Module to its factory defaults.");
    if (!identity) {
        identityGarbled_ = session_.link().bytesTaken() != takenBefore;
        tell(identityGarbled_ ? kNotAnIdentity : kNoIdentity);
        return ExitStatus::NoAnswer;
    }
    identity_ = moduleIdentityRecord(*identity);
    return ExitStatus::Done;
}

ExitStatus ModuleRun::defaults()
{
    // What the module holds before: the read command alone changes nothing.
    const ReadResult before = readConfiguration(ReadOptions{.identify = false, .confirm = true});
    if (before.outcome == ReadOutcome::NoAnswer || before.outcome == ReadOutcome::Ended ||
        before.outcome == ReadOutcome::Unconfirmed)
        return readStatus(before);
    reporter_.step("Clearing to factory defaults...");
    const ReadResult after =
        session_.clearToFactoryDefaults(configuration_, ReadOptions{.confirm = true});
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

    const std::vector<UnkeptValue> unkept = configuration_.put(
        values, CapabilityFlags(static_cast<std::uint8_t>(identity_.capabilities.value_or(0))));
    if (!unkept.empty()) {
        tell("This Vindle Module cannot hold the file as it is.  " + std::string(kNothingStored) +
             unkeptValuesLines(unkept, UnkeptWording::ThisModule));
        return ExitStatus::Usage;
    }

    storing_ = true;
    store_ = session_.storeConfiguration(configuration_);
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
    const ReadResult readBack = readConfiguration(ReadOptions{.identify = false});
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
    const ReadResult result = readConfiguration(ReadOptions{.identify = false});
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

namespace {

// The command line's monitor: each line goes out as it is framed.
class LinesOut final : public MonitorLines
{
public:
    LinesOut(const ModuleRun::MonitorOptions& options,
             const std::function<void(const std::string&)>& line)
        : options_(options), line_(line)
    {}
    bool headerFraming() const override { return options_.header; }
    // Keys only follow a header.
    bool keyFraming() const override { return options_.header && options_.keys; }
    void add(const MonitorLine& line) override { line_(lineText(line, options_.format)); }
    std::size_t undrawn() const override { return 0; }
    void draw() override {}

private:
    const ModuleRun::MonitorOptions& options_;
    const std::function<void(const std::string&)>& line_;
};

} // namespace

ExitStatus ModuleRun::monitor(const MonitorOptions& options, const WallClock& wall,
                              const std::function<void(const std::string&)>& line)
{
    // The command line takes only the rates of kMonitorBitRates.
    if (options.bitRate)
        session_.link().port().setBitRate(*options.bitRate);
    LinesOut lines(options, line);
    session_.watch(lines, wall, options.capture);
    if (portFailure_) {
        tell("The serial port failed: " + *portFailure_);
        return ExitStatus::PortFailed;
    }
    return ExitStatus::Done;
}

ConfigurationFileContents ModuleRun::contents()
{
    return {moduleIdentityRecord(session_.reader().identity()), configuration_.record(), {}};
}

ReadResult ModuleRun::readConfiguration(const ReadOptions& options)
{
    ReadResult result = session_.readConfiguration(configuration_, options);
    if (result.outcome == ReadOutcome::Read || result.outcome == ReadOutcome::PartlyShown)
        configuration_.keep();
    return result;
}

} // namespace vindle
