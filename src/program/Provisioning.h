#pragma once

#include "link/Clock.h"
#include "link/EventPump.h"
#include "link/PortConnection.h"
#include "link/SerialPort.h"
#include "link/StoreJournal.h"
#include "program/ExitStatus.h"
#include "program/ModuleRun.h"
#include "program/ModuleText.h"

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace vindle {

// One module's turn on the bench: what became of it.
struct ProvisionedModule
{
    int number = 0; // 1 for the first module of the run
    ModuleIdentityRecord identity;
    ExitStatus status = ExitStatus::Done;
    std::vector<Difference> differences;
    std::optional<int> refusedAt;
    std::optional<int> lastStored;
    // The acknowledgement at `refusedAt` did not come.
    bool unanswered = false;
    // Something came back, but no identity.
    bool identityGarbled = false;
    // Not stored: the file is from another kind of module.
    std::optional<OtherModule> otherModule;
    // Compared with the file (the read command alone) instead of stored.
    bool checked = false;

    // "stored and verified", "the module refused the store at location 7 (...)",
    // "holds the file", "differs from the file at location 5", ...
    std::string outcome() const;
    // "Module 2, Device ID #1: 17, ...: stored and verified"
    std::string line() const;
};

// What a run of the bench came to.
struct ProvisioningSummary
{
    int provisioned = 0;
    // Checked against the file and found to hold it.
    int holding = 0;
    // "module 1 (Device ID #1: 35, ...)" for each module that failed.
    std::vector<std::string> failed;
    // That of the last module that failed; Done when none did; Interrupted
    // when stopped before any module; Usage (or the module's own) when a
    // module's result could not be recorded.
    ExitStatus status = ExitStatus::Done;

    // "2 modules stored and verified; 1 failed: module 2 (...)."
    std::string text() const;
};

// The bench's running count: "2 stored and verified, 1 failed", and the
// modules checked and found to hold the file when there are any.
std::string tallyText(int verified, int failed, int same = 0);

// Stores one configuration into module after module on one port: waits
// until a module answers, stores and verifies it (identity and capability
// flags first, as a single store does), tells what became of it, waits until
// it stops answering (unplugged), and goes on until stopped.
//
// Between modules it asks at most once a second, with the read command
// only: the identify command's bytes also clear a module to its defaults.
class Provisioning
{
public:
    static constexpr std::chrono::seconds kPollInterval{1};
    // Told of the run a module is going through, and of nullptr once it is over.
    using RunHook = std::function<void(ModuleRun*)>;
    // Told of each module once it is done; false (its result could not be
    // recorded) ends the bench before the next module.
    using ModuleDone = std::function<bool(const ProvisionedModule&)>;

    // `stopRequested` is asked between steps; `portName` is what the steps
    // call the port.
    Provisioning(SerialPort& port, PortConnection& connection, EventPump& pump, const Clock& clock,
                 RunReporter& reporter, StoreJournal* journal, std::function<bool()> stopRequested,
                 std::string portName);

    // `checking`, asked before each module, makes that module's turn a
    // check against the file that writes nothing (a diff) instead of a store.
    ProvisioningSummary run(const ConfigurationRecord& values, const RunHook& hook,
                            const ModuleDone& done, const std::function<bool()>& checking = {});
    // The module the file was saved from: another kind of module is refused
    // (unless `anyModule`) instead of stored. None by default.
    void setFileModule(const ModuleIdentityRecord& module, bool anyModule)
    {
        fileModule_ = module;
        anyModule_ = anyModule;
    }

private:
    // Polls until a module answers (or no longer does); false when stopped
    // first.
    bool waitUntil(bool answering);
    // One poll; a closed port is opened again when `reopen`.
    bool answers(bool reopen);
    bool stopped() const { return stopRequested_ && stopRequested_(); }

    SerialPort& port_;
    PortConnection& connection_;
    EventPump& pump_;
    const Clock& clock_;
    RunReporter& reporter_;
    StoreJournal* journal_;
    std::function<bool()> stopRequested_;
    std::string portName_;
    std::optional<Clock::TimePoint> nextPoll_;
    ModuleIdentityRecord fileModule_;
    bool anyModule_ = true;
};

} // namespace vindle
