#include "program/ConfigurationFile.h"

#include "base/AtIndex.h"
#include "config/Identity.h"
#include "config/MemoryMap.h"

#include <algorithm>
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

// The library's message without the tag in brackets it starts with.
std::string withoutTag(const char* what)
{
    std::string text = what;
    if (const auto tagEnd = text.find("] "); tagEnd != std::string::npos)
        text.erase(0, tagEnd + 2);
    return text;
}

// Where a byte of the text is, as an editor counts: "line 3, column 7".
std::string lineAndColumn(std::string_view text, std::size_t offset)
{
    const std::string_view before = text.substr(0, offset);
    const std::size_t lineStart = before.rfind('\n');
    const auto line = std::count(before.begin(), before.end(), '\n') + 1;
    const std::size_t column = offset - (lineStart == std::string_view::npos ? 0 : lineStart + 1);
    return "line " + std::to_string(line) + ", column " + std::to_string(column + 1);
}

// A number other than a whole one from 0 up, as the file writes it. No such
// number is right anywhere in a configuration: it is kept as its text, for
// the message that refuses it to quote ("-0", "1e2" and "1.50" as written).
Json writtenNumber(std::string_view text)
{
    return Json::binary(Json::binary_t::container_type(text.begin(), text.end()));
}

std::string locationValueMessage(const std::string& key, const std::string& shownValue)
{
    return "Location " + inQuotes(key) + ": \"value\" must be an integer from 0 to 255, not " +
           shownValue + ".";
}

std::string moduleValueMessage(const std::string& key, const std::string& shownValue)
{
    return "\"module\": " + inQuotes(key) + " must be an integer from 0 to 255 or null, not " +
           shownValue + ".";
}

bool isModuleKey(const std::string& key)
{
    return std::any_of(kModuleIdentityKeys.begin(), kModuleIdentityKeys.end(),
                       [&key](const ModuleIdentityKey& k) { return k.key == key; });
}

