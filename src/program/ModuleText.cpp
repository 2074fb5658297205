#include "program/ModuleText.h"

#include "config/MemoryMap.h"

#include <array>
#include <string_view>
#include <utility>

namespace vindle {

namespace {

// As the main window labels the identity, in the order of kModuleIdentityKeys.
constexpr std::array<std::string_view, kModuleIdentityKeys.size()> kIdentityCaptions{
    "Device ID #1:", "Device ID #2:", "Year of Release:", "Firmware Version:", "Capabilities:"};

} // namespace

namespace {

struct OutcomeWords
{
    ExitStatus status;
    std::string_view words;
};

constexpr std::array kOutcomeWords{
    OutcomeWords{ExitStatus::Done, "stored and verified"},
    OutcomeWords{ExitStatus::Usage, "not stored: the windows cannot store this configuration"},
    OutcomeWords{ExitStatus::PortUnavailable, "the serial port failed"},
    OutcomeWords{ExitStatus::NoAnswer, "no answer from the module"},
    OutcomeWords{ExitStatus::StoreRefused, "the module refused the store"},
    OutcomeWords{ExitStatus::Differences, "stored, but the read-back differs"},
    OutcomeWords{ExitStatus::Unshowable, "the read-back holds a value the windows cannot show"},
    OutcomeWords{ExitStatus::PortFailed, "the serial port failed"},
    OutcomeWords{ExitStatus::Interrupted, "interrupted"},
};

} // namespace

std::string identityText(const ModuleIdentityRecord& identity, const std::string& separator)
{
    std::string text;
    for (std::size_t i = 0; i < kModuleIdentityKeys.size(); ++i) {
        const std::optional<int>& value = identity.*kModuleIdentityKeys[i].field;
        if (!value)
            continue;
        if (!text.empty())
            text += separator;
        text += std::string(kIdentityCaptions[i]) + " " + std::to_string(*value);
    }
    return text.empty() ? "identity not read" : text;
}

nlohmann::json identityJson(const ModuleIdentityRecord& identity)
{
    nlohmann::json object = nlohmann::json::object();
    for (const ModuleIdentityKey& key : kModuleIdentityKeys) {
        const std::optional<int>& value = identity.*key.field;
        object[std::string(key.key)] = value ? nlohmann::json(*value) : nlohmann::json(nullptr);
    }
    return object;
}

std::string outcomeText(ExitStatus status, const std::vector<Difference>& differences,
                        std::optional<int> refusedAt, std::optional<int> lastStored,
                        bool unanswered)
{
    std::string text;
    for (const OutcomeWords& outcome : kOutcomeWords) {
        if (outcome.status == status)
            text = outcome.words;
    }
    const bool allStored = lastStored && *lastStored + 1 == kLocationCount;
    const auto stored = [&] {
        if (!lastStored)
            return std::string("; nothing was stored");
        if (allStored)
            return std::string("; all 51 locations were stored");
        return "; locations 0 to " + std::to_string(*lastStored) + " were stored";
    };
    if (status == ExitStatus::StoreRefused && refusedAt) {
        if (unanswered)
            text = "the module stopped answering";
        text += " at " + locationText(*refusedAt) + stored();
    }
    if (status == ExitStatus::NoAnswer && allStored)
        text = "all 51 locations were stored, but the module did not answer the read-back: not "
               "verified";
    if (status == ExitStatus::PortFailed || status == ExitStatus::Interrupted)
        text += stored();
    if (status == ExitStatus::Differences)
        text += atLocationsText(differences);
    return text;
}

const char* transferName(Transfer transfer)
{
    return transfer == Transfer::Reading ? "Reading" : "Storing";
}

std::string transferReachedText(int location)
{
    return "Location " + std::to_string(location) + " of " + std::to_string(kLocationCount - 1);
}

std::string atLocationsText(const std::vector<Difference>& differences)
{
    std::string text = differences.size() == 1 ? " at location" : " at locations";
    for (const Difference& difference : differences)
        text += " " + std::to_string(difference.location) +
                (&difference == &differences.back() ? "" : ",");
    return text;
}

std::vector<Difference> differencesOf(const ConfigurationRecord& file,
                                      const ConfigurationRecord& module)
{
    std::vector<Difference> differences;
    for (int location = 0; location < kLocationCount; ++location) {
        if (module[location] != file[location])
            differences.push_back({location, file[location], module[location]});
    }
    return differences;
}

std::string differencesText(const std::vector<Difference>& differences,
                            const DifferenceSides& sides)
{
    std::string text;
    for (const Difference& difference : differences)
        text += (text.empty() ? "" : "\n") + locationText(difference.location) + ": " +
                sides.first + " " + std::to_string(difference.inFile) + ", " + sides.second + " " +
                std::to_string(difference.inModule);
    return text;
}

nlohmann::json differencesJson(const std::vector<Difference>& differences,
                               const DifferenceSides& sides)
{
    nlohmann::json list = nlohmann::json::array();
    for (const Difference& difference : differences)
        list.push_back({{"location", difference.location},
                        {"item", std::string(locationInfo(difference.location).item)},
                        {sides.firstKey, difference.inFile},
                        {sides.secondKey, difference.inModule}});
    return list;
}

nlohmann::json stationLogJson(const StationLogEntry& entry)
{
    const auto orNull = [](const std::optional<std::string>& text) {
        return text ? nlohmann::json(*text) : nlohmann::json(nullptr);
    };
    nlohmann::json line = {{"time", entry.time},
                           {"command", entry.command},
                           {"port", entry.port},
                           {"file", orNull(entry.file)},
                           {"file_sha256", orNull(entry.fileSha256)},
                           {"module", identityJson(entry.module)},
                           {"status", toInt(entry.status)},
                           {"result", entry.result},
                           {"differences", differencesJson(entry.differences)}};
    const std::pair<const char*, const std::optional<std::string>*> texts[] = {
        {"station", &entry.station}, {"operator", &entry.operatorName}, {"serial", &entry.serial}};
    for (const auto& [key, text] : texts) {
        if (*text)
            line[key] = **text;
    }
    if (entry.attempt)
        line["attempt"] = *entry.attempt;
    if (entry.before)
        line["before"] = entry.before->values;
    return line;
}

} // namespace vindle
