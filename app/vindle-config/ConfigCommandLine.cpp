#include "ConfigCommandLine.h"

#include "ExitStatus.h"
#include "ui/monitor/MonitorWindow.h"

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
            ->type_name("DEV");
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
        read->add_option("-o,--output", request.outputFile, "the file to write")->type_name("FILE");

        CLI::App* store =
            command("store", "validate FILE, store it with acknowledgement", Command::Store);
        store->add_option("FILE", request.inputFile, "the configuration file")->required();
        CLI::Option* verify =
            store->add_flag("--verify", request.verify, "read the module back and compare");
        store
            ->add_flag("--repeat", request.repeat,
                       "provision one module after another on the port until interrupted")
            ->needs(verify);

        command("identity", "print the identity", Command::Identity);

        CLI::App* defaults =
            command("defaults", "clear to factory defaults, then read (refuses without --yes)",
                    Command::Defaults);
        defaults->add_flag("--yes", request.yes, "really clear the module's configuration");

        CLI::App* monitor = command(
            "monitor", "the data monitor's lines on stdout until interrupted", Command::Monitor);
        std::vector<int> rates(MonitorWindow::kBitRates.begin(), MonitorWindow::kBitRates.end());
        monitor->add_option("--baud", request.baud, "the module's bit rate")
            ->type_name("N")
            ->check(CLI::IsMember(rates));
        monitor->add_flag("--header", request.header, "the module sends a 254 header byte");
        monitor->add_flag("--keys", request.keys,
                          "the module sends three keys after the header (implies --header)");

        app_.footer(footer());
    }

    CLI::App& app() { return app_; }

private:
    CLI::App app_;
};

} // namespace

std::variant<ConfigRequest, CommandLineExit> parseConfigCommandLine(int argc, char** argv)
{
    ConfigRequest request;
    Grammar grammar(request);
    try {
        grammar.app().parse(argc, argv);
    } catch (const CLI::CallForHelp& help) {
        // The program's own help shows every command with its options.
        if (grammar.app().get_subcommands().empty()) {
            std::cout << grammar.app().help("", CLI::AppFormatMode::All);
            return CommandLineExit{toInt(ExitStatus::Done)};
        }
        return CommandLineExit{grammar.app().exit(help)};
    } catch (const CLI::CallForVersion& version) {
        return CommandLineExit{grammar.app().exit(version)};
    } catch (const CLI::ParseError& error) {
        std::cerr << "vindle-config: " << error.what() << "\n"
                  << "Run vindle-config --help for the commands and options.\n";
        // A script that asked for JSON gets its object, also now.
        if (std::find(argv, argv + argc, std::string_view("--json")) != argv + argc) {
            const nlohmann::json result = {{"command", nullptr},
                                           {"messages", {error.what()}},
                                           {"status", toInt(ExitStatus::Usage)}};
            std::cout << result.dump() << '\n';
        }
        return CommandLineExit{toInt(ExitStatus::Usage)};
    }
    if (request.keys)
        request.header = true;
    return request;
}

} // namespace vindle::cli
