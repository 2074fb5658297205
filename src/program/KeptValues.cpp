#include "program/KeptValues.h"

#include "config/Configuration.h"
#include "config/MemoryMap.h"
#include "program/ConfigurationStore.h"

#include <array>

namespace vindle {

RecordCheck checkRecord(const ConfigurationRecord& record)
{
    Configuration configuration;
    RecordCheck check;
    check.unkept = configuration.put(record, std::nullopt);
    check.sendsOutput = configuration.sendsOutput();
    return check;
}

std::optional<std::string> storeRefusal(const std::string& name, const ConfigurationRecord& record)
{
    const RecordCheck check = checkRecord(record);
    if (!check.unkept.empty())
        return name + ": the file cannot be stored as it is:" +
               unkeptValuesLines(check.unkept, UnkeptWording::WouldStore);
    if (!check.sendsOutput)
        return name + ": " + ConfigurationStore::kNoOutput;
    return std::nullopt;
}

std::string unkeptValuesLines(const std::vector<UnkeptValue>& unkept, UnkeptWording wording)
{
    struct Words
    {
        const char* lineStart;
        bool sentence; // each line a sentence of its own
        const char* beforeWanted;
        const char* beforeHeld;
        const char* end;
    };
    static constexpr std::array<Words, 3> kWords{{
        {"\n", true, ": ", " in the file, ", " now."},
        {"\n    ", false, ": the file holds ", ", which the windows would store as ", ""},
        {"\n    ", false, ": the file holds ", ", this module ", ""},
    }};
    const Words& words = kWords.at(static_cast<std::size_t>(wording));
    std::string lines;
    for (const UnkeptValue& value : unkept) {
        std::string where = locationText(value.location);
        if (words.sentence)
            where.front() = 'L';
        lines += words.lineStart + where + words.beforeWanted + std::to_string(value.wanted) +
                 words.beforeHeld + std::to_string(value.held) + words.end;
    }
    return lines;
}

std::string unkeptValuesMessage(const std::vector<UnkeptValue>& unkept)
{
    return "Some values of the file could not be kept for this Vindle Module:" +
           unkeptValuesLines(unkept, UnkeptWording::Now);
}

std::string changedValueText(const UnkeptValue& changed)
{
    return locationText(changed.location) + ": the module holds " + std::to_string(changed.wanted) +
           ", which the windows make " + std::to_string(changed.held);
}

std::string changedValuesMessage(const std::vector<UnkeptValue>& changed)
{
    std::string message = "The Vindle Module holds values that the windows show differently:";
    for (const UnkeptValue& value : changed) {
        std::string text = changedValueText(value);
        text.front() = 'L';
        message += "\n" + text + ".";
    }
    return message + "\nStore Configuration would write what the windows show.";
}

FileToStore fileToStore(const std::string& name, std::string_view text)
{
    ParsedFile parsed = parseConfigurationText(text);
    if (!parsed.contents)
        return {std::nullopt, name + ": " + parsed.error};
    if (std::optional<std::string> refusal = storeRefusal(name, parsed.contents->record))
        return {std::nullopt, std::move(*refusal)};
    return {std::move(parsed.contents), {}};
}

} // namespace vindle