// A value as a message shows it: itself when it is short, else its kind.
std::string shown(const Json& value)
{
    if (value.is_structured())
        return std::string(value.is_object() ? "an object" : "an array");
    std::string text = value.is_binary()
                           ? std::string(value.get_binary().begin(), value.get_binary().end())
                           : value.dump(-1, ' ', true, Json::error_handler_t::replace);
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

// The document built from the parser's events, with what the values alone do
// not tell: how numbers are written (above), the first key that appears
// twice in one object (the parser itself would keep the last), and which key
// a number too large for a double was given to.
class FileReader final : public nlohmann::json_sax<Json>
{
public:
    explicit FileReader(std::string_view text) : text_(text) {}

    Json read()
    {
        if (const std::size_t nul = text_.find('\0'); nul != std::string_view::npos)
            fail("The file is not valid JSON: it holds a NUL byte at " + lineAndColumn(text_, nul) +
                 ".");
        if (!Json::sax_parse(text_, this))
            fail(error_);
        if (duplicate_) {
            const auto& [object, key] = *duplicate_;
            if (object == "locations")
                fail("Location " + inQuotes(key) + " appears more than once in \"locations\".");
            fail("The key " + inQuotes(key) + " appears more than once" +
                 (object.empty() ? std::string(" at the top level.")
                                 : " in " + inQuotes(object) + "."));
        }
        return std::move(root_);
    }

    bool null() override { return add(nullptr); }
    bool boolean(bool value) override { return add(value); }
    // Only a number written with a minus sign comes here.
    bool number_integer(number_integer_t value) override
    {
        return add(writtenNumber(value == 0 ? "-0" : std::to_string(value)));
    }
    bool number_unsigned(number_unsigned_t value) override { return add(value); }
    bool number_float(number_float_t /*value*/, const string_t& text) override
    {
        return add(writtenNumber(text));
    }
    bool string(string_t& value) override { return add(std::move(value)); }
    bool binary(binary_t& value) override { return add(Json::binary(value)); }

    bool start_object(std::size_t /*size*/) override
    {
        open(Json::object());
        objects_.push_back({lastKey_, {}});
        return true;
    }
    bool key(string_t& key) override
    {
        if (!objects_.back().keys.insert(key).second && !duplicate_)
            duplicate_ = {objects_.back().name, key};
        lastKey_ = key;
        return true;
    }
    bool end_object() override
    {
        objects_.pop_back();
        open_.pop_back();
        return true;
    }
    bool start_array(std::size_t /*size*/) override
    {
        open(Json::array());
        return true;
    }
    bool end_array() override
    {
        open_.pop_back();
        return true;
    }

    bool parse_error(std::size_t position, const std::string& token,
                     const Json::exception& error) override
    {
        constexpr int kNumberOverflow = 406;
        if (error.id != kNumberOverflow) {
            error_ = syntaxErrorMessage(position, token);
            return false;
        }
        // Said as for any other number that is no byte, where there is one.
        const std::string number = shown(writtenNumber(token));
        const std::vector<std::string> keys = path();
        if (keys.size() == 3 && keys[0] == "locations" && locationOf(keys[1]) && keys[2] == "value")
            error_ = locationValueMessage(keys[1], number);
        else if (keys.size() == 2 && keys[0] == "module" && isModuleKey(keys[1]))
            error_ = moduleValueMessage(keys[1], number);
        else
            error_ = "The number " + number + " at " +
                     lineAndColumn(text_, position - std::min(position, token.size())) +
                     " is too large.";
        return false;
    }

private:
    // A syntax error as a person would put it. `position` counts the bytes
    // the parser took, the offending one last; past the text's end when the
    // text stopped short.
    std::string syntaxErrorMessage(std::size_t position, const std::string& token) const
    {
        if (text_.find_first_not_of(" \t\r\n") == std::string_view::npos)
            return "The file is empty: it holds no configuration.";
        if (position > text_.size())
            return "The file is not valid JSON: it ends in the middle of its text, at " +
                   lineAndColumn(text_, text_.size()) + ".";
        const std::size_t offset = position == 0 ? 0 : position - 1;
        const auto byte = static_cast<unsigned char>(text_[offset]);
        if (!token.empty() && token.front() == '"' && byte < 0x20)
            return "The file is not valid JSON: a text in quotes breaks off at " +
                   lineAndColumn(text_, offset) +
                   " (a line break or tab inside quotes is written \\n or \\t).";
        return "The file is not valid JSON: there is something unexpected at " +
               lineAndColumn(text_, offset) + ".";
    }

    bool add(Json value)
    {
        place(std::move(value));
        return true;
    }
    // Puts the value where the parser is, and returns it.
    Json& place(Json value)
    {
        if (open_.empty()) {
            root_ = std::move(value);
            return root_;
        }
        Json& parent = *open_.back();
        if (parent.is_array()) {
            parent.push_back(std::move(value));
            return parent.back();
        }
        Json& member = parent[lastKey_];
        member = std::move(value);
        return member;
    }
    void open(Json container) { open_.push_back(&place(std::move(container))); }

    // The keys from the top level to the value being read; empty when it is
    // in an array.
    std::vector<std::string> path() const
    {
        std::vector<std::string> keys;
        if (open_.empty() || objects_.size() != open_.size())
            return keys;
        for (std::size_t i = 1; i < objects_.size(); ++i)
            keys.push_back(objects_[i].name);
        keys.push_back(lastKey_);
        return keys;
    }

    struct OpenObject
    {
        std::string name; // its key in the object around it
        std::set<std::string> keys;
    };

    std::string_view text_;
    Json root_;
    std::vector<Json*> open_;
    std::vector<OpenObject> objects_;
    std::string lastKey_;
    std::optional<std::pair<std::string, std::string>> duplicate_;
    std::string error_;
};

Json parseJson(std::string_view text)
{
    return FileReader(text).read();
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
            fail(moduleValueMessage(key, shown(value)));
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
            fail(locationValueMessage(key, shown(entry["value"])));
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

std::optional<OtherModule> otherModule(const ModuleIdentityRecord& file,
                                       const ModuleIdentityRecord& connected)
{
    if (!file.deviceId1 || !connected.deviceId1 || *file.deviceId1 == *connected.deviceId1)
        return std::nullopt;
    return OtherModule{*file.deviceId1, *connected.deviceId1};
}

std::string otherModuleText(const OtherModule& other)
{
    return "This file was saved from another kind of Vindle Module (Device ID #1: " +
           std::to_string(other.fileDeviceId1) +
           ") than the one connected (Device ID #1: " + std::to_string(other.connectedDeviceId1) +
           ").";
}

std::string otherModuleMessage(const OtherModule& other)
{
    return otherModuleText(other) + "  Its values are in the windows: check them before you store "
                                    "them.";
}

std::string cannotShowMessage(int location, int value)
{
    std::string where = locationText(location);
    where.front() = 'L'; // it starts a sentence
    return where + " holds " + std::to_string(value) + ", which the windows cannot show.";
}

// Whatever else the JSON library throws is a file that cannot be used, too.
ConfigurationFileContents parseConfigurationFile(std::string_view text)
try {
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
    return {parseModule(json["module"]), parseLocations(json["locations"]),
            json.value("comment", std::string())};
} catch (const Json::exception& error) {
    fail("The file cannot be used: " + withoutTag(error.what()));
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
    if (!contents.comment.empty())
        file["comment"] = contents.comment;
    file["module"] = std::move(module);
    file["locations"] = std::move(locations);
    return file.dump(2) + "\n";
}

ParsedFile parseConfigurationText(std::string_view text)
{
    try {
        return {parseConfigurationFile(text), {}};
    } catch (const ConfigurationFileError& error) {
        return {std::nullopt, error.what()};
    }
}

} // namespace vindle
