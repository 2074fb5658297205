#pragma once

#include "link/Clock.h"
#include "program/ConfigurationFile.h"
#include "program/ExitStatus.h"
#include "program/ModuleText.h"

#include <QString>
#include <chrono>
#include <functional>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>

namespace vindle {
class EventPump;
class StoreJournal;
class QtSerialPort;
} // namespace vindle

namespace vindle::cli {

class InterruptSignal;
class ModuleRun;
class TerminalProgress;

// Stores one configuration into module after module on one port: waits
// until a module answers, stores and verifies it, prints one line with its
// identity and the result, waits until it stops answering (unplugged), and
// goes on until interrupted; then prints a summary.
//
// Between modules it asks at most once a second, with the read command
// only: the identify command's bytes also clear a module to its defaults.
class Provisioning
{
public:
    static constexpr std::chrono::seconds kPollInterval{1};
    // Told of the run a module is going through, and of nullptr once it is over.
    using RunHook = std::function<void(ModuleRun*)>;

    Provisioning(QtSerialPort& port, EventPump& pump, const Clock& clock,
                 TerminalProgress& progress, const InterruptSignal& interrupt,
                 StoreJournal* journal);

    // Every module until interrupted; `result` receives the modules and the
    // summary, and with `json` each module's object is also printed as a
    // line of its own once the module is done. The status is that of the
    // last module that failed, if any; interrupted before any module, it is
    // Interrupted.
    // Records one module's result (the station log); false when it could
    // not, which ends the run before the next module.
    using Recorder =
        std::function<bool(const ModuleIdentityRecord& module, ExitStatus status,
                           const std::string& line, const std::vector<Difference>& differences)>;
    ExitStatus run(const ConfigurationRecord& values, const RunHook& hook, bool json,
                   nlohmann::json& result, const Recorder& record = {});

private:
    // Polls until the module answers (or no longer does); false when
    // interrupted first.
    bool waitUntil(bool answering);
    // One poll; a closed port is opened again when `reopen`.
    bool answers(bool reopen);
    void printLine(const std::string& line, bool json);
    void printObject(const nlohmann::json& object, bool json);

    QtSerialPort& port_;
    EventPump& pump_;
    const Clock& clock_;
    TerminalProgress& progress_;
    const InterruptSignal& interrupt_;
    StoreJournal* journal_;
    QString device_;
    std::optional<Clock::TimePoint> nextPoll_;
};

} // namespace vindle::cli
