#include "program/DeviceMaintenance.h"

#include "link/ByteLink.h"
#include "link/DeviceCommands.h"
#include "program/ConfigurationReader.h"
#include "ui/main/ConfigWindows.h"

namespace vindle {

DeviceMaintenance::DeviceMaintenance(ProgramServices services, ConfigurationReader& reader)
    : services_(std::move(services)), reader_(reader)
{}

void DeviceMaintenance::GetVersion_Click()
{
    ByteLink& link = services_.link;
    MainWindow& main = services_.windows.mainWindow();
    link.GetI();
    main.VersionFrame().setVisible(true);
    sendCommand(link, command::kIdentify);
    for (int k = 0; k < MainWindow::kVersionItems; ++k)
        main.VDAT2(k).setCaption(link.GetI().toText());
    // The capability flags, then the ready marker the module ends its reply
    // with: taken here, it is not found later by Clear to Factory Defaults or
    // the data monitor. A module that did not send the flags sends no marker.
    if (link.GetI().hasValue())
        link.GetI();
}

void DeviceMaintenance::ExitVersion_Click()
{
    services_.windows.mainWindow().VersionFrame().setVisible(false);
}

void DeviceMaintenance::FactoryDefaults_Click()
{
    ByteLink& link = services_.link;
    MainWindow& main = services_.windows.mainWindow();
    main.FactoryDefaults().setEnabled(false);
    factoryReset(link, kResetReceives);
    reader_.ReadSettings_Click();
    if (link.isClosed())
        return;
    main.FactoryDefaults().setEnabled(true);
    main.showEnabledInFront();
}

} // namespace vindle
