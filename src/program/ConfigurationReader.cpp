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

std::string ConfigurationReader::unshowableMessage(const std::vector<UnshowableValue>& values)
{
    std::string held;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i > 0)
            held += i + 1 == values.size() ? " and " : ", ";
        const auto& [location, value] = values[i];
        held += "location " + std::to_string(location) + " (" +
                std::string(locationInfo(location).item) + ") holds " + std::to_string(value);
    }
    if (!held.empty())
        held.front() = 'L'; // it starts a sentence
    const bool one = values.size() == 1;
    return "The Configuration Read from the Vindle Module Cannot be Shown in Full, Even after "
           "Clearing it to Factory Defaults.  " +
           held + ", which this program cannot show.  " +
           (one ? "Its field keeps the value it showed before, and Store Configuration would "
                  "write that value there."
                : "Their fields keep the values they showed before, and Store Configuration "
                  "would write those values there.") +
           "  Every other location is shown as the Vindle Module holds it.";
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
    const std::vector<UnshowableValue> unshowable = decode();
    if (!unshowable.empty() && mayRecover) {
        recover();
        return;
    }
    services_.windows.Rules();
    main.showEnabledInFront();
    decodeFrequency(services_.windows, record_);
    // Also after values that do not fit: the capability phase takes the rest
    // of the reply, so that nothing of it is left for the next exchange.
    capabilityPhase();
    if (!unshowable.empty())
        services_.dialogs.showMessage(unshowableMessage(unshowable));
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

std::vector<ConfigurationReader::UnshowableValue> ConfigurationReader::decode()
{
    std::vector<UnshowableValue> unshowable;
    for (const int location : decodeRecord(services_.windows, record_))
        unshowable.push_back({location, record_[location]});
    return unshowable;
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
