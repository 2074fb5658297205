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
    // The 51 values the module held before its turn, as the poll that found
    // it answering read them; empty when that reply did not come whole.
    std::optional<ConfigurationRecord> before;
    // The unit's serial number as given for it, and which attempt at that
    // unit this is (only from the second on).
    std::optional<std::string> serial;
    std::optional<int> attempt;

    // "stored and verified", "the module refused the store at location 7 (...)",
    // "holds the file", "differs from the file at location 5", ...
    std::string outcome() const;
    // "Module 2, Device ID #1: 17, ...: stored and verified", with "Module 2
    // (serial number SN-7), ..." when the person gave one"
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

// The serial number of the next module, as the person typed or scanned it.
struct SerialAnswer
{
    std::string serial;
    int attempt = 1;
};

// Stores one configuration into module after module on one port: waits
// until a module answers, stores and verifies it (identity and capability
// flags first, as a single store does), tells what became of it, waits until
// it stops answering (unplugged) or another module answers in its place, and
// goes on until stopped.
//
// Between modules it asks at most once a second, with the read command
// only: the identify command's bytes also clear a module to its defaults.
// Each poll's reply is read as the module's values: a module that answers
// with other values than the one just done was left holding is another
// module, swapped in between two polls.
class Provisioning
{
public:
    static constexpr std::chrono::seconds kPollInterval{1};
    // What the bench says while it waits for the module just done to go.
    static constexpr const char* kUnplugText =
        "Done with this module: unplug it. The next module is taken once this one stops "
        "answering, or once a module that holds other values answers.";
    // Asked before each module's wait (number 1, 2, ...), when set; no
    // answer ends the bench as Stop does.
    using AskSerial = std::function<std::optional<SerialAnswer>(int number)>;
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
    // The question for each unit's serial number; none by default.
    void setSerialAsker(AskSerial ask) { askSerial_ = std::move(ask); }
    // What the bench waits for between modules, as it begins to wait: a
    // module to answer, or the one just done to go (its step then says
    // kUnplugText).
    enum class Wait
    {
        ForModule,
        ForRemoval,
    };
    void onWait(std::function<void(Wait)> hook) { waitHook_ = std::move(hook); }

private:
    // What one poll heard: nothing, or a reply, and the values it carried
    // when it came whole.
    struct Poll
    {
        bool answered = false;
        std::optional<ConfigurationRecord> values;
    };
    // Polls until a module answers; empty when stopped first.
    std::optional<Poll> waitForModule();
    // Polls until the module just done stops answering, or a module that
    // holds something else than `left` answers; false when stopped first.
    // `left` empty: what the first poll that brings values reads.
    bool waitForRemoval(std::optional<ConfigurationRecord> left);
    // Waits until the next poll is due; false when stopped meanwhile.
    bool pollDue();
    // One poll; a closed port is opened again when `reopen`.
    Poll poll(bool reopen);
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
    AskSerial askSerial_;
    std::function<void(Wait)> waitHook_;
    // The first poll has waited out what an earlier run left on the line.
    bool settled_ = false;
};

} // namespace vindle
