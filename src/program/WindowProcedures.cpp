#include "program/WindowProcedures.h"

#include "link/ByteLink.h"
#include "link/DeviceCommands.h"
#include "program/KeptValues.h"
#include "program/LocationControls.h"
#include "program/RecordDecoding.h"
#include "program/StoreValues.h"
#include "ui/main/ConfigWindows.h"
#include "ui/model/Dialogs.h"
#include "ui/monitor/MonitorWindow.h"
#include "ui/progress/ProgressWindow.h"

namespace vindle {

std::string accomplishmentText(Accomplishment accomplishment, const MainWindow& main)
{
    switch (accomplishment) {
    case Accomplishment::Read:
        return "The configuration was read from the Vindle Module.";
    case Accomplishment::Stored:
        return "The configuration was stored into the Vindle Module and acknowledged.";
    case Accomplishment::ClearedToDefaults:
        return "The Vindle Module was cleared to its factory defaults and read again.";
    case Accomplishment::IdentityShown:
        break;
    }
    std::string text = main.VersionFrame().caption();
    for (int index = 0; index < MainWindow::kVersionItems; ++index)
        text += " " + main.VDAT(index).caption() + " " + main.VDAT2(index).caption();
    return text;
}

std::vector<int> WindowConfiguration::putValues(const ConfigurationRecord& record)
{
    return decodeRecord(windows_, record);
}

void WindowConfiguration::putFrequency(const ConfigurationRecord& record)
{
    windows_.Rules();
    decodeFrequency(windows_, record);
}

void WindowConfiguration::applyCapabilities(const CapabilityFlags& capabilities)
{
    vindle::applyCapabilities(windows_, capabilities);
}

StoreValues WindowConfiguration::toStore()
{
    return configuration_.toStore();
}

std::optional<int> WindowConfiguration::valueToSend(int location)
{
    return configuration_.valueToSend(location);
}

WindowProcedures::WindowProcedures(ProgramServices services, Configuration& configuration,
                                   Procedures procedures, std::function<void()> handOver)
    : services_(std::move(services)), holder_(services_.windows, configuration),
      reader_(procedures.reader), store_(procedures.store), maintenance_(procedures.maintenance),
      handOver_(std::move(handOver))
{}

ReadResult WindowProcedures::ReadSettings_Click()
{
    MainWindow& main = services_.windows.mainWindow();
    // The main window takes no press until the line is free again.
    const TransferSteps steps{
        .begins =
            [this, &main](Transfer) {
                main.setEnabled(false);
                main.ReadSettings().setEnabled(false);
                ProgressWindow& progress = services_.progress();
                progress.show();
                progress.setText(ConfigurationReader::kReadingText);
            },
        .reached = [this](Transfer, int location) { services_.progress().setProgress(location); },
        .answered = {},
        .ends = [this] { services_.progress().hide(); },
        .received =
            [&main] {
                main.ReadSettings().setEnabled(true);
                main.show();
            },
    };
    const auto shown = [&main](const ReadResult& result) {
        if (result.outcome == ReadOutcome::Read || result.outcome == ReadOutcome::PartlyShown)
            main.showEnabledInFront();
    };
    ReadResult result = reader_.readModule(holder_, ReadOptions{}, steps);
    shown(result);
    if (result.outcome == ReadOutcome::Unshowable) {
        services_.dialogs.showMessage(ConfigurationReader::kRecoveryMessage);
        main.FactoryDefaults().setEnabled(false);
        factoryReset(services_.link);
        result = reader_.readModule(holder_, ReadOptions{.stopAtUnshowable = false}, steps);
        shown(result);
        result.recovered = true;
        if (result.outcome == ReadOutcome::PartlyShown)
            services_.dialogs.showMessage(
                ConfigurationReader::unshowableMessage(result.unshowable));
        if (result.outcome != ReadOutcome::NoAnswer && !services_.link.isClosed()) {
            main.FactoryDefaults().setEnabled(true);
            main.showEnabledInFront();
        }
    }
    if (result.outcome == ReadOutcome::NoAnswer)
        giveUp();
    else if (!result.changed.empty() && !services_.link.isClosed())
        services_.dialogs.showMessage(changedValuesMessage(result.changed));
    return result;
}

void WindowProcedures::giveUp()
{
    services_.dialogs.showMessage(ConfigurationReader::kNoCommunication);
    services_.progress().hide();
    if (!services_.link.isClosed() && handOver_)
        handOver_();
}

StoreResult WindowProcedures::StoreSettings_Click()
{
    MainWindow& main = services_.windows.mainWindow();
    main.StoreSettings().setEnabled(false);
    const StoreResult result = store_.storeModule(
        holder_,
        {
            .begins =
                [this, &main](Transfer) {
                    main.setEnabled(false);
                    ProgressWindow& progress = services_.progress();
                    progress.show();
                    progress.bringToFront();
                    progress.setText(ConfigurationStore::kStoringText);
                },
            .reached = {},
            .answered = [this](int location) { services_.progress().setProgress(location); },
            .ends = [this] { services_.progress().hide(); },
            .received = {},
        });
    switch (result.outcome) {
    case StoreOutcome::NoOutput:
        services_.dialogs.showMessage(result.refusal);
        services_.dialogs.showMessage(kCannotStore);
        main.StoreSettings().setEnabled(true);
        break;
    case StoreOutcome::BadField:
        services_.dialogs.showMessage(result.refusal);
        main.StoreSettings().setEnabled(true);
        break;
    case StoreOutcome::Refused:
        services_.progress().hide();
        main.StoreSettings().setEnabled(true);
        services_.dialogs.showMessage(ConfigurationStore::kStorageError);
        main.setEnabled(true);
        break;
    case StoreOutcome::Stored:
        main.StoreSettings().setEnabled(true);
        main.showEnabledInFront();
        break;
    case StoreOutcome::Ended:
        break;
    }
    return result;
}

bool WindowProcedures::GetVersion_Click()
{
    MainWindow& main = services_.windows.mainWindow();
    main.VersionFrame().setVisible(true);
    const std::optional<Identity> identity =
        maintenance_.readVersion([&main](int index, const Received& byte) {
            if (index < MainWindow::kVersionItems)
                main.VDAT2(index).setCaption(byte.toText());
        });
    if (!identity) {
        // Bytes of a reply that was not whole are no identity.
        for (int index = 0; index < MainWindow::kVersionItems; ++index)
            main.VDAT2(index).setCaption(Received().toText());
    }
    return identity.has_value();
}

void WindowProcedures::ExitVersion_Click()
{
    services_.windows.mainWindow().VersionFrame().setVisible(false);
}

ReadResult WindowProcedures::FactoryDefaults_Click()
{
    ByteLink& link = services_.link;
    MainWindow& main = services_.windows.mainWindow();
    main.FactoryDefaults().setEnabled(false);
    factoryReset(link);
    const ReadResult result = ReadSettings_Click();
    if (!link.isClosed()) {
        main.FactoryDefaults().setEnabled(true);
        main.showEnabledInFront();
    }
    return result;
}

} // namespace vindle
