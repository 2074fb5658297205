#pragma once

#include "config/Configuration.h"
#include "program/ConfigurationFile.h"
#include "program/ExitStatus.h"
#include "program/ModuleSession.h"
#include "program/ModuleText.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace vindle {

// Where a module's run tells what it does: its steps, the progress of its
// transfers, and its messages (the windows' words, and what became of the
// run). A terminal draws a bar; a page shows a state.
class RunReporter
{
public:
    virtual ~RunReporter() = default;
    // A step of its own ("Asking the module for its identity...").
    virtual void step(const std::string& line) = 0;
    // A transfer has started (no location yet) or reached `location`.
    virtual void transfer(Transfer transfer, std::optional<int> location) = 0;
    virtual void message(const std::string& text) = 0;
};

// One run of the set-up procedures on an open port, for one module, with no
// window: the configuration is a record of its own, which keeps what the
// windows would. What the procedures return becomes the status and the run's
// messages; what the windows would do next on their own (open the data
// monitor, clear the module to factory defaults) is not done. The command
// line and the page's bench present it.
class ModuleRun
{
public:
    // A store's or a comparison's status, and where the module holds
    // something else than the file.
    struct Compared
    {
        Compared(ExitStatus status, std::vector<Difference> differences = {})
            : status(status), differences(std::move(differences))
        {}
        ExitStatus status;
        std::vector<Difference> differences;
    };

    // `journal`, when given, notes a store under way beside the port.
    ModuleRun(SerialPort& port, EventPump& pump, const Clock& clock, RunReporter& reporter,
              StoreJournal* journal = nullptr);
    ~ModuleRun();
    ModuleRun(const ModuleRun&) = delete;
    ModuleRun& operator=(const ModuleRun&) = delete;

    // Read Configuration, with the identity. Values that the windows would
    // change on the way in (changes()) make it Unshowable, unless
    // `acceptChanges`.
    ExitStatus read(bool acceptChanges = false);
    // What the module holds, as it sent it: the read command alone (no
    // identify command, nothing written), asked again until two replies in a
    // row agree, also where the windows could not show a value. What a
    // backup keeps; held() holds it once Done.
    ExitStatus readHeld();
    // The identity, all five bytes.
    ExitStatus identity();
    // Clear to Factory Defaults, with its read; the module is read before
    // too, so that what the reset changed can be told.
    ExitStatus defaults();
    // Takes the module's identity, puts the file's values into the run's
    // configuration as opening the file does for this module, and stores
    // them; nothing is stored when it would store anything else. With `verify`, then
    // reads the module back (without the identity, whose command may clear
    // a module) and lists where it holds something else.
    //
    // A file saved from another kind of module (`fileModule`'s Device ID #1)
    // is said so; with `refuseOtherModule` nothing is stored into it.
    Compared store(const ConfigurationRecord& values, bool verify,
                   const ModuleIdentityRecord& fileModule = {}, bool refuseOtherModule = false);
    // Reads the module with the read command alone (no identify command,
    // nothing written) and lists where it holds something else than `file`:
    // the values as the module sent them.
    Compared compare(const ConfigurationRecord& file);
    // How the command line's data monitor frames and writes its lines.
    struct MonitorOptions
    {
        std::optional<int> bitRate;
        bool header = false;
        bool keys = false;
        LineFormat format;
        // Keeps every byte read, raw, as it came.
        MonitorCapture* capture = nullptr;
    };
    // The data monitor until interrupted; every line, oldest first, timed
    // by `wall`.
    ExitStatus monitor(const MonitorOptions& options, const WallClock& wall,
                       const std::function<void(const std::string&)>& line);

    // Ctrl+C: a store under way is finished first (well under a second);
    // anything else stops at once.
    void interrupt();
    // The second Ctrl+C: everything stops at once, a store too. The module is
    // left to give it up by itself; the journal tells the next run so.
    void interruptAgain();
    // The open port failed: the run ends.
    void portFailed(const std::string& reason);

    // What the file of the last read holds: the identity it reported and
    // what Store Configuration would send now.
    ConfigurationFileContents contents();
    // The values readHeld() read.
    const ConfigurationRecord& held() const { return held_; }
    // The identity as the last read or identity received it.
    const ModuleIdentityRecord& identityRecord() const { return identity_; }
    // The highest location the last store had acknowledged; empty before
    // any.
    std::optional<int> lastStored() const { return store_.lastAcknowledged; }
    // The location whose acknowledgement was wrong or missing, and whether
    // it was missing (the module stopped answering).
    std::optional<int> refusedAt() const { return store_.refusedAt; }
    bool storeUnanswered() const { return store_.unanswered; }
    // Something came in answer to the identify command, but no identity.
    bool identityGarbled() const { return identityGarbled_; }
    // The store found the file saved from another kind of module.
    const std::optional<OtherModule>& otherModule() const { return otherModule_; }
    // The locations whose value the last read received differently from what
    // the windows make of it.
    const std::vector<UnkeptValue>& changes() const { return changes_; }
    // The system's reason when the port failed during the run.
    const std::optional<std::string>& portFailure() const { return portFailure_; }
    // What Clear to Factory Defaults changed: the number of locations the
    // module read back differently from before the reset.
    int clearedLocations() const { return cleared_; }
    // The run's messages, in order.
    const std::vector<std::string>& messages() const { return messages_; }
    // Tells the reporter a message and keeps it.
    void tell(const std::string& text);

private:
    // A read into the run's configuration.
    ReadResult readConfiguration(const ReadOptions& options);
    // A read's outcome as a status, with its messages.
    ExitStatus readStatus(const ReadResult& result);
    // A store's outcome as a status, with its messages.
    ExitStatus storeStatus();
    // The run ended under an exchange: why, with `what` said of the module.
    ExitStatus endedStatus(const std::string& what);
    // Tells what the windows' read changed.
    ExitStatus changedStatus(bool acceptChanges);

    RunReporter& reporter_;
    ModuleSession session_;
    Configuration configuration_;
    std::vector<std::string> messages_;
    ModuleIdentityRecord identity_;
    ConfigurationRecord held_;
    StoreResult store_;
    std::vector<UnkeptValue> changes_;
    int cleared_ = 0;
    bool storing_ = false;
    bool interrupted_ = false;
    bool abandoned_ = false;
    std::optional<std::string> portFailure_;
    std::optional<OtherModule> otherModule_;
    bool identityGarbled_ = false;
};

} // namespace vindle
