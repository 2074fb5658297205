#include "program/ConfigurationStore.h"

#include "config/MemoryMap.h"
#include "link/DeviceCommands.h"
#include "program/LocationControls.h"
#include "program/StoreValues.h"
#include "ui/main/ConfigWindows.h"
#include "ui/model/Dialogs.h"
#include "ui/progress/ProgressWindow.h"

namespace vindle {

namespace {

constexpr int kSerialToParallelMode = 3;

} // namespace

ConfigurationStore::ConfigurationStore(ProgramServices services) : services_(std::move(services)) {}

std::string ConfigurationStore::badFieldMessage(int location, const std::string& text)
{
    return std::string(kCannotStore) + "  " + fieldName(locationInfo(location)) + " is \"" + text +
           "\": it must be a number from 0 to 255.  Nothing was sent to the Vindle Module.";
}

void ConfigurationStore::StoreSettings_Click()
{
    ByteLink& link = services_.link;
    MainWindow& main = services_.windows.mainWindow();
    main.StoreSettings().setEnabled(false);

    if (!sendsSomeOutput()) {
        services_.dialogs.showMessage(kNoOutput);
        services_.dialogs.showMessage(kCannotStore);
        main.StoreSettings().setEnabled(true);
        return;
    }
    const StoreValues checked = storeValues(services_.windows);
    if (checked.refusedLocation) {
        services_.dialogs.showMessage(checked.refusal);
        main.StoreSettings().setEnabled(true);
        return;
    }

    main.setEnabled(false);
    ProgressWindow& progress = services_.progress();
    progress.show();
    progress.bringToFront();
    progress.setText(kStoringText);

    // What an earlier exchange left behind, or is still sending (the ready
    // marker after an identity, say), is no acknowledgement.
    link.dropUntilQuiet();
    beginStore(link);
    for (const LocationInfo& info : memoryMap()) {
        // A text edited into something that is not a byte while the store
        // runs is sent as it was when the store began.
        const int value =
            readLocation(services_.windows, info).value_or(checked.record[info.location]);
        if (!StoreCheck(info.location, storeLocation(link, value)) || link.isClosed())
            return;
    }
    progress.hide();
    link.GetI();
    main.StoreSettings().setEnabled(true);
    main.showEnabledInFront();
}

bool ConfigurationStore::StoreCheck(int location, const Received& reply)
{
    MainWindow& main = services_.windows.mainWindow();
    const bool acknowledged = reply == location;
    if (!acknowledged && !services_.link.isClosed()) {
        services_.progress().hide();
        main.StoreSettings().setEnabled(true);
        services_.dialogs.showMessage(kStorageError);
        main.setEnabled(true);
    }
    services_.progress().setProgress(location);
    return acknowledged;
}

bool ConfigurationStore::sendsSomeOutput() const
{
    const MainWindow& main = services_.windows.mainWindow();
    if (main.Mode().isSelected(kSerialToParallelMode))
        return true;
    for (const OptionGroup* devices : {&main.RSDevice(), &main.LRDevice(), &main.ESDevice()}) {
        if (!devices->isSelected(0))
            return true;
    }
    return false;
}

} // namespace vindle
