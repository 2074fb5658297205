#pragma once

#include "CaptureFile.h"
#include "ConfigCommandLine.h"
#include "InputLines.h"
#include "InterruptSignal.h"
#include "StationLog.h"
#include "TerminalProgress.h"
#include "link/Clock.h"
#include "program/ConfigurationFile.h"
#include "program/ExitStatus.h"
#include "program/ModuleText.h"
#include "program/StationRecord.h"
#include "qt/core/FileStoreJournal.h"
#include "qt/core/QtEventPump.h"
#include "qt/core/QtSerialPort.h"

#include <functional>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>

namespace vindle {
class EmbeddedEmulator;
class ModuleRun;
} // namespace vindle

namespace vindle::cli {

// vindle-config once its command line is read: opens the port, runs the
// command on the module and reports the result, as text or as one JSON
// object on stdout.
class ConfigTool
{
public:
    explicit ConfigTool(ConfigRequest request);
    ~ConfigTool();
    ConfigTool(const ConfigTool&) = delete;
    ConfigTool& operator=(const ConfigTool&) = delete;

    // The exit status.
    int run();

private:
    ExitStatus execute();
    // Whether the command's result goes to stdout.
    bool writesStandardOutput() const;
    // The file to store, checked in full; empty (and said why) when it
    // cannot be stored.
    std::optional<ConfigurationFileContents> loadFile();
    // The file at `path` parsed, or said why not.
    std::optional<ConfigurationFileContents> parseFile(const std::string& path);
    // Opens the port the request names; the status when it cannot.
    std::optional<ExitStatus> openPort();
    ExitStatus onModule(ModuleRun& module, const ConfigurationFileContents* file);
    ExitStatus read(ModuleRun& module);
    ExitStatus store(ModuleRun& module, const ConfigurationFileContents& file);
    ExitStatus identity(ModuleRun& module);
    ExitStatus defaults(ModuleRun& module);
    ExitStatus monitor(ModuleRun& module);
    ExitStatus diff(ModuleRun& module, const ConfigurationFileContents& file);
    ExitStatus diffFiles(const ConfigurationFileContents& first);
    // The differences on stdout and in the JSON; Differences when any.
    ExitStatus differences(const std::vector<Difference>& differences, const DifferenceSides& sides,
                           const std::string& compared);
    // store --repeat: the bench, one module after another until Ctrl+C.
    ExitStatus provision(const ConfigurationFileContents& file,
                         const std::function<void(ModuleRun*)>& attach);
    // A line on stdout, unless the output is JSON; false when it was lost.
    bool printLine(const std::string& line);
    // An error of the command's own, before any module is involved.
    void fail(const std::string& text);
    // A result line on stderr (also when it is not a terminal).
    void result(const std::string& text);
    // A line on stderr that is no result.
    void say(const std::string& text);
    // Checks what the station log and the backup need before any port is
    // opened; the status when the run cannot go on.
    std::optional<ExitStatus> prepareRecord();
    // What every line of this run's station log holds.
    StationLogEntry logCommon() const;
    // Appends one module's line to the station log; false (and said why)
    // when it cannot be written.
    bool appendLog(const StationLogEntry& entry);
    // Asks for the serial number of module `number` until one is given;
    // empty at the end of input or on Ctrl+C.
    std::optional<SerialAnswer> askSerial(int number);
    // store --backup: reads what the module holds and writes it out; the
    // status when nothing may be stored.
    std::optional<ExitStatus> backUp(ModuleRun& module);

    ConfigRequest request_;
    QtSerialPort port_;
    QtEventPump pump_;
    SteadyClock clock_;
    TerminalProgress progress_{stderr};
    InterruptSignal interrupt_;
    std::unique_ptr<EmbeddedEmulator> emulator_;
    std::unique_ptr<FileStoreJournal> journal_;
    ModuleRun* module_ = nullptr;
    nlohmann::json json_;
    StationLog log_;
    CaptureFile capture_;
    // The file's hash for the log; the last line said, a module's result.
    std::optional<std::string> fileSha256_;
    std::string lastLine_;
    // What the store's read-back or diff found, for the log.
    std::vector<Difference> differences_;
    // The serial numbers of the log's lines, and what a single run was
    // given and backed up, for its line.
    SerialLedger serials_;
    std::unique_ptr<InputLines> input_;
    std::optional<SerialAnswer> serial_;
    std::optional<ConfigurationRecord> backedUp_;
};

} // namespace vindle::cli
