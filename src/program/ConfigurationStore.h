#pragma once

#include "link/Commands.h"
#include "link/Received.h"
#include "program/ProcedureResults.h"

#include <string>

namespace vindle {

class ByteLink;

// Stores a configuration into the module, location by location, each value
// taken from it at the moment it is sent (in the windows, from its control)
// and acknowledged by the module with the location number before the next
// goes.
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

    explicit ConfigurationStore(ByteLink& link);

    // The store of `holder`, on a line the caller holds, with nothing said to
    // the user: what happened is the result. `steps` follow the transfer.
    StoreResult storeModule(ConfigurationHolder& holder, const TransferSteps& steps = {});
    // Judges the module's acknowledgement of `location` (a missing one passes
    // at location 0). True when the store may go on.
    static bool StoreCheck(int location, const Received& reply);

private:
    ByteLink& link_;
};

} // namespace vindle
