#pragma once

#include "link/Commands.h"
#include "link/Received.h"
#include "program/ProcedureResults.h"
#include "program/ProgramServices.h"

#include <string>

namespace vindle {

// Stores the windows' configuration into the module, location by location,
// each value taken from its control at the moment it is sent and
// acknowledged by the module with the location number before the next goes.
class ConfigurationStore
{
public:
    static constexpr const char* kStoringText = "Storing Configuration into Controller...";
    static constexpr const char* kNoOutput =
        "This device is not configured to communicate any output data.  You need to choose an "
        "RS-232 or Wireless Data Output Option.";
    static constexpr const char* kStorageError =
        "Storage Error: Device is Not Responding.  Make Sure the Program Jumper is Installed, the "
        "Vindle Module is Connected to a Power Supply, and the Device is Powered (the LED will be "
        "Flashing Constantly during Configuration Mode).";

    explicit ConfigurationStore(ProgramServices services);

    // The store, on a line the caller holds, with nothing said to the user:
    // what happened is the result. What the windows show of the transfer is
    // `steps`'.
    StoreResult storeModule(const TransferSteps& steps = {});
    // Store Configuration, on a line the caller holds: the store with the
    // progress window and the main window disabled while it runs, and its
    // messages. A store that did not finish leaves them so until its message
    // has been acknowledged, or for good when the run ended.
    StoreResult StoreSettings_Click();
    // Judges the module's acknowledgement of `location` (a missing one passes
    // at location 0). True when the store may go on.
    static bool StoreCheck(int location, const Received& reply);

private:
    ProgramServices services_;
};

} // namespace vindle
