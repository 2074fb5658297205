#pragma once

#include "config/Configuration.h"
#include "config/ConfigurationHolder.h"
#include "program/ConfigurationReader.h"
#include "program/ConfigurationStore.h"
#include "program/DeviceMaintenance.h"
#include "program/ProcedureResults.h"
#include "program/ProgramServices.h"

#include <functional>

namespace vindle {

class ConfigWindows;
class MainWindow;
class MonitorWindow;

// What a person who cannot see the windows is told once a button of the
// main window has done its work; the version information as `main` shows it.
std::string accomplishmentText(Accomplishment accomplishment, const MainWindow& main);

// The windows as the configuration a read puts values into, and the
// Configuration their controls write through (LocationBinding) as what a
// store sends. LocationControls says which control holds which location.
class WindowConfiguration final : public ConfigurationHolder
{
public:
    WindowConfiguration(ConfigWindows& windows, Configuration& configuration)
        : windows_(windows), configuration_(configuration)
    {}

    std::vector<int> putValues(const ConfigurationRecord& record) override;
    void putFrequency(const ConfigurationRecord& record) override;
    void applyCapabilities(const CapabilityFlags& capabilities) override;
    StoreValues toStore() override;
    std::optional<int> valueToSend(int location) override;

private:
    ConfigWindows& windows_;
    Configuration& configuration_;
};

// The buttons of the main window that talk to the module, as a person meets
// them: each runs its procedure on the windows' configuration with the
// progress window, the main window disabled while it runs, and its messages.
class WindowProcedures
{
public:
    // The procedures the buttons run.
    struct Procedures
    {
        ConfigurationReader& reader;
        ConfigurationStore& store;
        DeviceMaintenance& maintenance;
    };

    // `configuration` is what the windows' controls write through;
    // `handOver` starts the data monitor when the module does not answer.
    WindowProcedures(ProgramServices services, Configuration& configuration, Procedures procedures,
                     std::function<void()> handOver);

    // Each on a line the caller holds (ExitVersion needs none).
    // Read Configuration: the read, the factory-default recovery, its
    // messages and the hand-over to the data monitor. Returns when the read
    // is over; after a hand-over, when the run ends.
    ReadResult ReadSettings_Click();
    // Store Configuration. A store that did not finish leaves the windows
    // disabled until its message has been acknowledged, or for good when the
    // run ended.
    StoreResult StoreSettings_Click();
    // Read Firmware Version: shows the version panel and each identity byte
    // in it as it comes; the captions are emptied when the reply was not
    // whole. True when it was.
    bool GetVersion_Click();
    void ExitVersion_Click();
    // The reset, then Read Configuration; what that read found.
    ReadResult FactoryDefaults_Click();

    ConfigurationHolder& configuration() { return holder_; }

private:
    // Tells the user that the module does not answer and hands over.
    void giveUp();

    ProgramServices services_;
    WindowConfiguration holder_;
    ConfigurationReader& reader_;
    ConfigurationStore& store_;
    DeviceMaintenance& maintenance_;
    std::function<void()> handOver_;
};

} // namespace vindle
