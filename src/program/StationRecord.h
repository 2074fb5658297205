#pragma once

#include "program/ModuleText.h"
#include "program/Provisioning.h"

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace vindle {

// The station log's line for one module of the bench: `common` holds what
// every line of the bench shares (the time, the port, the file and its hash,
// the station and the operator); the module gives the rest, its command too
// ("diff" for a module checked against the file, else "store").
StationLogEntry benchLogEntry(const ProvisionedModule& module, StationLogEntry common);

// The serial numbers a station log holds already, so that a unit is not set
// up twice by mistake: a serial number in the log is refused until it is
// given again, which confirms another attempt at that unit.
class SerialLedger
{
public:
    // The serial numbers of lines already written (JSON Lines); a line that
    // is not a JSON object, or has no serial number, is skipped.
    void addLogText(std::string_view jsonl);
    // A line with `serial` was written.
    void add(const std::string& serial);
    // How many lines carry `serial`; 0 for a new one.
    int count(const std::string& serial) const;

    // What becomes of `serial`, given for the next module right after
    // `refused` was refused (empty when nothing was): a new serial number is
    // taken as attempt 1; one in the log only when given again right after
    // its refusal, as its next attempt. Empty when refused: say
    // refusalText(serial) and ask again.
    std::optional<SerialAnswer> take(const std::string& serial, const std::string& refused) const;

    // "Serial number SN-1 is already in the log. Scan or type it again to
    // try that unit again, or give another."
    static std::string refusalText(const std::string& serial);

private:
    std::map<std::string, int, std::less<>> counts_;
};

} // namespace vindle
