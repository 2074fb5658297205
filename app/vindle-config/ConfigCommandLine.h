#pragma once

#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace vindle::cli {

// What one call of vindle-config asks for.
struct ConfigRequest
{
    enum class Command
    {
        Read,
        Store,
        Identity,
        Defaults,
        Monitor,
        Diff,
    };

    Command command = Command::Read;
    std::optional<std::string> port;
    bool emulate = false;
    bool json = false;
    // read: the file to write (stdout without it); store: the file to store;
    // diff: the file to compare with, and the second file instead of a module.
    std::optional<std::string> outputFile;
    std::string inputFile;
    std::optional<std::string> secondFile;
    // read: write the file also when the windows change values on the way in.
    bool acceptChanges = false;
    // store, diff, defaults: the station log to append a line to per module,
    // and what each of its lines says of the station and the person.
    std::optional<std::string> logFile;
    std::optional<std::string> station;
    std::optional<std::string> operatorName;
    // store: ask for each module's serial number on stdin, for the log.
    bool askSerial = false;
    // store: where what the module held goes before the store.
    std::optional<std::string> backupFile;
    bool verify = false;
    bool repeat = false;
    // store --repeat: store also into modules of another kind than the file's.
    bool anyModule = false;
    bool yes = false;
    // monitor
    std::optional<int> baud;
    bool header = false;
    bool keys = false;
    bool timestamps = false;
    bool hex = false;
    // monitor: where every byte read is kept.
    std::optional<std::string> captureFile;
};

// The exit status of a command line that needs no module: --help,
// --version, or a usage error (already written out).
struct CommandLineExit
{
    int status = 0;
};

// Whether `text` can go into the JSON of a result or of the station log,
// which holds UTF-8 text only.
bool isUtf8Text(const std::string& text);

// Reads the arguments. --help and --version write to stdout, usage errors to
// stderr.
std::variant<ConfigRequest, CommandLineExit> parseConfigCommandLine(int argc, char** argv);

} // namespace vindle::cli
