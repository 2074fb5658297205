#include "ConfigTool.h"

#include "EmbeddedEmulator.h"
#include "StandardOutput.h"
#include "config/MemoryMap.h"
#include "program/ConfigurationFile.h"
#include "program/ConfigurationStore.h"
#include "program/FileCommands.h"
#include "program/ModuleRun.h"
#include "program/ModuleText.h"
#include "program/Provisioning.h"
#include "program/RecordDecoding.h"
#include "qt/core/PortOpenFailure.h"
#include "qt/core/TextFile.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QSerialPortInfo>
#include <QString>
#include <cstdio>
#include <cstdlib>

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
        if (!logModule(module.identityRecord(), status, line, differences_) &&
            status == ExitStatus::Done)
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
    const ConfigurationRecord& values = file.record;
    nlohmann::json modules = nlohmann::json::array();
    const ProvisioningSummary summary =
        provisioning.run(values, attach, [&](const ProvisionedModule& module) {
            bool delivered = printLine(module.line());
            modules.push_back({{"module", identityJson(module.identity)},
                               {"status", toInt(module.status)},
                               {"result", module.outcome()}});
            // With --json each module's object comes as soon as it is done.
            if (request_.json)
                delivered = printOut(modules.back().dump() + "\n");
            const bool logged = !log_.isOpen() || logModule(module.identity, module.status,
                                                            module.line(), module.differences);
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

bool ConfigTool::logModule(const ModuleIdentityRecord& module, ExitStatus status,
                           const std::string& line, const std::vector<Difference>& differences)
{
    StationLogEntry entry;
    entry.time = QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs).toStdString();
    entry.command = commandName(request_.command);
    entry.port = json_.value("port", std::string());
    if (request_.command != ConfigRequest::Command::Defaults) {
        entry.file = request_.inputFile;
        entry.fileSha256 = fileSha256_;
    }
    entry.module = module;
    entry.status = status;
    entry.result = line;
    entry.differences = differences;
    const QString error = log_.append(stationLogJson(entry).dump());
    if (error.isEmpty())
        return true;
    fail(error.toStdString());
    return false;
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
    return module.monitor(request_.baud, request_.header, request_.keys, line);
}

} // namespace vindle::cli
