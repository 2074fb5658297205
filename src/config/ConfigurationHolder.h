#pragma once

#include "config/ConfigurationRecord.h"
#include "config/Identity.h"

#include <optional>
#include <string>
#include <vector>

namespace vindle {

// A location whose value a configuration did not keep, and what it holds now.
struct UnkeptValue
{
    int location;
    int wanted;
    int held;
};

// What Store Configuration sends for a configuration as it is now. The first
// field that holds no byte (0 in the record) refuses them all, with the
// store's message.
struct StoreValues
{
    ConfigurationRecord record;
    std::optional<int> refusedLocation;
    std::string refusal;
};

// What a read puts the module's values into and a store takes them from: the
// windows, or a Configuration of its own where no window is shown. A read
// puts a record in its steps, so that what it does between them (the rest of
// the reply, the identity) comes in the same order whatever holds it.
// The store's word for a configuration it does not send.
inline constexpr const char* kCannotStore = "Cannot Store this Configuration.";
// The message that refuses a store because the field of `location` holds
// `text`, which is not a byte.
std::string badFieldMessage(int location, const std::string& text);

class ConfigurationHolder
{
public:
    virtual ~ConfigurationHolder() = default;

    // Every location but the frequency, as a read puts them; the locations
    // whose value no field takes, in order (each keeps what it held).
    virtual std::vector<int> putValues(const ConfigurationRecord& record) = 0;
    // Then the option rules, and the frequency, which must follow them.
    virtual void putFrequency(const ConfigurationRecord& record) = 0;
    // The module's flags: the transmitter it is fitted with and the least
    // input bank count.
    virtual void applyCapabilities(const CapabilityFlags& capabilities) = 0;
    // What a store would send now.
    virtual StoreValues toStore() = 0;
    // The byte a store sends for `location` at the moment it sends it; empty
    // when its field holds no byte now.
    virtual std::optional<int> valueToSend(int location) = 0;
};

} // namespace vindle
