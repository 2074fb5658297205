#pragma once

#include "ExitStatus.h"
#include "ModuleRun.h"
#include "program/ConfigurationFile.h"

#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

namespace vindle::cli {

// How vindle-config writes a module's identity and what became of it.

// "Device ID #1: 17, Device ID #2: 4, ..." with `separator` between the
// values; "identity not read" when nothing is known.
std::string identityText(const ModuleIdentityRecord& identity, const std::string& separator = ", ");
// The identity as the configuration file keeps it.
nlohmann::json identityJson(const ModuleIdentityRecord& identity);

// One line's worth: "stored and verified", "differs at location 12 (...)", ...
// A run that ended under a store (the port failed, interrupted) says how far
// it came, from `lastStored`.
std::string outcomeText(ExitStatus status, const std::vector<Difference>& differences,
                        std::optional<int> refusedAt, std::optional<int> lastStored = {});

// One line per difference, as --verify lists them, without a final line break.
std::string differencesText(const std::vector<Difference>& differences);
nlohmann::json differencesJson(const std::vector<Difference>& differences);

} // namespace vindle::cli
