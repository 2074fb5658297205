#include "program/DeviceMaintenance.h"

#include "link/ByteLink.h"
#include "link/DeviceCommands.h"
#include "program/ConfigurationReader.h"
#include "ui/main/ConfigWindows.h"

namespace vindle {

DeviceMaintenance::DeviceMaintenance(ProgramServices services, ConfigurationReader& reader)
    : services_(std::move(services)), reader_(reader)
{}

Identity DeviceMaintenance::GetVersion_Click()
{
    ByteLink& link = services_.link;
    MainWindow& main = services_.windows.mainWindow();
    link.GetI();
    main.VersionFrame().setVisible(true);
    const Identity identity =
        Identity::fromReply(identify(link, [&main](int index, const Received& byte) {
            if (index < MainWindow::kVersionItems)
                main.VDAT2(index).setCaption(byte.toText());
        }));
    // The ready marker the module ends its reply with: taken here, it is not
    // found later by Clear to Factory Defaults or the data monitor. A module
    // that did not send the flags sends no marker.
    if (identity.capabilityByte.hasValue())
        link.GetI();
    return identity;
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
