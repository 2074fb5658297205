#pragma once

#include <array>
#include <string_view>

namespace vindle {

// What became of a command, as vindle-config's exit status tells a script
// and the station log records it for each module, from every front end.
enum class ExitStatus
{
    Done = 0,
    Usage = 1, // also a file that is not valid: nothing was sent
    PortUnavailable = 2,
    NoAnswer = 3,
    StoreRefused = 4,
    Differences = 5,
    Unshowable = 6,
    PortFailed = 7,    // the open port failed during an exchange
    Interrupted = 130, // Ctrl+C, as shells report a program ended by it
};

struct ExitStatusMeaning
{
    ExitStatus status;
    std::string_view meaning;
};

// The one list of the statuses, for --help.
inline constexpr std::array kExitStatusMeanings{
    ExitStatusMeaning{ExitStatus::Done, "done"},
    ExitStatusMeaning{ExitStatus::Usage, "usage, or the file is invalid (nothing sent)"},
    ExitStatusMeaning{ExitStatus::PortUnavailable, "the port cannot be opened"},
    ExitStatusMeaning{ExitStatus::NoAnswer,
                      "no answer from the module (it is not in configuration mode)"},
    ExitStatusMeaning{ExitStatus::StoreRefused,
                      "the module refused a store; the message names the location"},
    ExitStatusMeaning{ExitStatus::Differences,
                      "--verify or diff found differences; the locations are listed"},
    ExitStatusMeaning{ExitStatus::Unshowable,
                      "the module holds a value the windows cannot show or would change; the "
                      "location and the value are named"},
    ExitStatusMeaning{ExitStatus::PortFailed,
                      "the serial port failed during an exchange; what was stored is listed"},
    ExitStatusMeaning{ExitStatus::Interrupted, "interrupted (Ctrl+C); what was stored is listed"},
};

constexpr int toInt(ExitStatus status)
{
    return static_cast<int>(status);
}

} // namespace vindle
