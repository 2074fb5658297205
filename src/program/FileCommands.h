#pragma once

#include "config/ConfigurationRecord.h"
#include "program/ConfigurationFile.h"
#include "program/KeptValues.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vindle {

class SetupProgram;

// Open Configuration and Save Configuration As, whichever shell presents
// them: the File menu, the page or the command line reads and writes the
// file and tells the messages; what the text puts into the windows, what a
// saved file holds and what the person is told are decided here.
class FileCommands
{
public:
    explicit FileCommands(SetupProgram& program) : program_(program) {}

    struct Opened
    {
        enum class Outcome
        {
            Opened,     // the windows hold the file's values, as far as they can
            Unreadable, // the text is no configuration (`error`): nothing changed
            Busy,       // another exchange held the line: nothing changed
        };
        Outcome outcome = Outcome::Opened;
        std::string error;
        // The values the windows hold differently from the file.
        std::vector<UnkeptValue> unkept;
        // The file was saved from another kind of module than the one read.
        std::optional<OtherModule> otherModule;

        // What the person is told, a message each, in order; none when the
        // whole file came in for the module it was saved from.
        std::vector<std::string> messages() const;
    };
    // Puts a configuration file's text into the windows as a read would;
    // nothing is sent until Store Configuration.
    Opened open(std::string_view text);

    struct ToSave
    {
        // The file's text; none when a text field is not a byte, and then
        // `refusal` says so.
        std::optional<std::string> text;
        std::string refusal;
    };
    // What the windows hold now, as a file.
    ToSave save();
    // The shell wrote the text the last save() gave: the windows' values are
    // kept in a file.
    void saved();

private:
    SetupProgram& program_;
    std::optional<ConfigurationRecord> saving_;
};

} // namespace vindle
