#include "program/DeviceMaintenance.h"

#include "link/ByteLink.h"
#include "link/DeviceCommands.h"
#include "program/ConfigurationReader.h"
#include "ui/main/ConfigWindows.h"

namespace vindle {

DeviceMaintenance::DeviceMaintenance(ProgramServices services, ConfigurationReader& reader)
    : services_(std::move(services)), reader_(reader)
{}

std::optional<Identity>
DeviceMaintenance::readVersion(const std::function<void(int, const Received&)>& eachByte)
{
    ByteLink& link = services_.link;
    // Read Firmware Version has always dropped one byte first: a ready
    // marker an earlier exchange left, or one receive time-out.
    link.receiveByte();
    const auto reply = identifyWhole(link, eachByte);
    if (!reply)
        return std::nullopt;
    return Identity::fromReply(*reply);
}

bool DeviceMaintenance::GetVersion_Click()
{
    MainWindow& main = services_.windows.mainWindow();
    main.VersionFrame().setVisible(true);
    const std::optional<Identity> identity = readVersion([&main](int index, const Received& byte) {
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

std::optional<Identity> DeviceMaintenance::readIdentity()
{
    services_.link.dropUntilQuiet();
    const auto reply = identifyWhole(services_.link);
    if (!reply)
        return std::nullopt;
    return Identity::fromReply(*reply);
}

void DeviceMaintenance::ExitVersion_Click()
{
    services_.windows.mainWindow().VersionFrame().setVisible(false);
}

ReadResult DeviceMaintenance::FactoryDefaults_Click()
{
    ByteLink& link = services_.link;
    MainWindow& main = services_.windows.mainWindow();
    main.FactoryDefaults().setEnabled(false);
    factoryReset(link, kResetReceives);
    const ReadResult result = reader_.ReadSettings_Click();
    if (!link.isClosed()) {
        main.FactoryDefaults().setEnabled(true);
        main.showEnabledInFront();
    }
    return result;
}

} // namespace vindle
