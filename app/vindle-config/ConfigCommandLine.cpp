#include "ConfigCommandLine.h"

#include "StandardOutput.h"
#include "link/Commands.h"
#include "program/ExitStatus.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <iostream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string_view>

namespace vindle::cli {

namespace {

constexpr const char* kDescription =
    "Reads, stores and checks the configuration of a Vindle Module from the command line, with "
    "the same procedures and rules as the set-up windows.";

std::string footer()
{
    std::ostringstream text;
    text << "\nThe port is --port, else the VINDLE_PORT environment variable.\n"
            "Progress is shown on stderr when it is a terminal.\n"
            "\nExit status:\n";
    for (const ExitStatusMeaning& entry : kExitStatusMeanings)
        text << "  " << toInt(entry.status) << (toInt(entry.status) < 10 ? "    " : "  ")
             << entry.meaning << '\n';
    return text.str();
}

// An empty value names nothing: `--port ""` is no device, `--baud ""` no rate.
const CLI::Validator kNotEmpty(
    [](const std::string& value) {
        return value.empty() ? std::string("needs a value, not an empty text") : std::string();
    },
    "", "not empty");

const CLI::Validator kUtf8Text(
    [](const std::string& value) {
        return isUtf8Text(value) ? std::string() : std::string("needs UTF-8 text");
    },
    "", "UTF-8");

// The command line's grammar, filling `request`.
class Grammar
{
public:
    explicit Grammar(ConfigRequest& request) : app_(kDescription, "vindle-config")
    {
        app_.set_version_flag("--version", "vindle-config " VINDLE_VERSION);
        app_.require_subcommand(1, 1);
        app_.fallthrough();
        app_.add_option("--port", request.port, "the serial device, e.g. /dev/ttyUSB0 or COM9")
            ->type_name("DEV")
            ->check(kNotEmpty);
        app_.add_flag("--emulate", request.emulate, "talk to a built-in emulated module");
        app_.add_flag("--json", request.json, "write the result as one JSON object on stdout");

        using Command = ConfigRequest::Command;
        const auto command = [&](const char* name, const char* description, Command which) {
            CLI::App* sub = app_.add_subcommand(name, description);
            sub->callback([&request, which] { request.command = which; });
            return sub;
        };

        CLI::App* read =
            command("read", "read the module; write the file (stdout without -o)", Command::Read);
        read->add_option("-o,--output", request.outputFile, "the file to write")
            ->type_name("FILE")
            ->check(kNotEmpty);
        read->add_flag("--accept-changes", request.acceptChanges,
                       "write the file even where the windows change the module's values; its "
                       "comment lists the changes");

        CLI::App* store =
            command("store", "validate FILE, store it with acknowledgement", Command::Store);
        store->add_option("FILE", request.inputFile, "the configuration file")
            ->required()
            ->check(kNotEmpty);
        CLI::Option* verify =
            store->add_flag("--verify", request.verify, "read the module back and compare");
        store
            ->add_flag("--repeat", request.repeat,
                       "provision one module after another on the port until interrupted")
            ->needs(verify);
        store->add_flag("--any-module", request.anyModule,
                        "with --repeat, store also into a module of another kind (Device ID #1) "
                        "than the file was saved from; without --repeat that is only said");
        store
            ->add_option("--backup", request.backupFile,
                         "before the store, write what the module holds (read with the read "
                         "command alone) to this configuration file; nothing is stored when it "
                         "cannot be written. Not with --repeat, where each line of --log holds "
                         "it as \"before\"")
            ->type_name("FILE")
            ->check(kNotEmpty);

        command("identity", "print the identity", Command::Identity);

        CLI::App* diff = command(
            "diff",
            "compare the module with FILE (the read command alone: nothing is written to it, "
            "no identify command); with FILE2, compare two files and open no port",
            Command::Diff);
        diff->add_option("FILE", request.inputFile, "the configuration file")
            ->required()
            ->check(kNotEmpty);
        diff->add_option("FILE2", request.secondFile, "a second configuration file")
            ->check(kNotEmpty);

        CLI::App* defaults =
            command("defaults", "clear to factory defaults, then read (refuses without --yes)",
                    Command::Defaults);
        defaults->add_flag("--yes", request.yes, "really clear the module's configuration");
        for (CLI::App* logged : {store, diff, defaults}) {
            CLI::Option* log = logged
                                   ->add_option("--log", request.logFile,
                                                "append one JSON line per module to this "
                                                "station log")
                                   ->type_name("FILE")
                                   ->check(kNotEmpty);
            logged
                ->add_option("--station", request.station,
                             "the station's name, in every line of the log")
                ->type_name("NAME")
                ->check(kNotEmpty)
                ->check(kUtf8Text)
                ->needs(log);
            logged
                ->add_option("--operator", request.operatorName,
                             "who sets the modules up, in every line of the log")
                ->type_name("NAME")
                ->check(kNotEmpty)
                ->check(kUtf8Text)
                ->needs(log);
            if (logged == store)
                store
                    ->add_flag("--ask-serial", request.askSerial,
                               "before each module, ask for its serial number (one line from "
                               "stdin, as typed or scanned) for its line of the log; "
                               "one already in the log is refused until given again, as another "
                               "attempt. End of input ends as Ctrl+C does")
                    ->needs(log);
        }

        CLI::App* monitor = command(
            "monitor", "the data monitor's lines on stdout until interrupted", Command::Monitor);
        std::vector<int> rates(kMonitorBitRates.begin(), kMonitorBitRates.end());
        monitor->add_option("--baud", request.baud, "the module's bit rate")
            ->type_name("N")
            ->check(kNotEmpty)
            ->check(CLI::IsMember(rates));
        monitor->add_flag("--header", request.header, "the module sends a 254 header byte");
        monitor->add_flag("--keys", request.keys,
                          "the module sends three keys after the header (implies --header)");
        monitor->add_flag("--timestamps", request.timestamps,
                          "begin each line with the time its first byte was read, in UTC to the "
                          "millisecond (2026-12-10T03:40:00.123Z), as the station log's times");
        monitor->add_flag("--hex", request.hex,
                          "each value as two hex digits (FE) in place of its decimal (254)");
        monitor
            ->add_option("--capture", request.captureFile,
                         "append every byte read, raw, to FILE: one JSON line per read from the "
                         "port, {\"time\": \"2026-12-10T03:40:00.123Z\", \"bytes\": [254, 11, "
                         "22]}, written in whole lines at least once a second")
            ->type_name("FILE")
            ->check(kNotEmpty);

        app_.footer(footer());
    }

