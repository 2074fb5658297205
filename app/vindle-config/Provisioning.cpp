#include "Provisioning.h"

#include "InterruptSignal.h"
#include "ModuleRun.h"
#include "TerminalProgress.h"
#include "link/ByteLink.h"
#include "link/DeviceCommands.h"
#include "program/ModuleText.h"
#include "qt/core/QtSerialPort.h"

#include <cstdio>

namespace vindle::cli {

Provisioning::Provisioning(QtSerialPort& port, EventPump& pump, const Clock& clock,
                           TerminalProgress& progress, const InterruptSignal& interrupt,
                           StoreJournal* journal)
    : port_(port), pump_(pump), clock_(clock), progress_(progress), interrupt_(interrupt),
      journal_(journal), device_(port.deviceName())
{}

ExitStatus Provisioning::run(const ConfigurationRecord& values, const RunHook& hook, bool json,
                             nlohmann::json& result, const Recorder& record)
{
    bool unrecorded = false;
    int provisioned = 0;
    std::optional<ExitStatus> lastFailure;
    nlohmann::json modules = nlohmann::json::array();
    std::vector<std::string> failed;
    for (int number = 1;; ++number) {
        progress_.step("Waiting for a module to answer on " + device_.toStdString() + "...");
        if (!waitUntil(true))
            break;
        ExitStatus status = ExitStatus::Done;
        std::vector<Difference> differences;
        ModuleIdentityRecord identity;
        std::optional<int> refusedAt;
        std::optional<int> lastStored;
        {
            ModuleRun module(port_, pump_, clock_, progress_, journal_);
            hook(&module);
            status = module.store(values, true, differences);
            identity = module.identityRecord();
            if (status == ExitStatus::Differences)
                module.tell(differencesText(differences));
            refusedAt = module.refusedAt();
            lastStored = module.lastStored();
            hook(nullptr);
        }
        const std::string outcome = outcomeText(status, differences, refusedAt, lastStored);
        printLine("Module " + std::to_string(number) + ", " + identityText(identity) + ": " +
                      outcome,
                  json);
        modules.push_back(
            {{"module", identityJson(identity)}, {"status", toInt(status)}, {"result", outcome}});
        printObject(modules.back(), json);
        // Nothing is stored into another module once a result goes unrecorded.
        unrecorded = record && !record(identity, status, outcome, differences);
        if (status == ExitStatus::Done) {
            ++provisioned;
        } else {
            lastFailure = status;
            failed.push_back("module " + std::to_string(number) + " (" + identityText(identity) +
                             ")");
        }
        if (interrupt_.requested() || unrecorded)
            break;
        progress_.step("Done with this module: unplug it.");
        if (!waitUntil(false))
            break;
    }

    std::string summary = std::to_string(provisioned) +
                          (provisioned == 1 ? " module" : " modules") + " stored and verified";
    if (failed.empty()) {
        summary += ", none failed.";
    } else {
        summary += "; " + std::to_string(failed.size()) + " failed:";
        for (const std::string& module : failed)
            summary += " " + module + (module == failed.back() ? "." : ",");
    }
    printLine(summary, json);
    result["modules"] = modules;
    result["provisioned"] = provisioned;
    result["failed"] = failed.size();
    if (unrecorded)
        return lastFailure.value_or(ExitStatus::Usage);
    if (modules.empty())
        return ExitStatus::Interrupted;
    return lastFailure.value_or(ExitStatus::Done);
}

bool Provisioning::waitUntil(bool answering)
{
    for (;;) {
        // At most one poll a second, also from one wait to the next.
        while (!interrupt_.requested() && nextPoll_ && clock_.now() < *nextPoll_)
            pump_.waitFor(*nextPoll_ - clock_.now());
        if (interrupt_.requested())
            return false;
        nextPoll_ = clock_.now() + kPollInterval;
        if (answers(answering) == answering)
            return !interrupt_.requested();
    }
}

bool Provisioning::answers(bool reopen)
{
    // A port that failed went away with its module (an adapter pulled out):
    // that module is gone, even when the next is there already under the
    // same name. The port is opened afresh only to wait for the next module;
    // one that hears nothing is opened afresh for the next poll too.
    if (!port_.isOpen() && (!reopen || !port_.open(device_)))
        return false;
    ByteLink link(port_, pump_, clock_);
    link.DumpBuffer();
    sendCommand(link, command::kReadConfiguration);
    if (!link.GetI().hasValue()) {
        port_.close();
        return false;
    }
    link.dropUntilQuiet();
    return true;
}

void Provisioning::printObject(const nlohmann::json& object, bool json)
{
    if (!json)
        return;
    const std::string text = object.dump() + "\n";
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
}

void Provisioning::printLine(const std::string& line, bool json)
{
    if (json)
        return;
    progress_.breakLine();
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

} // namespace vindle::cli
