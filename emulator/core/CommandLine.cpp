#include "CommandLine.h"

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

} // namespace

ParsedCommandLine parseCommandLine(const std::vector<std::string>& arguments)
{
    ProgramOptions options;
    options.settings.bitRate = 38400;
    EmulatorSettings& s = options.settings;

    using Handler = std::function<void(const std::string&)>;
    const std::map<std::string, Handler> withValue{
        {"--baud",
         [&](auto& v) { s.bitRate = static_cast<int>(toNumber(v, 0, 4'000'000, "--baud")); }},
        {"--link", [&](auto& v) { options.linkPath = v; }},
        {"--device-id1", [&](auto& v) { s.deviceId1 = toByte(v, "--device-id1"); }},
        {"--device-id2", [&](auto& v) { s.deviceId2 = toByte(v, "--device-id2"); }},
        {"--year", [&](auto& v) { s.yearOfRelease = toByte(v, "--year"); }},
        {"--firmware", [&](auto& v) { s.firmwareVersion = toByte(v, "--firmware"); }},
        {"--capabilities", [&](auto& v) { s.capabilities = toByte(v, "--capabilities"); }},
        {"--set",
         [&](auto& v) {
             const auto parts = split(v, '=');
             if (parts.size() != 2) {
                 throw BadArgument("--set takes LOCATION=VALUE, not '" + v + "'");
             }
             const auto location = toNumber(parts[0], 0, kLocationCount - 1, "a location");
             s.configuration[location] = toByte(parts[1], "a location's value");
         }},
        {"--config",
         [&](auto& v) {
             const auto values = split(v, ',');
             if (values.size() > s.configuration.size()) {
                 throw BadArgument("--config takes at most 51 values");
             }
             for (std::size_t i = 0; i < values.size(); ++i) {
                 s.configuration[i] = toByte(values[i], "a location's value");
             }
         }},
        {"--analog",
         [&](auto& v) {
             const auto values = split(v, ',');
             if (values.size() != s.analogReadings.size()) {
                 throw BadArgument("--analog takes seven readings");
             }
             for (std::size_t i = 0; i < values.size(); ++i) {
                 s.analogReadings[i] = toByte(values[i], "an A/D reading");
             }
         }},
        {"--packet-rate",
         [&](auto& v) {
             s.runningPacketsPerSecond = static_cast<double>(toNumber(v, 0, 1000, "--packet-rate"));
         }},
        {"--drop", [&](auto& v) { s.faults.push_back(toFault(Fault::Kind::Drop, v, false)); }},
        {"--replace", [&](auto& v) { s.faults.push_back(toFault(Fault::Kind::Replace, v, true)); }},
        {"--insert", [&](auto& v) { s.faults.push_back(toFault(Fault::Kind::Insert, v, true)); }},
        {"--wrong-echo",
         [&](auto& v) {
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
             s.faults.push_back(fault);
         }},
        {"--byte-delay",
         [&](auto& v) {
             s.byteDelay = std::chrono::milliseconds(toNumber(v, 0, 60'000, "--byte-delay"));
         }},
        {"--disconnect-after",
         [&](auto& v) {
             s.disconnectAfterBytes = toNumber(v, 0, 1'000'000'000, "--disconnect-after");
         }},
    };
    const std::map<std::string, std::function<void()>> flags{
        {"--help", [&] { options.showHelp = true; }},
        {"-h", [&] { options.showHelp = true; }},
        {"--reset-on-identify", [&] { s.resetOnIdentify = true; }},
        {"--vary-analog", [&] { s.varyAnalogReadings = true; }},
        {"--silent", [&] { s.silent = true; }},
    };

    try {
        for (std::size_t i = 0; i < arguments.size(); ++i) {
            std::string name = arguments[i];
            std::optional<std::string> value;
            if (const auto equals = name.find('=');
                name.starts_with("--") && equals != std::string::npos) {
                value = name.substr(equals + 1);
                name.resize(equals);
            }
            if (const auto flag = flags.find(name); flag != flags.end() && !value) {
                flag->second();
                continue;
            }
            const auto handler = withValue.find(name);
            if (handler == withValue.end()) {
                throw BadArgument("unknown option '" + arguments[i] + "' (see --help)");
            }
            if (!value) {
                if (i + 1 >= arguments.size()) {
                    throw BadArgument(name + " needs a value");
                }
                value = arguments[++i];
            }
            handler->second(*value);
        }
    } catch (const BadArgument& error) {
        return {std::nullopt, error.what()};
    }
    return {std::move(options), {}};
}

std::string usageText()
{
    return R"(Usage: vindle-emulator [OPTION]...
Serves an emulated Vindle Module in configuration mode on a pseudo-terminal.
The first line of output is the device path; open it at 38400 bit/s, 8N1,
no flow control. Stop the emulator with Ctrl+C.

Line:
  --baud RATE              pace the module's output at RATE bit/s
                           (default 38400; 0 sends without pacing)
  --link PATH              also create a symbolic link PATH to the device

Identity (each 0-255):
  --device-id1 N           device identifier 1 (default 17)
  --device-id2 N           device identifier 2 (default 4)
  --year N                 year of release (default 26)
  --firmware N             firmware version (default 1)
  --capabilities N         capability flags (default 1): 1 RS-232 port only,
                           2 LR transmitter, 4 ES transmitter,
                           16 at least one input bank always present
  --reset-on-identify      answer the identify command with a reset to
                           factory defaults (Clear to Factory Defaults)

Configuration:
  --set LOC=VALUE          set location LOC (0-50) to VALUE (0-255); repeatable
  --config V0,V1,...       set locations 0, 1, ... from a comma-separated list

A/D inputs:
  --analog V1,...,V7       the seven readings (default 0,51,75,128,180,230,255)
  --vary-analog            change the readings on every request

Running mode (after Test Configuration):
  --packet-rate N          packets per second (default 2): 254, the three
                           keys, one data byte per input bank

Faults:
  --silent                 never answer
  --drop REPLY:POS[:TIMES]           leave out byte POS of a reply
  --replace REPLY:POS:VALUE[:TIMES]  send VALUE instead of byte POS
  --insert REPLY:POS:VALUE[:TIMES]   send VALUE before byte POS
                           REPLY is any, read, store, identify, adc or
                           running; POS counts from 0 (in a store reply it is
                           the location); TIMES is how many replies are hit
                           (default 1; 0 hits every reply)
  --wrong-echo LOC[:VALUE] acknowledge store location LOC with VALUE
                           (default LOC - 1)
  --byte-delay MS          wait MS milliseconds before every reply byte
  --disconnect-after N     close the line after sending N bytes

  -h, --help               show this text
)";
}

} // namespace vindle::emulator
