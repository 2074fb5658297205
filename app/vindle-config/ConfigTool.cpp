#include "ConfigTool.h"

#include "EmbeddedEmulator.h"
#include "StandardOutput.h"
#include "config/MemoryMap.h"
#include "program/ConfigurationFile.h"
#include "program/ConfigurationStore.h"
#include "program/FileCommands.h"
#include "program/KeptValues.h"
#include "program/ModuleRun.h"
#include "program/ModuleText.h"
#include "program/Provisioning.h"
#include "qt/core/PortOpenFailure.h"
#include "qt/core/TextFile.h"
#include "ui/monitor/MonitorText.h"

#include <QCryptographicHash>
#include <QFileInfo>
#include <QSerialPortInfo>
#include <QString>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <unistd.h>

namespace vindle::cli {

namespace {

constexpr const char* kPortVariable = "VINDLE_PORT";

const char* commandName(ConfigRequest::Command command)
{
    using Command = ConfigRequest::Command;
    switch (command) {
    case Command::Read:
        return "read";
    case Command::Store:
        return "store";
    case Command::Identity:
        return "identity";
    case Command::Defaults:
        return "defaults";
    case Command::Monitor:
        return "monitor";
    case Command::Diff:
        return "diff";
    }
    return "";
}

bool printOut(const std::string& text)
{
    return standard_output::write(text);
}

// `text` without the blanks around it (a scanner's carriage return too).
std::string trimmed(const std::string& text)
{
    constexpr std::string_view kBlanks = " \t\r\v\f";
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

// What the identify command that ends a read may have done, when what was
// read could not be kept.
constexpr const char* kMayBeCleared =
    "  The identify command that ended the read may have cleared the Vindle Module to its "
    "factory defaults (some modules clear on it): check it before you read it again.";

} // namespace

ConfigTool::ConfigTool(ConfigRequest request) : request_(std::move(request))
{
    json_["command"] = commandName(request_.command);
    json_["messages"] = nlohmann::json::array();
    // Between modules of --repeat a port that fails went away with its
    // module; while a module is worked on it is that module's failure.
    port_.onFailure([this](const QString& reason) {
        if (module_)
            module_->portFailed(reason.toStdString());
    });
    interrupt_.onInterrupt([this] {
        if (module_)
            module_->interrupt();
    });
    interrupt_.onSecondInterrupt([this] {
        if (module_)
            module_->interruptAgain();
    });
}

ConfigTool::~ConfigTool() = default;

int ConfigTool::run()
{
    ExitStatus status = execute();
    if (request_.json) {
        json_["status"] = toInt(status);
        printOut(json_.dump() + "\n");
    }
    if (const std::optional<std::string> lost = standard_output::finish()) {
        const bool readLost = request_.command == ConfigRequest::Command::Read &&
                              !request_.outputFile && status == ExitStatus::Done;
        fail("the result could not be written to standard output: " + *lost + "." +
             (readLost ? kMayBeCleared : ""));
        if (status == ExitStatus::Done)
            status = ExitStatus::Usage;
    }
    return toInt(status);
}

bool ConfigTool::writesStandardOutput() const
{
    using Command = ConfigRequest::Command;
    switch (request_.command) {
    case Command::Read:
        return request_.json || !request_.outputFile;
    case Command::Store:
        return request_.json || request_.repeat;
    case Command::Defaults:
        return request_.json;
    case Command::Identity:
    case Command::Monitor:
    case Command::Diff:
        return true;
    }
    return true;
}

void ConfigTool::fail(const std::string& text)
{
    lastLine_ = text;
    json_["messages"].push_back(text);
    progress_.breakLine();
    std::fprintf(stderr, "vindle-config: %s\n", text.c_str());
    std::fflush(stderr);
}

void ConfigTool::result(const std::string& text)
{
    lastLine_ = text;
    say(text);
}

void ConfigTool::say(const std::string& text)
{
    progress_.breakLine();
    std::fprintf(stderr, "%s\n", text.c_str());
    std::fflush(stderr);
}

ExitStatus ConfigTool::execute()
{
    std::optional<ConfigurationFileContents> file;
    if (request_.command == ConfigRequest::Command::Store) {
        file = loadFile();
        if (!file)
            return ExitStatus::Usage;
    }
    if (request_.command == ConfigRequest::Command::Diff) {
        file = parseFile(request_.inputFile);
        if (!file)
            return ExitStatus::Usage;
        if (request_.secondFile) {
            if (request_.logFile) {
                fail("--log records modules, and a diff of two files involves none: leave out "
                     "--log or FILE2.");
                return ExitStatus::Usage;
            }
            return diffFiles(*file);
        }
    }
    if (writesStandardOutput() && standard_output::wasClosed()) {
        fail("standard output is closed, so the result would be lost.  Nothing was sent to the "
             "Vindle Module.");
        return ExitStatus::Usage;
    }
    if (request_.outputFile) {
        if (const QString error =
                checkTextFileSavable(QString::fromStdString(*request_.outputFile));
            !error.isEmpty()) {
            fail(error.toStdString() + ".  Nothing was sent to the Vindle Module.");
            return ExitStatus::Usage;
        }
    }
    if (request_.command == ConfigRequest::Command::Defaults && !request_.yes) {
        fail("defaults clears the module's whole configuration to its factory defaults; add "
             "--yes to do it.  Nothing was sent to the Vindle Module.");
        return ExitStatus::Usage;
    }
    if (request_.logFile) {
        if (const QString error = log_.open(QString::fromStdString(*request_.logFile));
            !error.isEmpty()) {
            fail(error.toStdString() + "  Nothing was sent to the Vindle Module.");
            return ExitStatus::Usage;
        }
        if (!request_.inputFile.empty() &&
            log_.isFile(QString::fromStdString(request_.inputFile))) {
            fail("--log names " + request_.inputFile +
                 " itself: the station log would grow into the configuration file.  Nothing was "
                 "sent to the Vindle Module.");
            return ExitStatus::Usage;
        }
    }
    if (request_.captureFile) {
        if (const QString error = capture_.open(QString::fromStdString(*request_.captureFile));
            !error.isEmpty()) {
            fail(error.toStdString());
            return ExitStatus::Usage;
        }
    }
    if (const std::optional<ExitStatus> refused = prepareRecord())
        return *refused;
    // One unit's serial number before its port is opened; the bench asks
    // before each module.
    if (request_.askSerial && !request_.repeat && !interrupt_.requested()) {
        serial_ = askSerial(1);
        if (!serial_ && !interrupt_.requested()) {
            fail("No serial number was given: the input ended.  Nothing was sent to the Vindle "
                 "Module.");
            return ExitStatus::Interrupted;
        }
    }
    if (interrupt_.requested()) {
        // Ctrl+C is how the monitor ends, whenever it comes.
        if (request_.command == ConfigRequest::Command::Monitor) {
            result("Interrupted before the monitor began.");
            return ExitStatus::Done;
        }
        fail("Interrupted.  Nothing was sent to the Vindle Module.");
        return ExitStatus::Interrupted;
    }
    if (const std::optional<ExitStatus> unavailable = openPort())
        return *unavailable;
    journal_ = std::make_unique<FileStoreJournal>(port_.deviceName());

    // A Ctrl+C that came while the run was being set up reaches it at once.
    const auto attach = [this](ModuleRun* module) {
        module_ = module;
        if (module && interrupt_.requested())
            module->interrupt();
    };
    if (request_.repeat)
        return provision(*file, attach);
    ModuleRun module(port_, pump_, clock_, progress_, journal_.get());
    attach(&module);
    ExitStatus status = onModule(module, file ? &*file : nullptr);
    if (log_.isOpen()) {
        const std::string line =
            lastLine_.empty() && !module.messages().empty() ? module.messages().back() : lastLine_;
        StationLogEntry entry = logCommon();
        entry.module = module.identityRecord();
        entry.status = status;
        entry.result = line;
        entry.differences = differences_;
        if (serial_) {
            entry.serial = serial_->serial;
            if (serial_->attempt > 1)
                entry.attempt = serial_->attempt;
        }
        entry.before = backedUp_;
        if (!appendLog(entry) && status == ExitStatus::Done)
            status = ExitStatus::Usage;
    }
    module_ = nullptr;
    for (const std::string& message : module.messages())
        json_["messages"].push_back(message);
    return status;
}

std::optional<ConfigurationFileContents> ConfigTool::parseFile(const std::string& path)
{
    const std::string nothingSent = "\nNothing was sent to the Vindle Module.";
    const LoadedText loaded = loadTextFile(QString::fromStdString(path));
    if (!loaded.error.isEmpty()) {
        fail(loaded.error.toStdString() + nothingSent);
        return std::nullopt;
    }
    if (path == request_.inputFile)
        fileSha256_ = QCryptographicHash::hash(QByteArray::fromStdString(loaded.text),
                                               QCryptographicHash::Sha256)
                          .toHex()
                          .toStdString();
    ParsedFile parsed = parseConfigurationText(loaded.text);
    if (!parsed.contents)
        fail(path + ": " + parsed.error + nothingSent);
    return std::move(parsed.contents);
}

ExitStatus ConfigTool::provision(const ConfigurationFileContents& file,
                                 const std::function<void(ModuleRun*)>& attach)
{
    Provisioning provisioning(
        port_, port_, pump_, clock_, progress_, journal_.get(),
        [this] { return interrupt_.requested(); }, port_.deviceName().toStdString());
    provisioning.setFileModule(file.module, request_.anyModule);
    if (request_.askSerial)
        provisioning.setSerialAsker([this](int number) { return askSerial(number); });
    const ConfigurationRecord& values = file.record;
    nlohmann::json modules = nlohmann::json::array();
    const ProvisioningSummary summary =
        provisioning.run(values, attach, [&](const ProvisionedModule& module) {
            bool delivered = printLine(module.line());
            modules.push_back({{"module", identityJson(module.identity)},
                               {"status", toInt(module.status)},
                               {"result", module.outcome()}});
            if (module.serial)
                modules.back()["serial"] = *module.serial;
            if (module.attempt)
                modules.back()["attempt"] = *module.attempt;
            // With --json each module's object comes as soon as it is done.
            if (request_.json)
                delivered = printOut(modules.back().dump() + "\n");
            const bool logged = !log_.isOpen() || appendLog(benchLogEntry(module, logCommon()));
            // The serial number is in the log now: given again, it is another attempt.
            if (logged && module.serial)
                serials_.add(*module.serial);
            return delivered && logged;
        });
    printLine(summary.text());
    json_["modules"] = modules;
    json_["provisioned"] = summary.provisioned;
    json_["failed"] = summary.failed.size();
    return summary.status;
}

bool ConfigTool::printLine(const std::string& line)
{
    if (request_.json)
        return true;
    progress_.breakLine();
    return printOut(line + "\n");
}

StationLogEntry ConfigTool::logCommon() const
{
    StationLogEntry entry;
    entry.time = utcTimeText(SystemWallClock().now());
    entry.command = commandName(request_.command);
    entry.port = json_.value("port", std::string());
    if (request_.command != ConfigRequest::Command::Defaults) {
        entry.file = request_.inputFile;
        entry.fileSha256 = fileSha256_;
    }
    entry.station = request_.station;
    entry.operatorName = request_.operatorName;
    return entry;
}

bool ConfigTool::appendLog(const StationLogEntry& entry)
{
    const QString error = log_.append(stationLogJson(entry).dump());
    if (error.isEmpty())
        return true;
    fail(error.toStdString());
    return false;
}

std::optional<ExitStatus> ConfigTool::prepareRecord()
{
    const std::string nothingSent = "  Nothing was sent to the Vindle Module.";
    if (request_.backupFile) {
        const QString backup = QString::fromStdString(*request_.backupFile);
        const QFileInfo target(backup);
        if (target.exists() &&
            target.canonicalFilePath() ==
                QFileInfo(QString::fromStdString(request_.inputFile)).canonicalFilePath()) {
            fail("--backup names " + request_.inputFile +
                 " itself: the backup would replace the file to store." + nothingSent);
            return ExitStatus::Usage;
        }
        if (log_.isOpen() && log_.isFile(backup)) {
            fail("--backup names the station log itself: the backup would replace it." +
                 nothingSent);
            return ExitStatus::Usage;
        }
        if (const QString error = checkTextFileSavable(backup); !error.isEmpty()) {
            fail(error.toStdString() + "." + nothingSent);
            return ExitStatus::Usage;
        }
    }
    // The serial numbers in the log so far, so that none is set up twice by
    // mistake.
    if (request_.askSerial) {
        const QString error =
            log_.read([this](std::string_view lines) { serials_.addLogText(lines); });
        if (!error.isEmpty()) {
            fail(error.toStdString() + nothingSent);
            return ExitStatus::Usage;
        }
    }
    return std::nullopt;
}

std::optional<SerialAnswer> ConfigTool::askSerial(int number)
{
    if (!input_)
        input_ = std::make_unique<InputLines>(pump_, STDIN_FILENO);
    const bool typed = ::isatty(STDIN_FILENO) == 1;
    std::string refused;
    for (;;) {
        progress_.breakLine();
        std::fprintf(stderr, "Serial number of module %d: ", number);
        std::fflush(stderr);
        const std::optional<std::string> line =
            input_->next([this] { return interrupt_.requested(); });
        if (!line) {
            std::fputc('\n', stderr);
            return std::nullopt;
        }
        const std::string serial = trimmed(*line);
        // What came from a pipe or a file shows as if typed.
        if (!typed)
            std::fprintf(stderr, "%s\n", serial.c_str());
        std::fflush(stderr);
        if (serial.empty())
            continue;
        if (!isUtf8Text(serial)) {
            say("A serial number must be UTF-8 text: give it again.");
            continue;
        }
        if (std::optional<SerialAnswer> answer = serials_.take(serial, refused))
            return answer;
        refused = serial;
        say(SerialLedger::refusalText(serial));
    }
}

std::optional<ExitStatus> ConfigTool::backUp(ModuleRun& module)
{
    const std::string& path = *request_.backupFile;
    progress_.step("Reading what the module holds, for the backup...");
    if (const ExitStatus status = module.readHeld(); status != ExitStatus::Done) {
        say("No backup was written, and nothing was stored.");
        return status;
    }
    ConfigurationFileContents contents;
    contents.record = module.held();
    contents.comment = "What the Vindle Module held before " + request_.inputFile +
                       " was stored into it. Its identity was not asked for: the identify "
                       "command clears some modules to their factory defaults.";
    if (const QString error =
            saveTextFile(QString::fromStdString(path), formatConfigurationFile(contents));
        !error.isEmpty()) {
        fail(error.toStdString() + ".  Nothing was stored.");
        return ExitStatus::Usage;
    }
    backedUp_ = module.held();
    json_["backup"] = path;
    say("Wrote what the module held into " + path + ".");
    return std::nullopt;
}

std::optional<ConfigurationFileContents> ConfigTool::loadFile()
{
    const std::string nothingSent = "\nNothing was sent to the Vindle Module.";
    std::optional<ConfigurationFileContents> parsed = parseFile(request_.inputFile);
    if (!parsed)
        return std::nullopt;
    ConfigurationFileContents file = std::move(*parsed);
    // What the windows would make of the file whatever module it goes to is
    // decided now, once, before any port is opened.
    if (const std::optional<std::string> refusal = storeRefusal(request_.inputFile, file.record)) {
        fail(*refusal + nothingSent);
        return std::nullopt;
    }
    return file;
}

std::optional<ExitStatus> ConfigTool::openPort()
{
    QString device;
    bool fromVariable = false;
    if (request_.emulate) {
        try {
            emulator_ = std::make_unique<EmbeddedEmulator>();
        } catch (const std::exception& error) {
            fail(std::string("cannot start the emulated module: ") + error.what());
            return ExitStatus::PortUnavailable;
        }
        device = emulator_->devicePath();
    } else if (request_.port) {
        device = QString::fromStdString(*request_.port);
    } else if (const char* variable = std::getenv(kPortVariable); variable && *variable) {
        device = QString::fromLocal8Bit(variable);
        fromVariable = true;
    } else {
        fail(QStringLiteral("no serial port given: use --port DEV or set %1.\n%2")
                 .arg(QLatin1String(kPortVariable),
                      presentPortsText(QSerialPortInfo::availablePorts()))
                 .toStdString());
        return ExitStatus::PortUnavailable;
    }
    // The device as the system names it ("vport" opens /dev/vport).
    const QString location = systemLocationOf(device);
    json_["port"] = location.toStdString();
    progress_.step("Opening " + location.toStdString() + "...");
    if (!port_.open(device)) {
        const QString text = portOpenFailureText(location, port_.errorText(), port_.error(),
                                                 QSerialPortInfo::availablePorts());
        // A device from the environment says where it came from.
        const QString from =
            fromVariable ? QStringLiteral("%1=%2: ").arg(QLatin1String(kPortVariable), device)
                         : QString();
        fail((from + text).toStdString());
        return ExitStatus::PortUnavailable;
    }
    return std::nullopt;
}

ExitStatus ConfigTool::onModule(ModuleRun& module, const ConfigurationFileContents* file)
{
    using Command = ConfigRequest::Command;
    switch (request_.command) {
    case Command::Read:
        return read(module);
    case Command::Store:
        return store(module, *file);
    case Command::Identity:
        return identity(module);
    case Command::Defaults:
        return defaults(module);
    case Command::Monitor:
        return monitor(module);
    case Command::Diff:
        return diff(module, *file);
    }
    return ExitStatus::Usage;
}

ExitStatus ConfigTool::read(ModuleRun& module)
{
    const ExitStatus status = module.read(request_.acceptChanges);
    std::vector<Difference> changes;
    for (const UnkeptValue& change : module.changes())
        changes.push_back({change.location, change.held, change.wanted});
    json_["changes"] = differencesJson(changes);
    if (status != ExitStatus::Done)
        return status;
    ConfigurationFileContents contents = module.contents();
    if (!module.changes().empty()) {
        contents.comment = "Read with changes the windows made:";
        for (const UnkeptValue& change : module.changes())
            contents.comment +=
                " " + changedValueText(change) + (&change == &module.changes().back() ? "." : ";");
    }
    json_["module"] = identityJson(contents.module);
    const std::string text = formatConfigurationFile(contents);
    if (!request_.outputFile) {
        if (request_.json)
            json_["configuration"] = nlohmann::json::parse(text);
        else
            printOut(text);
        return ExitStatus::Done;
    }
    if (const QString error = saveTextFile(QString::fromStdString(*request_.outputFile), text);
        !error.isEmpty()) {
        fail(error.toStdString() + "." + kMayBeCleared);
        return ExitStatus::Usage;
    }
    json_["file"] = *request_.outputFile;
    result("Read the configuration into " + *request_.outputFile + ".");
    return ExitStatus::Done;
}

ExitStatus ConfigTool::store(ModuleRun& module, const ConfigurationFileContents& file)
{
    if (request_.backupFile) {
        if (const std::optional<ExitStatus> refused = backUp(module))
            return *refused;
    }
    const auto [status, differences] = module.store(file.record, request_.verify, file.module);
    if (module.lastStored())
        json_["stored_through"] = *module.lastStored();
    json_["module"] = identityJson(module.identityRecord());
    if (status != ExitStatus::Done && status != ExitStatus::Differences)
        return status;
    if (!request_.verify) {
        // The port may fail after the last acknowledgement: the store is whole.
        result(module.portFailure() ? "Stored all 51 locations; then the serial port failed: " +
                                          *module.portFailure() + "."
                                    : std::string("Stored all 51 locations."));
        return ExitStatus::Done;
    }
    differences_ = differences;
    json_["differences"] = differencesJson(differences);
    result(status == ExitStatus::Done
               ? "Stored and verified all 51 locations."
               : "Stored, but the module reads back differently:\n" + differencesText(differences));
    return status;
}

ExitStatus ConfigTool::identity(ModuleRun& module)
{
    const ExitStatus status = module.identity();
    json_["module"] = identityJson(module.identityRecord());
    if (status == ExitStatus::Done && !request_.json)
        printOut(identityText(module.identityRecord(), "\n") + "\n");
    return status;
}

ExitStatus ConfigTool::defaults(ModuleRun& module)
{
    const ExitStatus status = module.defaults();
    json_["module"] = identityJson(module.identityRecord());
    if (status != ExitStatus::Done)
        return status;
    const int changed = module.clearedLocations();
    json_["changed_locations"] = changed;
    if (changed == 0)
        result("The Vindle Module answered the reset to factory defaults, but reads back as "
               "before it: it was not cleared, or it held its factory defaults already.");
    else
        result("Cleared to factory defaults and read back: " + std::to_string(changed) +
               (changed == 1 ? " location" : " locations") + " changed.");
    return status;
}

ExitStatus ConfigTool::differences(const std::vector<Difference>& differences,
                                   const DifferenceSides& sides, const std::string& compared)
{
    differences_ = differences;
    json_["differences"] = differencesJson(differences, sides);
    if (differences.empty()) {
        result(compared + " hold the same in all 51 locations.");
        return ExitStatus::Done;
    }
    if (!request_.json)
        printOut(differencesText(differences, sides) + "\n");
    std::string at;
    for (const Difference& difference : differences)
        at += (at.empty() ? "" : ", ") + std::to_string(difference.location);
    result(compared + " differ at " + (differences.size() == 1 ? "location " : "locations ") + at +
           ".");
    return ExitStatus::Differences;
}

ExitStatus ConfigTool::diffFiles(const ConfigurationFileContents& first)
{
    const std::optional<ConfigurationFileContents> second = parseFile(*request_.secondFile);
    if (!second)
        return ExitStatus::Usage;
    return differences(differencesOf(first.record, second->record), kTwoFiles,
                       request_.inputFile + " and " + *request_.secondFile);
}

ExitStatus ConfigTool::diff(ModuleRun& module, const ConfigurationFileContents& file)
{
    const auto [status, found] = module.compare(file.record);
    if (status != ExitStatus::Done)
        return status;
    return differences(found, kFileAndModule, "The Vindle Module and " + request_.inputFile);
}

ExitStatus ConfigTool::monitor(ModuleRun& module)
{
    progress_.step("Watching what the module sends; Ctrl+C ends.");
    // Lines that no longer reach their place end the monitor.
    const auto line = [json = request_.json, &module](const std::string& text) {
        if (!printOut((json ? nlohmann::json(text).dump() : text) + "\n"))
            module.interrupt();
    };
    const ModuleRun::MonitorOptions options{
        .bitRate = request_.baud,
        .header = request_.header,
        .keys = request_.keys,
        .format = {.time = request_.timestamps ? LineFormat::Time::Utc : LineFormat::Time::None,
                   .utcOffset = {},
                   .hex = request_.hex},
    };
    ModuleRun::MonitorOptions captured = options;
    if (request_.captureFile) {
        captured.capture = &capture_;
        capture_.onFailure([&module] { module.interrupt(); });
    }
    const SystemWallClock wall;
    const ExitStatus status = module.monitor(captured, wall, line);
    if (!capture_.failure().isEmpty()) {
        result(capture_.failure().toStdString() + "  The capture ends there.");
        return ExitStatus::Usage;
    }
    return status;
}

} // namespace vindle::cli
