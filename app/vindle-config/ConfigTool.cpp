#include "ConfigTool.h"

#include "EmbeddedEmulator.h"
#include "ModuleRun.h"
#include "base/AtIndex.h"
#include "qt/core/PortOpenFailure.h"

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
    }
    return "";
}

void printOut(const std::string& text)
{
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
}

} // namespace

ConfigTool::ConfigTool(ConfigRequest request) : request_(std::move(request))
{
    json_["command"] = commandName(request_.command);
    json_["messages"] = nlohmann::json::array();
    port_.onFailure([this](const QString& reason) {
        if (module_ && !request_.repeat)
            module_->portFailed(reason.toStdString());
    });
    interrupt_.onInterrupt([this] {
        if (module_)
            module_->interrupt();
    });
}

ConfigTool::~ConfigTool() = default;

int ConfigTool::run()
{
    const ExitStatus status = execute();
    if (request_.json) {
        json_["status"] = toInt(status);
        printOut(json_.dump(2) + "\n");
    }
    return toInt(status);
}

void ConfigTool::fail(const std::string& text)
{
    json_["messages"].push_back(text);
    progress_.breakLine();
    std::fprintf(stderr, "vindle-config: %s\n", text.c_str());
    std::fflush(stderr);
}

void ConfigTool::result(const std::string& text)
{
    progress_.breakLine();
    std::fprintf(stderr, "%s\n", text.c_str());
    std::fflush(stderr);
}

ExitStatus ConfigTool::execute()
{
    if (request_.command == ConfigRequest::Command::Defaults && !request_.yes) {
        fail("defaults clears the module's whole configuration to its factory defaults; add "
             "--yes to do it.  Nothing was sent to the Vindle Module.");
        return ExitStatus::Usage;
    }
    if (const std::optional<ExitStatus> unavailable = openPort())
        return *unavailable;

    ModuleRun module(port_, pump_, clock_, progress_);
    module_ = &module;
    const ExitStatus status = onModule(module);
    module_ = nullptr;
    for (const std::string& message : module.messages())
        json_["messages"].push_back(message);
    return status;
}

std::optional<ExitStatus> ConfigTool::openPort()
{
    QString device;
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
    } else {
        QString text = QStringLiteral("no serial port given: use --port DEV or set %1.")
                           .arg(QLatin1String(kPortVariable));
        const QList<QSerialPortInfo> present = QSerialPortInfo::availablePorts();
        text += present.isEmpty() ? QStringLiteral("\nThis computer shows no serial ports.")
                                  : QStringLiteral("\nSerial ports on this computer:");
        for (const QSerialPortInfo& info : present)
            text += QStringLiteral("\n    ") + info.systemLocation();
        fail(text.toStdString());
        return ExitStatus::PortUnavailable;
    }
    json_["port"] = device.toStdString();
    progress_.step("Opening " + device.toStdString() + "...");
    if (!port_.open(device)) {
        fail(portOpenFailureText(device, port_.errorText(), port_.error(),
                                 QSerialPortInfo::availablePorts())
                 .toStdString());
        return ExitStatus::PortUnavailable;
    }
    return std::nullopt;
}

ExitStatus ConfigTool::onModule(ModuleRun& module)
{
    using Command = ConfigRequest::Command;
    switch (request_.command) {
    case Command::Read:
        break;
    case Command::Store:
        break;
    case Command::Identity:
        return identity(module);
    case Command::Defaults:
        return defaults(module);
    case Command::Monitor:
        return monitor(module);
    }
    return ExitStatus::Usage;
}

ExitStatus ConfigTool::identity(ModuleRun& module)
{
    const ExitStatus status = module.identity();
    const MainWindow& main = module.mainWindow();
    static constexpr std::array kKeys{"device_id_1", "device_id_2", "year", "firmware"};
    std::string text;
    for (int k = 0; k < MainWindow::kVersionItems; ++k) {
        const std::string& value = main.VDAT2(k).caption();
        json_["module"][atIndex(kKeys, k)] =
            value.empty() ? nlohmann::json(nullptr) : nlohmann::json(std::stoi(value));
        text += main.VDAT(k).caption() + " " + value + "\n";
    }
    if (status == ExitStatus::Done && !request_.json)
        printOut(text);
    return status;
}

ExitStatus ConfigTool::defaults(ModuleRun& module)
{
    const ExitStatus status = module.defaults();
    if (status == ExitStatus::Done)
        result("Cleared to factory defaults and read back.");
    return status;
}

ExitStatus ConfigTool::monitor(ModuleRun& module)
{
    progress_.step("Watching what the module sends; Ctrl+C ends.");
    const auto line = [json = request_.json](const std::string& text) {
        printOut((json ? nlohmann::json(text).dump() : text) + "\n");
    };
    return module.monitor(request_.baud, request_.header, request_.keys, line);
}

} // namespace vindle::cli
