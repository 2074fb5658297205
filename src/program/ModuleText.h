#pragma once

#include "program/ConfigurationFile.h"
#include "program/ExitStatus.h"
#include "program/ProcedureResults.h"

#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

namespace vindle {

// "Reading" or "Storing": a transfer as its progress names it.
const char* transferName(Transfer transfer);
// "Location 7 of 50": how far a transfer has come.
std::string transferReachedText(int location);

// A location where one configuration holds something else than another:
// the module than the file (--verify, diff), or a second file than a first.
struct Difference
{
    int location;
    int inFile;
    int inModule;

    friend bool operator==(const Difference&, const Difference&) = default;
};

// Every location where `module` holds something else than `file`.
std::vector<Difference> differencesOf(const ConfigurationRecord& file,
                                      const ConfigurationRecord& module);

// What the two sides of a difference are called, in words and in JSON.
struct DifferenceSides
{
    const char* first;     // "the file holds"
    const char* second;    // "the module"
    const char* firstKey;  // "file"
    const char* secondKey; // "module"
};
inline constexpr DifferenceSides kFileAndModule{"the file holds", "the module", "file", "module"};
inline constexpr DifferenceSides kTwoFiles{"the first file holds", "the second", "first", "second"};

// How the front ends write a module's identity and what became of it: the
// command line's lines and JSON, the page's bench and the station log.

// "Device ID #1: 17, Device ID #2: 4, ..." with `separator` between the
// values; "identity not read" when nothing is known.
std::string identityText(const ModuleIdentityRecord& identity, const std::string& separator = ", ");
// The identity as the configuration file keeps it.
nlohmann::json identityJson(const ModuleIdentityRecord& identity);

// One line's worth: "stored and verified", "differs at location 12 (...)", ...
// A run that ended under a store (the port failed, interrupted) says how far
// it came, from `lastStored`.
// A store refused by an acknowledgement that did not come (`unanswered`) says
// that the module stopped answering; a read-back that was not answered says
// that everything was stored.
std::string outcomeText(ExitStatus status, const std::vector<Difference>& differences,
                        std::optional<int> refusedAt, std::optional<int> lastStored = {},
                        bool unanswered = false);

// " at locations 1, 5" (" at location 5" for one).
std::string atLocationsText(const std::vector<Difference>& differences);

// One line per difference, as --verify lists them, without a final line
// break: "location 5 (Q4T device number): the file holds 0, the module 99".
std::string differencesText(const std::vector<Difference>& differences,
                            const DifferenceSides& sides = kFileAndModule);
// [{"location", "item", "file", "module"}], with the sides' keys.
nlohmann::json differencesJson(const std::vector<Difference>& differences,
                               const DifferenceSides& sides = kFileAndModule);

// One line of the station log: which module got which file, and what became
// of it. The shell that keeps the log gives the time and the file's hash.
struct StationLogEntry
{
    std::string time; // RFC 3339, UTC, in milliseconds
    std::string command;
    std::string port;
    std::optional<std::string> file;       // the path as given
    std::optional<std::string> fileSha256; // lower-case hex
    ModuleIdentityRecord module;
    ExitStatus status = ExitStatus::Done;
    std::string result; // the line said for it
    std::vector<Difference> differences;
    // The station record, when the bench keeps one: where and by whom, the
    // unit's serial number (and its attempt, from the second on), and the
    // 51 values it held before the store. Absent from the line when not given.
    std::optional<std::string> station;
    std::optional<std::string> operatorName;
    std::optional<std::string> serial;
    std::optional<int> attempt;
    std::optional<ConfigurationRecord> before;
};
// The entry as the log's one JSON object (null for what is not known; the
// station record's keys only when given).
nlohmann::json stationLogJson(const StationLogEntry& entry);

} // namespace vindle
