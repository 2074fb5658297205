#pragma once

#include "link/Commands.h"
#include "link/Received.h"
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
    static constexpr const char* kCannotStore = "Cannot Store this Configuration.";
    static constexpr const char* kStorageError =
        "Storage Error: Device is Not Responding.  Make Sure the Program Jumper is Installed, the "
        "Vindle Module is Connected to a Power Supply, and the Device is Powered (the LED will be "
        "Flashing Constantly during Configuration Mode).";

    explicit ConfigurationStore(ProgramServices services);

    // The store procedure, on a line the caller holds.
    void StoreSettings_Click();
    // Judges the module's acknowledgement of `location`; on a wrong or
    // missing one (a missing one passes at location 0) tells the user. Sets
    // the progress either way. True when the store may go on.
    bool StoreCheck(int location, const Received& reply);

    // The message that refuses a store because a text field is not a byte.
    static std::string badFieldMessage(int location, const std::string& text);

private:
    bool sendsSomeOutput() const;

    ProgramServices services_;
};

} // namespace vindle
