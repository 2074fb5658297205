#include "program/ConfigurationStore.h"

#include "config/KeptRecord.h"
#include "config/MemoryMap.h"
#include "link/DeviceCommands.h"
#include "program/LocationControls.h"
#include "program/StoreValues.h"
#include "ui/main/ConfigWindows.h"
#include "ui/model/Dialogs.h"
#include "ui/progress/ProgressWindow.h"

namespace vindle {

ConfigurationStore::ConfigurationStore(ProgramServices services) : services_(std::move(services)) {}

StoreResult ConfigurationStore::StoreSettings_Click()
{
    MainWindow& main = services_.windows.mainWindow();
    main.StoreSettings().setEnabled(false);
    const StoreResult result = storeModule({
        .begins =
            [this, &main] {
                main.setEnabled(false);
                ProgressWindow& progress = services_.progress();
                progress.show();
                progress.bringToFront();
                progress.setText(kStoringText);
            },
        .reached = [this](int location) { services_.progress().setProgress(location); },
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
        services_.dialogs.showMessage(kStorageError);
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

StoreResult ConfigurationStore::storeModule(const TransferSteps& steps)
{
    ByteLink& link = services_.link;
    const ProcedureEvents& events = services_.events;
    StoreResult result;

    const StoreValues checked = storeValues(services_.windows);
    if (!sendsSomeOutput(checked.record)) {
        result.outcome = StoreOutcome::NoOutput;
        result.refusal = kNoOutput;
        return result;
    }
    if (checked.refusedLocation) {
        result.outcome = StoreOutcome::BadField;
        result.badField = checked.refusedLocation;
        result.refusal = checked.refusal;
        return result;
    }

    if (steps.begins)
        steps.begins();
    if (events.started)
        events.started(Transfer::Storing);

    // What an earlier exchange left behind, or is still sending (the ready
    // marker after an identity, say), is no acknowledgement.
    link.dropUntilQuiet();
    link.storeBegins();
    beginStore(link);
    for (const LocationInfo& info : memoryMap()) {
        // A text edited into something that is not a byte while the store
        // runs is sent as it was when the store began.
        const int value =
            readLocation(services_.windows, info).value_or(checked.record[info.location]);
        link.storeUnderWay(true);
        if (!link.isClosed())
            result.valueSent = true;
        const Received reply = storeLocation(link, value);
        if (steps.reached)
            steps.reached(info.location);
        if (link.isClosed())
            return result;
        if (!StoreCheck(info.location, reply)) {
            result.outcome = StoreOutcome::Refused;
            result.refusedAt = info.location;
            result.unanswered = !reply.hasValue();
            return result;
        }
        if (reply.hasValue())
            result.lastAcknowledged = info.location;
        if (events.progressed)
            events.progressed(Transfer::Storing, info.location);
    }
    if (steps.ends)
        steps.ends();
    if (takeTrailingByte(link))
        link.replyWhole();
    link.storeUnderWay(false);
    result.outcome = StoreOutcome::Stored;
    return result;
}

bool ConfigurationStore::StoreCheck(int location, const Received& reply)
{
    // A reply that did not come is no acknowledgement, of location 0 neither:
    // the module may have stopped listening after taking its value.
    return reply.hasValue() && reply == location;
}

} // namespace vindle
