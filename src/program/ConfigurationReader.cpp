#include "program/ConfigurationReader.h"

#include "config/Identity.h"
#include "link/DeviceCommands.h"
#include "program/LocationControls.h"
#include "program/RecordDecoding.h"
#include "ui/main/ConfigWindows.h"
#include "ui/model/Dialogs.h"
#include "ui/progress/ProgressWindow.h"

namespace vindle {

ConfigurationReader::ConfigurationReader(ProgramServices services, std::function<void()> handOver)
    : services_(std::move(services)), handOver_(std::move(handOver))
{}

void ConfigurationReader::ReadSettings_Click()
{
    read(true);
}

std::string ConfigurationReader::unshowableMessage(int location, int value)
{
    const LocationInfo& info = locationInfo(location);
    return "The Configuration Read from the Vindle Module Cannot be Shown, Even after Clearing "
           "it to Factory Defaults.  Location " +
           std::to_string(location) + " (" + std::string(info.item) + ") holds " +
           std::to_string(value) +
           ", which this program cannot show.  Nothing more was sent to the Vindle Module; check "
           "the module and read its configuration again.";
}

void ConfigurationReader::read(bool mayRecover)
{
    int failures = 0;
    const Outcome received = receivePhase(failures);
    failedPasses_ = failures;
    if (received == Outcome::Ended)
        return;

    MainWindow& main = services_.windows.mainWindow();
    main.show();
    if (const std::optional<int> rejected = decode()) {
        if (mayRecover) {
            recover();
        } else {
            services_.dialogs.showMessage(unshowableMessage(*rejected, record_[*rejected]));
            main.showEnabledInFront();
        }
        return;
    }
    services_.windows.Rules();
    main.showEnabledInFront();
    decodeFrequency(services_.windows, record_);
    capabilityPhase();
}

ConfigurationReader::Outcome ConfigurationReader::receivePhase(int& failures)
{
    ByteLink& link = services_.link;
    MainWindow& main = services_.windows.mainWindow();
    ProgressWindow& progress = services_.progress();
    for (;;) {
        drain();
        main.setEnabled(false);
        main.ReadSettings().setEnabled(false);
        progress.show();
        progress.setText(kReadingText);
        const ReadPassResult pass = readConfigurationPass(
            link, record_.values, [&progress](int location) { progress.setProgress(location); });
        if (link.isClosed())
            return Outcome::Ended;
        if (pass.complete())
            break;
        if (++failures > kMostFailedPasses) {
            services_.dialogs.showMessage(kNoCommunication);
            progress.hide();
            if (!link.isClosed() && handOver_)
                handOver_();
            return Outcome::Ended;
        }
        // The rest of the abandoned reply is still on its way: let it run
        // out before the next command.
        services_.link.dropUntilQuiet();
    }
    progress.hide();
    link.GetI();
    main.ReadSettings().setEnabled(true);
    record_.applyReadLimits();
    return Outcome::Done;
}

std::optional<int> ConfigurationReader::decode()
{
    return decodeRecord(services_.windows, record_);
}

void ConfigurationReader::capabilityPhase()
{
    ByteLink& link = services_.link;
    link.GetI();
    link.GetI();
    identity_ = Identity::fromReply(identify(link));
    applyCapabilities(services_.windows, identity_.capabilities);
}

void ConfigurationReader::recover()
{
    ByteLink& link = services_.link;
    MainWindow& main = services_.windows.mainWindow();
    services_.dialogs.showMessage(kRecoveryMessage);
    main.FactoryDefaults().setEnabled(false);
    factoryReset(link, kRecoveryReceives);
    read(false);
    if (link.isClosed())
        return;
    main.FactoryDefaults().setEnabled(true);
    main.showEnabledInFront();
}

void ConfigurationReader::drain()
{
    ByteLink& link = services_.link;
    while (!link.isClosed() && link.port().bytesPending() > 0) {
        link.port().takeByte();
        link.pump().yieldOnce();
    }
}

} // namespace vindle
