#include "core/CommandLine.h"

#include <gtest/gtest.h>

namespace vindle::emulator {
namespace {

ProgramOptions parse(const std::vector<std::string>& arguments)
{
    const ParsedCommandLine parsed = parseCommandLine(arguments);
    EXPECT_TRUE(parsed.options.has_value()) << parsed.error;
    return parsed.options.value_or(ProgramOptions{});
}

std::string errorOf(const std::vector<std::string>& arguments)
{
    const ParsedCommandLine parsed = parseCommandLine(arguments);
    EXPECT_FALSE(parsed.options.has_value());
    return parsed.error;
}

TEST(CommandLineTest, DefaultsServeAHealthyModuleAt38400)
{
    const ProgramOptions options = parse({});
    EXPECT_EQ(options.settings.bitRate, 38400);
    EXPECT_EQ(options.settings.configuration, factoryDefaults());
    EXPECT_FALSE(options.settings.silent);
    EXPECT_TRUE(options.settings.faults.empty());
    EXPECT_FALSE(options.showHelp);
}

TEST(CommandLineTest, IdentityConfigurationAndReadings)
{
    const ProgramOptions options =
        parse({"--capabilities=22", "--year", "9", "--set", "10=1", "--config", "3,4,5", "--analog",
               "1,2,3,4,5,6,7", "--baud", "0", "--link", "/tmp/x", "--latency-timer", "16"});
    EXPECT_EQ(options.settings.capabilities, 22);
    EXPECT_EQ(options.settings.yearOfRelease, 9);
    EXPECT_EQ(options.settings.configuration[10], 1);
    EXPECT_EQ(options.settings.configuration[0], 3);
    EXPECT_EQ(options.settings.configuration[2], 5);
    EXPECT_EQ(options.settings.configuration[3], factoryDefaults()[3]);
    EXPECT_EQ(options.settings.analogReadings[6], 7);
    EXPECT_EQ(options.settings.bitRate, 0);
    EXPECT_EQ(options.linkPath, "/tmp/x");
    EXPECT_EQ(options.settings.latencyTimer, std::chrono::milliseconds(16));
}

TEST(CommandLineTest, Faults)
{
    const ProgramOptions options = parse(
        {"--drop", "read:14", "--replace", "adc:0:1:0", "--insert", "any:2:9:3", "--wrong-echo",
         "6", "--wrong-echo", "0:7", "--byte-delay", "30", "--disconnect-after", "10", "--silent"});
    const auto& faults = options.settings.faults;
    ASSERT_EQ(faults.size(), 5U);
    EXPECT_EQ(faults[0].kind, Fault::Kind::Drop);
    EXPECT_EQ(faults[0].reply, ReplyKind::ReadConfiguration);
    EXPECT_EQ(faults[0].position, 14);
    EXPECT_EQ(faults[0].times, 1);
    EXPECT_EQ(faults[1].reply, ReplyKind::ReadAnalog);
    EXPECT_EQ(faults[1].value, 1);
    EXPECT_EQ(faults[1].times, 0);
    EXPECT_EQ(faults[2].kind, Fault::Kind::Insert);
    EXPECT_EQ(faults[2].times, 3);
    // A wrong echo answers a store location with the number before it.
    EXPECT_EQ(faults[3].reply, ReplyKind::StoreConfiguration);
    EXPECT_EQ(faults[3].position, 6);
    EXPECT_EQ(faults[3].value, 5);
    EXPECT_EQ(faults[4].value, 7);
    EXPECT_EQ(options.settings.byteDelay, std::chrono::milliseconds(30));
    EXPECT_EQ(options.settings.disconnectAfterBytes, 10);
    EXPECT_TRUE(options.settings.silent);
}

TEST(CommandLineTest, RunningModeAndArgumentOrder)
{
    const ProgramOptions options =
        parse({"--running", "--traffic", "plain", "--packet-rate=5", "--config", "1,2", "--set",
               "0=9", "--year", "3", "--year", "4"});
    EXPECT_TRUE(options.settings.startRunning);
    EXPECT_EQ(options.settings.runningTraffic, RunningTraffic::Plain);
    EXPECT_EQ(options.settings.runningPacketsPerSecond, 5.0);
    // Arguments take effect in their order: the later one wins.
    EXPECT_EQ(options.settings.configuration[0], 9);
    EXPECT_EQ(options.settings.configuration[1], 2);
    EXPECT_EQ(options.settings.yearOfRelease, 4);
    EXPECT_EQ(parse({"--set", "0=9", "--config", "1"}).settings.configuration[0], 1);
    EXPECT_EQ(parse({"--traffic", "header"}).settings.runningTraffic, RunningTraffic::Header);
    EXPECT_NE(errorOf({"--traffic", "loud"}).find("keys, header or plain"), std::string::npos);
}

TEST(CommandLineTest, WrongArgumentsAreRefusedWithAReason)
{
    EXPECT_NE(errorOf({"--bogus"}).find("--bogus"), std::string::npos);
    EXPECT_NE(errorOf({"--year"}).find("needs a value"), std::string::npos);
    EXPECT_NE(errorOf({"--year", "256"}).find("0 to 255"), std::string::npos);
    EXPECT_NE(errorOf({"--set", "51=1"}).find("location"), std::string::npos);
    EXPECT_NE(errorOf({"--set", "5"}).find("LOCATION=VALUE"), std::string::npos);
    EXPECT_NE(errorOf({"--analog", "1,2,3"}).find("seven"), std::string::npos);
    EXPECT_NE(errorOf({"--drop", "nowhere:1"}).find("unknown reply"), std::string::npos);
    EXPECT_NE(errorOf({"--replace", "read:1"}).find("REPLY:POS:VALUE"), std::string::npos);
    EXPECT_NE(errorOf({"--capabilities", "0x10"}).find("whole number"), std::string::npos);
}

TEST(CommandLineTest, HelpNamesEveryOption)
{
    EXPECT_TRUE(parse({"--help"}).showHelp);
    EXPECT_TRUE(parse({"--version"}).showVersion);
    const std::string usage = usageText();
    for (const char* option :
         {"--baud",        "--link",       "--device-id1",    "--device-id2",
          "--year",        "--firmware",   "--capabilities",  "--reset-on-identify",
          "--set",         "--config",     "--analog",        "--vary-analog",
          "--packet-rate", "--silent",     "--drop",          "--replace",
          "--insert",      "--wrong-echo", "--byte-delay",    "--disconnect-after",
          "--running",     "--traffic",    "--latency-timer", "--help",
          "--version"}) {
        EXPECT_NE(usage.find(option), std::string::npos) << option;
        if (std::string(option) != "--help") {
            // Every documented option is understood.
            const ParsedCommandLine parsed = parseCommandLine({option});
            EXPECT_TRUE(parsed.options || parsed.error.find("unknown option") == std::string::npos)
                << option;
        }
    }
}

} // namespace
} // namespace vindle::emulator
