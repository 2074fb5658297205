#include "program/ConfigurationFile.h"

#include "base/AtIndex.h"
#include "config/Identity.h"
#include "config/MemoryMap.h"

#include <array>
#include <charconv>
#include <nlohmann/json.hpp>
#include <set>
#include <vector>

namespace vindle {

namespace {

using Json = nlohmann::json;

constexpr std::string_view kFormat = "vindle-configuration";
constexpr int kVersion = 1;

constexpr std::array<std::string_view, 5> kTopLevelKeys{"format", "version", "comment", "module",
                                                        "locations"};

[[noreturn]] void fail(const std::string& message)
{
    throw ConfigurationFileError(message);
}

// The longest text of the file a message repeats.
constexpr std::size_t kLongestShown = 40;

// A key of the file as a message names it: in quotes, escaped as JSON
// escapes it, and cut short when long.
std::string inQuotes(std::string_view key)
{
    std::string text = Json(std::string(key)).dump(-1, ' ', true, Json::error_handler_t::replace);
    if (text.size() > kLongestShown + 2)
        text = text.substr(0, kLongestShown + 1) + "...\"";
    return text;
}

// The first key that appears twice in one object, with the key of that
// object (empty at the top level). The JSON parser itself keeps the last.
class DuplicateKeyFinder
{
public:
    bool operator()(int /*depth*/, Json::parse_event_t event, Json& parsed)
    {
        switch (event) {
        case Json::parse_event_t::object_start:
            keys_.emplace_back();
            objects_.push_back(lastKey_);
            break;
        case Json::parse_event_t::object_end:
            keys_.pop_back();
            objects_.pop_back();
            break;
        case Json::parse_event_t::key:
            lastKey_ = parsed.get<std::string>();
            if (!keys_.back().insert(lastKey_).second && !duplicate_)
                duplicate_ = {objects_.back(), lastKey_};
            break;
        default:
            break;
        }
        return true;
    }

