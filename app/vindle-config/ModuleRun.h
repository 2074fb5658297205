#pragma once

#include "ExitStatus.h"
#include "StderrDialogs.h"
#include "program/ConfigurationFile.h"
#include "program/SetupProgram.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace vindle::cli {

class TerminalProgress;

// A location where the module holds something else than the file.
struct Difference
{
    int location;
    int inFile;
    int inModule;
};

// One run of the set-up procedures on an open port, for one module: the
// windows are held as models and never shown. The procedures' messages go to
// stderr; what the windows would do next on their own (open the data monitor,
// clear the module to factory defaults) is not done: the run ends instead,
// and the status says why.
class ModuleRun
{
public:
    ModuleRun(SerialPort& port, EventPump& pump, const Clock& clock, TerminalProgress& progress);
    ModuleRun(const ModuleRun&) = delete;
    ModuleRun& operator=(const ModuleRun&) = delete;

    // Read Configuration.
    ExitStatus read();
    // Read Firmware Version.
    ExitStatus identity();
    // Clear to Factory Defaults, with its read.
    ExitStatus defaults();
    // Puts the file's values into the windows, as opening the file does, and
    // stores them; nothing is sent when the windows would store anything
    // else.
    ExitStatus store(const ConfigurationRecord& values);
    // The data monitor until interrupted; every line, oldest first.
    ExitStatus monitor(std::optional<int> bitRate, bool header, bool keys,
                       const std::function<void(const std::string&)>& line);
    // Reads the module back after a store: Differences, with the locations
    // in `differences`, where it holds something else than `values`.
    ExitStatus verify(const ConfigurationRecord& values, std::vector<Difference>& differences);

    // Ctrl+C: a store stops once the module has acknowledged the location
    // on its way; anything else stops at once.
    void interrupt();

    // What the file of the last read holds: the identity it reported and
    // what Store Configuration would send now. Throws ConfigurationFileError
    // when a text field is not a byte.
    ConfigurationFileContents contents();
    // The identity as the last read or Read Firmware Version received it.
    const ModuleIdentityRecord& identityRecord() const { return identity_; }
    // The highest location the last store had acknowledged; empty before
    // any.
    std::optional<int> lastStored() const { return lastStored_; }
    // The location whose acknowledgement was wrong or missing.
    std::optional<int> refusedAt() const { return refusedAt_; }
    // The open port failed: the run ends.
    void portFailed(const std::string& reason);
    // The messages of the run, and the command's own, in order.
    const std::vector<std::string>& messages() const { return messages_; }
    // Writes a message of the command's own to stderr and keeps it.
    void tell(const std::string& text);

private:
    bool heard(const std::string& text);
    void watchStore(ProgressWindow& window);
    ExitStatus readOutcome();

    TerminalProgress& progress_;
    StderrDialogs dialogs_;
    SetupProgram program_;
    std::optional<ExitStatus> failure_;
    std::vector<std::string> messages_;
    ModuleIdentityRecord identity_;
    std::optional<int> lastStored_;
    std::optional<int> refusedAt_;
    bool storing_ = false;
    bool interrupted_ = false;
};

} // namespace vindle::cli
