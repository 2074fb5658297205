#include "CommandLine.h"

#include <CLI/CLI.hpp>
#include <charconv>
#include <functional>
#include <map>
#include <sstream>
#include <stdexcept>

namespace vindle::emulator {

namespace {

struct BadArgument : std::runtime_error
{
    using std::runtime_error::runtime_error;
};

long toNumber(const std::string& text, long minimum, long maximum, const std::string& what)
{
    long value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end || value < minimum || value > maximum) {
        throw BadArgument(what + " must be a whole number from " + std::to_string(minimum) +
                          " to " + std::to_string(maximum) + ", not '" + text + "'");
    }
    return value;
}

std::uint8_t toByte(const std::string& text, const std::string& what)
{
    return static_cast<std::uint8_t>(toNumber(text, 0, 255, what));
}

std::vector<std::string> split(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    std::string part;
    std::istringstream stream(text);
    while (std::getline(stream, part, separator)) {
        parts.push_back(part);
    }
    if (!text.empty() && text.back() == separator) {
        parts.emplace_back();
    }
    return parts;
}

ReplyKind toReplyKind(const std::string& name)
{
    static const std::map<std::string, ReplyKind> kinds{{"any", ReplyKind::Any},
                                                        {"read", ReplyKind::ReadConfiguration},
                                                        {"store", ReplyKind::StoreConfiguration},
                                                        {"identify", ReplyKind::Identify},
                                                        {"adc", ReplyKind::ReadAnalog},
                                                        {"running", ReplyKind::Running}};
    const auto found = kinds.find(name);
    if (found == kinds.end()) {
        throw BadArgument("unknown reply '" + name +
                          "': use any, read, store, identify, adc or running");
    }
    return found->second;
}

// REPLY:POS[:VALUE][:TIMES]
Fault toFault(Fault::Kind kind, const std::string& text, bool withValue)
{
    const std::vector<std::string> parts = split(text, ':');
    const std::size_t required = withValue ? 3 : 2;
    if (parts.size() < required || parts.size() > required + 1) {
        throw BadArgument("a fault is written REPLY:POS" + std::string(withValue ? ":VALUE" : "") +
                          "[:TIMES], not '" + text + "'");
    }
    Fault fault;
    fault.kind = kind;
    fault.reply = toReplyKind(parts[0]);
    fault.position = static_cast<int>(toNumber(parts[1], 0, 1'000'000, "a fault position"));
    if (withValue) {
        fault.value = toByte(parts[2], "a fault value");
    }
    if (parts.size() > required) {
        fault.times = static_cast<int>(toNumber(parts[required], 0, 1'000'000, "a fault count"));
    }
    return fault;
}

RunningTraffic toTraffic(const std::string& name)
{
    static const std::map<std::string, RunningTraffic> kinds{
        {"keys", RunningTraffic::HeaderAndKeys},
        {"header", RunningTraffic::Header},
        {"plain", RunningTraffic::Plain}};
    const auto found = kinds.find(name);
    if (found == kinds.end()) {
        throw BadArgument("unknown traffic '" + name + "': use keys, header or plain");
    }
    return found->second;
}

// One option of the program: its names, the name of its value (none for a
// flag), where --help lists it, what it does, and how it sets the options.
struct OptionEntry
{
    std::string names;
    std::string valueName;
    std::string group;
    std::string description;
    std::function<void(ProgramOptions&, const std::string& value)> apply;
};

const std::vector<OptionEntry>& optionTable()
{
    using O = ProgramOptions;
    using V = const std::string&;
    static const std::vector<OptionEntry> table{
        {"--baud", "RATE", "Line",
         "pace the module's output at RATE bit/s\n(default 38400; 0 sends without pacing)",
         [](O& o, V v) {
             o.settings.bitRate = static_cast<int>(toNumber(v, 0, 4'000'000, "--baud"));
         }},
        {"--latency-timer", "MS", "Line",
         "hold the replies and pass them on at each tick\nof a latency timer of MS "
         "milliseconds, as a\nUSB-serial adapter does (16 is FTDI's default)",
         [](O& o, V v) {
             o.settings.latencyTimer =
                 std::chrono::milliseconds(toNumber(v, 0, 255, "--latency-timer"));
         }},
        {"--link", "PATH", "Line", "also create a symbolic link PATH to the device",
         [](O& o, V v) { o.linkPath = v; }},

        {"--device-id1", "N", "Identity (each 0-255)", "device identifier 1 (default 17)",
         [](O& o, V v) { o.settings.deviceId1 = toByte(v, "--device-id1"); }},
        {"--device-id2", "N", "Identity (each 0-255)", "device identifier 2 (default 4)",
         [](O& o, V v) { o.settings.deviceId2 = toByte(v, "--device-id2"); }},
        {"--year", "N", "Identity (each 0-255)", "year of release (default 26)",
         [](O& o, V v) { o.settings.yearOfRelease = toByte(v, "--year"); }},
        {"--firmware", "N", "Identity (each 0-255)", "firmware version (default 1)",
         [](O& o, V v) { o.settings.firmwareVersion = toByte(v, "--firmware"); }},
        {"--capabilities", "N", "Identity (each 0-255)",
         "capability flags (default 1): 1 RS-232 port only,\n2 LR transmitter, 4 ES "
         "transmitter,\n16 at least one input bank always present",
         [](O& o, V v) { o.settings.capabilities = toByte(v, "--capabilities"); }},
        {"--reset-on-identify", "", "Identity (each 0-255)",
         "also reset the memory to factory defaults on\n253, 85 (Clear to Factory Defaults). "
         "The module\nalways answers 253, 85 with the five identity\nbytes (the four above, "
         "then the capability\nflags) and then the ready marker 254; without\nthis option its "
         "memory stays as it is",
         [](O& o, V) { o.settings.resetOnIdentify = true; }},

        {"--set", "LOC=VALUE", "Configuration",
         "set location LOC (0-50) to VALUE (0-255); repeatable",
         [](O& o, V v) {
             const auto parts = split(v, '=');
             if (parts.size() != 2) {
                 throw BadArgument("--set takes LOCATION=VALUE, not '" + v + "'");
             }
             const auto location = toNumber(parts[0], 0, kLocationCount - 1, "a location");
             o.settings.configuration.at(static_cast<std::size_t>(location)) =
                 toByte(parts[1], "a location's value");
         }},
        {"--config", "V0,V1,...", "Configuration",
         "set locations 0, 1, ... from a comma-separated list",
         [](O& o, V v) {
             const auto values = split(v, ',');
             auto& configuration = o.settings.configuration;
             if (values.size() > configuration.size()) {
                 throw BadArgument("--config takes at most 51 values");
             }
             for (std::size_t i = 0; i < values.size(); ++i) {
                 configuration[i] = toByte(values[i], "a location's value");
             }
         }},

        {"--analog", "V1,...,V7", "A/D inputs",
         "the seven readings (default 0,51,75,128,180,230,255)",
         [](O& o, V v) {
             const auto values = split(v, ',');
             auto& readings = o.settings.analogReadings;
             if (values.size() != readings.size()) {
                 throw BadArgument("--analog takes seven readings");
             }
             for (std::size_t i = 0; i < values.size(); ++i) {
                 readings[i] = toByte(values[i], "an A/D reading");
             }
         }},
        {"--vary-analog", "", "A/D inputs", "change the readings on every request",
         [](O& o, V) { o.settings.varyAnalogReadings = true; }},

        {"--running", "", "Running mode (after Test Configuration, or from the start)",
         "start already running, as a module without its\nprogram jumper: it sends its packets "
         "and\nignores every command",
         [](O& o, V) { o.settings.startRunning = true; }},
        {"--packet-rate", "N", "Running mode (after Test Configuration, or from the start)",
         "packets per second (default 2); never more than\nthe line carries at --baud: "
         "packets that do not\nfit are skipped",
         [](O& o, V v) {
             o.settings.runningPacketsPerSecond =
                 static_cast<double>(toNumber(v, 0, 1000, "--packet-rate"));
         }},
        {"--traffic", "KIND", "Running mode (after Test Configuration, or from the start)",
         "what a packet holds before its data (one byte\n"
         "per input bank): keys (default) 254 and the\n"
         "three keys of locations 6-8; header 254 alone;\n"
         "plain nothing",
         [](O& o, V v) { o.settings.runningTraffic = toTraffic(v); }},

        {"--silent", "", "Faults", "never answer", [](O& o, V) { o.settings.silent = true; }},
        {"--drop", "REPLY:POS[:TIMES]", "Faults", "leave out byte POS of a reply",
         [](O& o, V v) { o.settings.faults.push_back(toFault(Fault::Kind::Drop, v, false)); }},
        {"--replace", "REPLY:POS:VALUE[:TIMES]", "Faults", "send VALUE instead of byte POS",
         [](O& o, V v) { o.settings.faults.push_back(toFault(Fault::Kind::Replace, v, true)); }},
        {"--insert", "REPLY:POS:VALUE[:TIMES]", "Faults",
         "send VALUE before byte POS.\nREPLY is any, read, store, identify, adc or\nrunning; "
         "POS counts from 0 (in a store reply it\nis the location); TIMES is how many "
         "replies are\nhit (default 1; 0 hits every reply)",
         [](O& o, V v) { o.settings.faults.push_back(toFault(Fault::Kind::Insert, v, true)); }},
        {"--wrong-echo", "LOC[:VALUE]", "Faults",
         "acknowledge store location LOC with VALUE\n(default LOC - 1)",
         [](O& o, V v) {
             const auto parts = split(v, ':');
             if (parts.empty() || parts.size() > 2) {
                 throw BadArgument("--wrong-echo takes LOCATION[:VALUE], not '" + v + "'");
             }
             Fault fault;
             fault.kind = Fault::Kind::Replace;
             fault.reply = ReplyKind::StoreConfiguration;
             fault.position =
                 static_cast<int>(toNumber(parts[0], 0, kLocationCount - 1, "a location"));
             fault.value = parts.size() == 2 ? toByte(parts[1], "an echo")
                                             : static_cast<std::uint8_t>(fault.position - 1);
             o.settings.faults.push_back(fault);
         }},
        {"--byte-delay", "MS", "Faults", "wait MS milliseconds before every reply byte",
         [](O& o, V v) {
             o.settings.byteDelay =
                 std::chrono::milliseconds(toNumber(v, 0, 60'000, "--byte-delay"));
         }},
        {"--disconnect-after", "N", "Faults",
         "go dead after sending N bytes: they still\narrive, then nothing; the line closes",
         [](O& o, V v) {
             o.settings.disconnectAfterBytes = toNumber(v, 0, 1'000'000'000, "--disconnect-after");
         }},

        {"-h,--help", "", "Help", "show this text", [](O& o, V) { o.showHelp = true; }},
        {"--version", "", "Help", "show the program's version",
         [](O& o, V) { o.showVersion = true; }},
    };
    return table;
}

// The program's command line as CLI11 sees it; each option knows its entry in
// the table.
class ProgramApp
{
public:
    ProgramApp()
        : app_("Serves an emulated Vindle Module on a pseudo-terminal, in configuration\n"
               "mode or already running (--running). The first line of output is the\n"
               "device path; open it at 38400 bit/s, 8N1, no flow control. Stop the\n"
               "emulator with Ctrl+C.\n",
               "vindle-emulator")
    {
        app_.set_help_flag(); // --help is an option of our own
        app_.allow_extras();  // reported with our own words
        app_.get_formatter()->column_width(27);
        for (const OptionEntry& entry : optionTable()) {
            CLI::Option* option = nullptr;
            if (entry.valueName.empty()) {
                option = app_.add_flag(entry.names, entry.description)->disable_flag_override();
            } else {
                option = app_.add_option(entry.names)
                             ->description(entry.description)
                             ->type_name(entry.valueName)
                             ->expected(1)
                             ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
            }
            option->group(entry.group);
            entries_.emplace(option, &entry);
        }
    }

    // Applies the arguments in their order, so a later one wins over an earlier.
    ProgramOptions parse(const std::vector<std::string>& arguments)
    {
        ProgramOptions options;
        options.settings.bitRate = 38400;
        try {
            // CLI11 takes the arguments last first.
            app_.parse(std::vector<std::string>(arguments.rbegin(), arguments.rend()));
        } catch (const CLI::ArgumentMismatch& error) {
            throw BadArgument(mismatchReason(error));
        } catch (const CLI::ParseError& error) {
            throw BadArgument(error.what());
        }
        if (const auto extras = app_.remaining(); !extras.empty()) {
            throw BadArgument(
                (extras.front().starts_with("-") ? "unknown option '" : "unexpected argument '") +
                extras.front() + "' (see --help)");
        }
        std::map<const CLI::Option*, std::size_t> occurrences;
        for (const CLI::Option* option : app_.parse_order()) {
            const std::size_t occurrence = occurrences[option]++;
            entries_.at(option)->apply(options, option->results().at(occurrence));
        }
        return options;
    }

    std::string help() const { return app_.help(); }

private:
    // An option given without its value.
    std::string mismatchReason(const CLI::ArgumentMismatch& error) const
    {
        const std::string what = error.what();
        for (const auto& [option, entry] : entries_) {
            if (what.starts_with(option->get_name() + ":")) {
                return option->get_name() + " needs a value";
            }
        }
        return what;
    }

    CLI::App app_;
    std::map<const CLI::Option*, const OptionEntry*> entries_;
};

} // namespace

ParsedCommandLine parseCommandLine(const std::vector<std::string>& arguments)
{
    try {
        return {ProgramApp().parse(arguments), {}};
    } catch (const BadArgument& error) {
        return {std::nullopt, error.what()};
    }
}

std::string usageText()
{
    return ProgramApp().help();
}

} // namespace vindle::emulator
