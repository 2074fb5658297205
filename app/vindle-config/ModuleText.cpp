#include "ModuleText.h"

#include "config/MemoryMap.h"

#include <array>
#include <string_view>

namespace vindle::cli {

namespace {

struct IdentityField
{
    std::string_view caption; // as the main window labels it
    std::string_view key;     // as the configuration file keeps it
    std::optional<int> ModuleIdentityRecord::*value;
};

constexpr std::array kIdentityFields{
    IdentityField{"Device ID #1:", "device_id_1", &ModuleIdentityRecord::deviceId1},
    IdentityField{"Device ID #2:", "device_id_2", &ModuleIdentityRecord::deviceId2},
    IdentityField{"Year of Release:", "year", &ModuleIdentityRecord::year},
    IdentityField{"Firmware Version:", "firmware", &ModuleIdentityRecord::firmware},
    IdentityField{"Capabilities:", "capabilities", &ModuleIdentityRecord::capabilities},
};

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
    OutcomeWords{ExitStatus::Interrupted, "interrupted"},
};

std::string describe(int location)
{
    return "location " + std::to_string(location) + " (" +
           std::string(locationInfo(location).item) + ")";
}

} // namespace

std::string identityText(const ModuleIdentityRecord& identity, const std::string& separator)
{
    std::string text;
    for (const IdentityField& field : kIdentityFields) {
        const std::optional<int>& value = identity.*field.value;
        if (!value)
            continue;
        if (!text.empty())
            text += separator;
        text += std::string(field.caption) + " " + std::to_string(*value);
    }
    return text.empty() ? "identity not read" : text;
}

nlohmann::json identityJson(const ModuleIdentityRecord& identity)
{
    nlohmann::json object = nlohmann::json::object();
    for (const IdentityField& field : kIdentityFields) {
        const std::optional<int>& value = identity.*field.value;
        object[std::string(field.key)] = value ? nlohmann::json(*value) : nlohmann::json(nullptr);
    }
    return object;
}

std::string outcomeText(ExitStatus status, const std::vector<Difference>& differences,
                        std::optional<int> refusedAt)
{
    std::string text;
    for (const OutcomeWords& outcome : kOutcomeWords) {
        if (outcome.status == status)
            text = outcome.words;
    }
    if (status == ExitStatus::StoreRefused && refusedAt)
        text += " at " + describe(*refusedAt);
    if (status == ExitStatus::Differences) {
        text += differences.size() == 1 ? " at location" : " at locations";
        for (const Difference& difference : differences)
            text += " " + std::to_string(difference.location) +
                    (&difference == &differences.back() ? "" : ",");
    }
    return text;
}

std::string differencesText(const std::vector<Difference>& differences)
{
    std::string text;
    for (const Difference& difference : differences)
        text += (text.empty() ? "" : "\n") + describe(difference.location) + ": the file holds " +
                std::to_string(difference.inFile) + ", the module " +
                std::to_string(difference.inModule);
    return text;
}

nlohmann::json differencesJson(const std::vector<Difference>& differences)
{
    nlohmann::json list = nlohmann::json::array();
    for (const Difference& difference : differences)
        list.push_back({{"location", difference.location},
                        {"item", std::string(locationInfo(difference.location).item)},
                        {"file", difference.inFile},
                        {"module", difference.inModule}});
    return list;
}

} // namespace vindle::cli
