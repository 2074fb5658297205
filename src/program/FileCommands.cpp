#include "program/FileCommands.h"

#include "program/SetupProgram.h"

#include <utility>

namespace vindle {

std::vector<std::string> FileCommands::Opened::messages() const
{
    switch (outcome) {
    case Outcome::Unreadable:
        return {error};
    case Outcome::Busy:
        return {SetupProgram::kBusyMessage};
    case Outcome::Opened:
        break;
    }
    std::vector<std::string> messages;
    if (otherModule)
        messages.push_back(otherModuleMessage(*otherModule));
    if (!unkept.empty())
        messages.push_back(unkeptValuesMessage(unkept));
    return messages;
}

FileCommands::Opened FileCommands::open(std::string_view text)
{
    ParsedFile parsed = parseConfigurationText(text);
    if (!parsed.contents)
        return {Opened::Outcome::Unreadable, std::move(parsed.error), {}, {}};
    SetupProgram::Opened opened =
        program_.openConfiguration(parsed.contents->record, std::nullopt, parsed.contents->module);
    if (opened.busy)
        return {Opened::Outcome::Busy, {}, {}, {}};
    return {Opened::Outcome::Opened, {}, std::move(opened.unkept), opened.otherModule};
}

FileCommands::ToSave FileCommands::save()
{
    SetupProgram::ToSave toSave = program_.configurationToSave();
    if (toSave.refusedLocation)
        return {std::nullopt, std::move(toSave.refusal)};
    saving_ = toSave.contents.record;
    return {formatConfigurationFile(toSave.contents), {}};
}

void FileCommands::saved()
{
    if (saving_)
        program_.configurationSaved(*std::exchange(saving_, std::nullopt));
}

} // namespace vindle