    void check() const
    {
        if (!duplicate_)
            return;
        const auto& [object, key] = *duplicate_;
        if (object == "locations")
            fail("Location " + inQuotes(key) + " appears more than once in \"locations\".");
        fail(
            "The key " + inQuotes(key) + " appears more than once" +
            (object.empty() ? std::string(" at the top level.") : " in " + inQuotes(object) + "."));
    }

private:
    std::vector<std::set<std::string>> keys_;
    std::vector<std::string> objects_;
    std::string lastKey_;
    std::optional<std::pair<std::string, std::string>> duplicate_;
};

Json parseJson(std::string_view text)
{
    DuplicateKeyFinder duplicates;
    Json json;
    try {
        json = Json::parse(text, std::ref(duplicates));
    } catch (const Json::parse_error& error) {
        // The library's text starts with its own tag in brackets.
        std::string what = error.what();
        if (const auto tagEnd = what.find("] "); tagEnd != std::string::npos)
            what.erase(0, tagEnd + 2);
        fail("The file is not valid JSON: " + what);
    }
    duplicates.check();
    return json;
}

// A value as a message shows it: itself when it is short, else its kind.
std::string shown(const Json& value)
{
    if (value.is_structured())
        return std::string(value.is_object() ? "an object" : "an array");
    std::string text = value.dump(-1, ' ', true, Json::error_handler_t::replace);
    if (text.size() > kLongestShown)
        text = text.substr(0, kLongestShown) + "...";
    return text;
}

// An integer from 0 to 255, or none.
std::optional<int> byteOf(const Json& value)
{
    if (value.is_number_unsigned() && value.get<std::uint64_t>() <= 255)
        return static_cast<int>(value.get<std::uint64_t>());
    return std::nullopt;
}

// The location a key of "locations" names: its decimal digits, without a
// sign or leading zeros.
std::optional<int> locationOf(const std::string& key)
{
    int location = -1;
    const char* end = key.data() + key.size();
    const auto [last, error] = std::from_chars(key.data(), end, location);
    if (error != std::errc{} || last != end || key != std::to_string(location) || location < 0 ||
        location >= kLocationCount)
        return std::nullopt;
    return location;
}

ModuleIdentityRecord parseModule(const Json& module)
{
    if (!module.is_object())
        fail("\"module\" must be an object with the keys \"device_id_1\", \"device_id_2\", "
             "\"year\", \"firmware\" and \"capabilities\".");
    ModuleIdentityRecord identity;
    for (const auto& item : module.items()) {
        const std::string& key = item.key();
        const Json& value = item.value();
        const auto known =
            std::find_if(kModuleIdentityKeys.begin(), kModuleIdentityKeys.end(),
                         [&key](const ModuleIdentityKey& k) { return k.key == key; });
        if (known == kModuleIdentityKeys.end())
            fail("Unknown key " + inQuotes(key) + " in \"module\".");
        if (value.is_null())
            continue;
        const std::optional<int> byte = byteOf(value);
        if (!byte)
            fail("\"module\": " + inQuotes(key) +
                 " must be an integer from 0 to 255 or null, not " + shown(value) + ".");
        identity.*(known->field) = byte;
    }
    return identity;
}

ConfigurationRecord parseLocations(const Json& locations)
{
    if (!locations.is_object())
        fail("\"locations\" must be an object keyed by the location numbers \"0\" to \"50\".");
    ConfigurationRecord record;
    std::array<bool, kLocationCount> present{};
    for (const auto& [key, entry] : locations.items()) {
        const std::optional<int> location = locationOf(key);
        if (!location)
            fail("\"locations\": " + inQuotes(key) +
                 " is not a location; the locations are \"0\" to \"50\".");
        const std::string where = "Location " + inQuotes(key);
        if (!entry.is_object())
            fail(where + " must be an object with \"item\" and \"value\".");
        for (const auto& [field, unused] : entry.items()) {
            if (field != "item" && field != "value")
                fail(where + ": unknown key " + inQuotes(field) + ".");
        }
        if (entry.contains("item") && !entry["item"].is_string())
            fail(where + ": \"item\" must be text.");
        if (!entry.contains("value"))
            fail(where + " has no \"value\".");
        const std::optional<int> value = byteOf(entry["value"]);
        if (!value)
            fail(where + ": \"value\" must be an integer from 0 to 255, not " +
                 shown(entry["value"]) + ".");
        if (windowsCannotShow(locationInfo(*location), *value))
            fail(cannotShowMessage(*location, *value));
        atIndex(record.values, *location) = static_cast<std::int16_t>(*value);
        atIndex(present, *location) = true;
    }
    std::string missing;
    for (int location = 0; location < kLocationCount; ++location) {
        if (!atIndex(present, location))
            missing += (missing.empty() ? "" : ", ") + inQuotes(std::to_string(location));
    }
    if (!missing.empty())
        fail("\"locations\" lacks location " + missing + ".");
    return record;
}

std::optional<int> numberOf(const Received& received)
{
    if (!received.hasValue())
        return std::nullopt;
    return received.toNumber();
}

} // namespace

ModuleIdentityRecord moduleIdentityRecord(const Identity& identity)
{
    return {numberOf(identity.deviceId1), numberOf(identity.deviceId2),
            numberOf(identity.yearOfRelease), numberOf(identity.firmwareVersion),
            numberOf(identity.capabilityByte)};
}

std::string cannotShowMessage(int location, int value)
{
    std::string where = locationText(location);
    where.front() = 'L'; // it starts a sentence
    return where + " holds " + std::to_string(value) + ", which the windows cannot show.";
}

ConfigurationFileContents parseConfigurationFile(std::string_view text)
{
    const Json json = parseJson(text);
    if (!json.is_object())
        fail("The file does not hold a configuration: its top level must be a JSON object.");
    for (const auto& [key, unused] : json.items()) {
        if (std::find(kTopLevelKeys.begin(), kTopLevelKeys.end(), key) == kTopLevelKeys.end())
            fail("Unknown key " + inQuotes(key) + " at the top level.");
    }
    if (!json.contains("format") || json["format"] != kFormat)
        fail("\"format\" must be \"" + std::string(kFormat) + "\"" +
             (json.contains("format") ? ", not " + shown(json["format"]) : std::string()) + ".");
    // Written as an integer: 1.0 is no version.
    if (!json.contains("version") || !json["version"].is_number_integer() ||
        json["version"] != kVersion)
        fail("\"version\" must be " + std::to_string(kVersion) +
             (json.contains("version") ? ", not " + shown(json["version"]) : std::string()) +
             "; this program reads version " + std::to_string(kVersion) + " only.");
    if (json.contains("comment") && !json["comment"].is_string())
        fail("\"comment\" must be text.");
    if (!json.contains("module"))
        fail("The key \"module\" is missing.");
    if (!json.contains("locations"))
        fail("The key \"locations\" is missing.");
    return {parseModule(json["module"]), parseLocations(json["locations"])};
}

std::string tooLargeFileMessage(std::string_view file)
{
    return "Cannot read " + std::string(file) + ": it is larger than " +
           std::to_string(kLargestConfigurationFile) + " bytes";
}

std::string formatConfigurationFile(const ConfigurationFileContents& contents)
{
    nlohmann::ordered_json module = nlohmann::ordered_json::object();
    for (const ModuleIdentityKey& key : kModuleIdentityKeys) {
        const std::optional<int>& value = contents.module.*(key.field);
        module[std::string(key.key)] = value ? nlohmann::ordered_json(*value) : nullptr;
    }
    nlohmann::ordered_json locations = nlohmann::ordered_json::object();
    for (const LocationInfo& info : memoryMap()) {
        locations[std::to_string(info.location)] = {{"item", info.item},
                                                    {"value", contents.record[info.location]}};
    }
    nlohmann::ordered_json file = nlohmann::ordered_json::object();
    file["format"] = kFormat;
    file["version"] = kVersion;
    file["module"] = std::move(module);
    file["locations"] = std::move(locations);
    return file.dump(2) + "\n";
}

} // namespace vindle