    CLI::App& app() { return app_; }

private:
    CLI::App app_;
};

// What --help or --version writes on stdout: the text, or with --json one
// object that holds it without its last line end.
CommandLineExit printed(bool json, const char* key, const std::string& text, int status)
{
    if (json) {
        const std::string value = text.substr(0, text.find_last_not_of('\n') + 1);
        const nlohmann::json result = {{"command", nullptr}, {key, value}, {"status", status}};
        standard_output::write(result.dump() + "\n");
    } else {
        standard_output::write(text);
    }
    return CommandLineExit{status};
}

// A command line that asks for nothing this program does: why, on stderr
// (and in the JSON object when one was asked for).
CommandLineExit usageError(bool json, const std::string& text)
{
    std::cerr << "vindle-config: " << text << "\n"
              << "Run vindle-config --help for the commands and options.\n";
    if (json) {
        const nlohmann::json result = {
            {"command", nullptr}, {"messages", {text}}, {"status", toInt(ExitStatus::Usage)}};
        standard_output::write(result.dump() + "\n");
    }
    return CommandLineExit{toInt(ExitStatus::Usage)};
}

} // namespace

bool isUtf8Text(const std::string& text)
{
    try {
        static_cast<void>(nlohmann::json(text).dump());
        return true;
    } catch (const nlohmann::json::type_error&) {
        return false;
    }
}

std::variant<ConfigRequest, CommandLineExit> parseConfigCommandLine(int argc, char** argv)
{
    ConfigRequest request;
    Grammar grammar(request);
    // A script that asked for JSON gets its object, also when no command runs.
    const bool json = std::find(argv, argv + argc, std::string_view("--json")) != argv + argc;
    try {
        grammar.app().parse(argc, argv);
    } catch (const CLI::CallForHelp& help) {
        std::ostringstream text;
        int status = toInt(ExitStatus::Done);
        // The program's own help shows every command with its options.
        if (grammar.app().get_subcommands().empty())
            text << grammar.app().help("", CLI::AppFormatMode::All);
        else
            status = grammar.app().exit(help, text, text);
        return printed(json, "help", text.str(), status);
    } catch (const CLI::CallForVersion& version) {
        return printed(json, "version", version.what() + std::string("\n"),
                       version.get_exit_code());
    } catch (const CLI::ParseError& error) {
        return usageError(json, error.what());
    }
    if (request.backupFile && request.repeat)
        return usageError(json, "--backup keeps what one module held, and --repeat goes on to "
                                "the next: with --repeat --log, each module's line holds what "
                                "it held before as \"before\".");
    if (request.keys)
        request.header = true;
    return request;
}

} // namespace vindle::cli
