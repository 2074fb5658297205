#include "program/Provisioning.h"

#include "link/ByteLink.h"
#include "link/DeviceCommands.h"

namespace vindle {

namespace {

// The reply to the read command: the location and value pairs, and the three
// bytes after them.
constexpr int kReadReplyLength = 2 * kLocationCount + 3;

} // namespace

std::string ProvisionedModule::outcome() const
{
    if (checked && status == ExitStatus::Done)
        return "holds the file";
    if (identityGarbled && status == ExitStatus::NoAnswer)
        return "the module answered, but not with its identity";
    if (otherModule)
        return "not stored: the file was saved from another kind of module (Device ID #1: " +
               std::to_string(otherModule->fileDeviceId1) + ")";
    if (checked && status == ExitStatus::Differences)
        return "differs from the file" + atLocationsText(differences);
    return outcomeText(status, differences, refusedAt, lastStored, unanswered);
}

std::string ProvisionedModule::line() const
{
    const std::string unit = serial ? " (serial number " + *serial + ")" : std::string();
    return "Module " + std::to_string(number) + unit + ", " + identityText(identity) + ": " +
           outcome();
}

std::string tallyText(int verified, int failed, int same)
{
    return std::to_string(verified) + " stored and verified, " +
           (same > 0 ? std::to_string(same) + " holding the file, " : std::string()) +
           std::to_string(failed) + " failed";
}

std::string ProvisioningSummary::text() const
{
    std::string summary =
        std::to_string(provisioned) + (provisioned == 1 ? " module" : " modules") +
        " stored and verified" +
        (holding > 0 ? ", " + std::to_string(holding) + " holding the file" : std::string());
    if (failed.empty())
        return summary + ", none failed.";
    summary += "; " + std::to_string(failed.size()) + " failed:";
    for (std::size_t i = 0; i < failed.size(); ++i)
        summary += " " + failed[i] + (i + 1 == failed.size() ? "." : ",");
    return summary;
}

Provisioning::Provisioning(SerialPort& port, PortConnection& connection, EventPump& pump,
                           const Clock& clock, RunReporter& reporter, StoreJournal* journal,
                           std::function<bool()> stopRequested, std::string portName)
    : port_(port), connection_(connection), pump_(pump), clock_(clock), reporter_(reporter),
      journal_(journal), stopRequested_(std::move(stopRequested)), portName_(std::move(portName))
{}

ProvisioningSummary Provisioning::run(const ConfigurationRecord& values, const RunHook& hook,
                                      const ModuleDone& done, const std::function<bool()>& checking)
{
    ProvisioningSummary summary;
    std::optional<ExitStatus> lastFailure;
    bool unrecorded = false;
    int modules = 0;
    for (int number = 1;; ++number) {
        std::optional<SerialAnswer> serial;
        if (askSerial_) {
            serial = askSerial_(number);
            if (!serial)
                break;
        }
        reporter_.step("Waiting for a module to answer on " + portName_ + "...");
        if (waitHook_)
            waitHook_(Wait::ForModule);
        const std::optional<Poll> found = waitForModule();
        if (!found)
            break;
        ProvisionedModule module;
        module.number = number;
        module.before = found->values;
        if (serial) {
            module.serial = serial->serial;
            if (serial->attempt > 1)
                module.attempt = serial->attempt;
        }
        {
            ModuleRun run(port_, pump_, clock_, reporter_, journal_);
            if (hook)
                hook(&run);
            module.checked = checking && checking();
            ModuleRun::Compared result = module.checked
                                             ? run.compare(values)
                                             : run.store(values, true, fileModule_, !anyModule_);
            module.status = result.status;
            module.differences = std::move(result.differences);
            if (module.checked && module.status == ExitStatus::Done && !module.differences.empty())
                module.status = ExitStatus::Differences;
            module.identity = run.identityRecord();
            if (module.status == ExitStatus::Differences)
                run.tell(differencesText(module.differences));
            module.refusedAt = run.refusedAt();
            module.lastStored = run.lastStored();
            module.unanswered = run.storeUnanswered();
            module.identityGarbled = run.identityGarbled();
            if (module.status == ExitStatus::Usage)
                module.otherModule = run.otherModule();
            if (hook)
                hook(nullptr);
        }
        ++modules;
        if (module.status == ExitStatus::Done) {
            ++(module.checked ? summary.holding : summary.provisioned);
        } else {
            lastFailure = module.status;
            summary.failed.push_back("module " + std::to_string(number) + " (" +
                                     identityText(module.identity) + ")");
        }
        // Nothing is stored into another module once a result goes unrecorded.
        unrecorded = done && !done(module);
        if (stopped() || unrecorded)
            break;
        reporter_.step(kUnplugText);
        if (waitHook_)
            waitHook_(Wait::ForRemoval);
        // A module that verified holds the file; of any other, what it holds
        // is known from the next poll on.
        if (!waitForRemoval(module.status == ExitStatus::Done ? std::optional(values)
                                                              : std::nullopt))
            break;
    }
    if (unrecorded)
        summary.status = lastFailure.value_or(ExitStatus::Usage);
    else if (modules == 0)
        summary.status = ExitStatus::Interrupted;
    else
        summary.status = lastFailure.value_or(ExitStatus::Done);
    return summary;
}

bool Provisioning::pollDue()
{
    // At most one poll a second, also from one wait to the next.
    while (!stopped() && nextPoll_ && clock_.now() < *nextPoll_)
        pump_.waitFor(*nextPoll_ - clock_.now());
    if (stopped())
        return false;
    nextPoll_ = clock_.now() + kPollInterval;
    return true;
}

std::optional<Provisioning::Poll> Provisioning::waitForModule()
{
    while (pollDue()) {
        Poll found = poll(true);
        if (found.answered)
            return stopped() ? std::nullopt : std::optional(std::move(found));
    }
    return std::nullopt;
}

bool Provisioning::waitForRemoval(std::optional<ConfigurationRecord> left)
{
    while (pollDue()) {
        const Poll heard = poll(false);
        if (!heard.answered)
            return !stopped();
        // A reply that did not come whole tells nothing of whose it is.
        if (!heard.values)
            continue;
        if (!left)
            left = heard.values;
        else if (left->values != heard.values->values)
            return !stopped();
    }
    return false;
}

Provisioning::Poll Provisioning::poll(bool reopen)
{
    // A port that failed went away with its module (an adapter pulled out):
    // that module is gone, even when the next is there already under the
    // same name. The port is opened afresh only to wait for the next module;
    // one that hears nothing is opened afresh for the next poll too.
    if (!connection_.isOpen() && (!reopen || !connection_.reopen()))
        return {};
    ByteLink link(port_, pump_, clock_);
    if (!settled_) {
        // A store an earlier run left open would take this poll's bytes as
        // values: the module is given it up first, as every run's start does.
        link.setJournal(journal_);
        link.settle();
        settled_ = true;
        nextPoll_ = clock_.now() + kPollInterval;
    }
    link.dropPending();
    const std::uint64_t takenBefore = link.bytesTaken();
    const auto taken = [&] { return link.bytesTaken() - takenBefore; };
    ConfigurationRecord values;
    const ReadPassResult pass = readConfigurationPass(link, values.values);
    if (taken() == 0) {
        connection_.close();
        return {};
    }
    // The whole reply, each byte given the time the read gives it, so that
    // nothing of it is still on its way when the next command goes out,
    // however slow the module or its line.
    while (taken() < kReadReplyLength && link.receiveByte().hasValue()) {
    }
    const bool whole = pass.complete() && taken() == kReadReplyLength;
    link.dropUntilQuiet();
    return {true, whole ? std::optional(values) : std::nullopt};
}

} // namespace vindle
