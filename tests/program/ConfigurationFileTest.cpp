#include "program/ConfigurationFile.h"

#include "program/FileCommands.h"
#include "support/ProgramOnEmulator.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace vindle {
namespace {

using emulator::EmulatorSettings;
using test::ProgramOnEmulator;
using Json = nlohmann::json;

ConfigurationFileContents sampleContents()
{
    ConfigurationFileContents contents{{17, std::nullopt, 26, 1, 5}, {}, {}};
    const emulator::Configuration defaults = emulator::factoryDefaults();
    std::copy(defaults.begin(), defaults.end(), contents.record.values.begin());
    contents.record.values[1] = 200;
    contents.record.values[10] = 4;
    return contents;
}

std::string messageOf(const std::string& text)
{
    try {
        parseConfigurationFile(text);
    } catch (const ConfigurationFileError& error) {
        return error.what();
    }
    return "(accepted)";
}

TEST(ConfigurationFileTest, EveryFaultIsNamed)
{
    const Json valid = Json::parse(formatConfigurationFile(sampleContents()));
    const auto with = [&valid](const std::string& pointer, const Json& value) {
        Json json = valid;
        json[Json::json_pointer(pointer)] = value;
        return json.dump();
    };
    // The value at `pointer` written as `literal`.
    const auto written = [&with](const std::string& pointer, const std::string& literal) {
        std::string text = with(pointer, "@");
        return text.replace(text.find("\"@\""), 3, literal);
    };
    const auto without = [&valid](std::initializer_list<const char*> pointers) {
        Json json = valid;
        for (const char* pointer : pointers) {
            const Json::json_pointer location(pointer);
            json[location.parent_pointer()].erase(location.back());
        }
        return json.dump();
    };
    const std::pair<std::string, std::string> cases[] = {
        // A syntax error in plain words, where an editor would show it.
        {"{\n  \"format\": \n",
         "The file is not valid JSON: it ends in the middle of its text, at line 3, column 1."},
        {" \n", "The file is empty: it holds no configuration."},
        {R"({"format": tru })",
         "The file is not valid JSON: there is something unexpected at line 1, column 15."},
        {valid.dump() + "\n x",
         "The file is not valid JSON: there is something unexpected at line 2, column 2."},
        {"{\"comment\": \"two\nlines\"}",
         "The file is not valid JSON: a text in quotes breaks off at line 1, column 17 (a line "
         "break or tab inside quotes is written \\n or \\t)."},
        {"[1]", "The file does not hold a configuration: its top level must be a JSON object."},
        {with("/saved", "today"), "Unknown key \"saved\" at the top level."},
        {with("/format", "other"), "\"format\" must be \"vindle-configuration\", not \"other\"."},
        {without({"/format"}), "\"format\" must be \"vindle-configuration\"."},
        {with("/version", 2), "\"version\" must be 1, not 2; this program reads version 1 only."},
        {with("/comment", 3), "\"comment\" must be text."},
        {without({"/module"}), "The key \"module\" is missing."},
        {with("/module", 1), "\"module\" must be an object with the keys \"device_id_1\", "
                             "\"device_id_2\", \"year\", \"firmware\" and \"capabilities\"."},
        {with("/module/serial", 1), "Unknown key \"serial\" in \"module\"."},
        {with("/module/year", 256),
         "\"module\": \"year\" must be an integer from 0 to 255 or null, not 256."},
        {without({"/locations"}), "The key \"locations\" is missing."},
        {with("/locations", Json::array()),
         "\"locations\" must be an object keyed by the location numbers \"0\" to \"50\"."},
        {with("/locations/5", 7), "Location \"5\" must be an object with \"item\" and \"value\"."},
        {with("/locations/5/note", ""), "Location \"5\": unknown key \"note\"."},
        {with("/locations/5/item", 1), "Location \"5\": \"item\" must be text."},
        {without({"/locations/5/value"}), "Location \"5\" has no \"value\"."},
        {with("/locations/10/value", 9),
         "Location 10 (mode of operation) holds 9, which the windows cannot show."},
        {with("/locations/0/value", 33), "Location 0 (number of input banks connected) holds "
                                         "33, which the windows cannot show."},
        {with("/version", 1.0),
         "\"version\" must be 1, not 1.0; this program reads version 1 only."},
        {with("/bad\x1b[2Jkey", 1), "Unknown key \"bad\\u001b[2Jkey\" at the top level."},
        {with("/" + std::string(60, 'k'), 1),
         "Unknown key \"" + std::string(40, 'k') + "...\" at the top level."},
        {R"({"locations": {"3": {}, "4": {}, "4": {}, "3": {}}})",
         "Location \"4\" appears more than once in \"locations\"."},
        {without({"/locations/7"}), "\"locations\" lacks location \"7\"."},
        {without({"/locations/7", "/locations/50"}), "\"locations\" lacks location \"7\", \"50\"."},
        {R"({"format": "vindle-configuration", "format": "vindle-configuration"})",
         "The key \"format\" appears more than once at the top level."},
        {R"({"locations": {"3": {"value": 1}, "3": {"value": 2}}})",
         "Location \"3\" appears more than once in \"locations\"."},
        {R"({"module": {"year": 1, "year": 2}})",
         "The key \"year\" appears more than once in \"module\"."},
        {written("/module/year", "1e400"),
         "\"module\": \"year\" must be an integer from 0 to 255 or null, not 1e400."},
        {"{\n  \"version\": -1e400}", "The number -1e400 at line 2, column 14 is too large."},
        {valid.dump() + std::string("\0{}", 3),
         "The file is not valid JSON: it holds a NUL byte at line 1, column " +
             std::to_string(valid.dump().size() + 1) + "."},
        // What may be left out or added.
        {with("/comment", "lobby doors"), "(accepted)"},
        {with("/module", Json::object()), "(accepted)"},
        {without({"/locations/5/item"}), "(accepted)"},
        {with("/locations/1/value", 255), "(accepted)"},
        {with("/module/capabilities", 255), "(accepted)"},
    };
    for (const auto& [text, message] : cases)
        EXPECT_EQ(messageOf(text), message) << text;
    for (const char* key : {"51", "07", "-1"})
        EXPECT_EQ(messageOf(with((std::string("/locations/") + key).c_str(), {{"value", 0}})),
                  "\"locations\": \"" + std::string(key) +
                      "\" is not a location; the locations are \"0\" to \"50\".");
    for (const Json& value : {Json(256), Json(-1), Json(1.5), Json("7"), Json::array({1, 2})})
        EXPECT_EQ(messageOf(with("/locations/5/value", value)),
                  "Location \"5\": \"value\" must be an integer from 0 to 255, not " +
                      (value.is_array() ? "an array" : value.dump()) + ".");
    // Numbers quoted as written, also those no double holds.
    for (const char* literal :
         {"-0", "-7", "1.50", "1E2", "18446744073709551616", "1e400", "-1e999"})
        EXPECT_EQ(messageOf(written("/locations/5/value", literal)),
                  "Location \"5\": \"value\" must be an integer from 0 to 255, not " +
                      std::string(literal) + ".");
}

TEST(ConfigurationFileTest, FormatThenParseGivesTheSameContents)
{
    const ConfigurationFileContents contents = sampleContents();
    const std::string text = formatConfigurationFile(contents);
    const ConfigurationFileContents parsed = parseConfigurationFile(text);
    EXPECT_EQ(parsed.module, contents.module);
    EXPECT_EQ(parsed.record.values, contents.record.values);

    // Locations in numeric order, each named by its item.
    EXPECT_LT(text.find("\"9\""), text.find("\"10\""));
    EXPECT_NE(text.find("\"10\": {\n      \"item\": \"mode of operation\",\n      \"value\": 4\n"),
              std::string::npos);
    EXPECT_NE(text.find("\"device_id_2\": null"), std::string::npos);
}

ConfigurationFileContents savedFrom(const EmulatorSettings& settings)
{
    ProgramOnEmulator source(settings);
    source.program.start();
    return source.program.configurationToSave().contents;
}

// A module read into a file and the file stored into another module gives
// the second module exactly the bytes read from the first; opening sends
// nothing, and names what the other module cannot hold.
TEST(ConfigurationFileTest, ReadThenOpenThenStoreCopiesTheModule)
{
    EmulatorSettings first;
    for (const auto& [location, value] : {std::pair{1, 40}, {10, 1}, {14, 2}, {32, 99}, {48, 17}})
        first.configuration[location] = value;
    first.deviceId1 = 33;
    EmulatorSettings esModule;
    esModule.capabilities = 0x04; // ES transmitter
    esModule.configuration[9] = 2;
    esModule.configuration[20] = 1;
    const ConfigurationFileContents esContents = savedFrom(esModule);

    ProgramOnEmulator target; // RS-232 port only
    target.program.start();
    const std::size_t before = target.sent().size();
    const std::vector<UnkeptValue> unkept =
        target.program.openConfiguration(esContents.record).unkept;
    ASSERT_FALSE(unkept.empty());
    EXPECT_NE(unkeptValuesMessage(unkept).find(
                  "\nLocation 9 (transmitter fitted to this module): 2 in the file, 0 now."),
              std::string::npos);

    const ConfigurationFileContents contents =
        parseConfigurationFile(formatConfigurationFile(savedFrom(first)));
    EXPECT_EQ(contents.module, (ModuleIdentityRecord{33, 4, 26, 1, 1}));
    // Another kind of module's file is said to be one; a file of no known
    // kind is not.
    const SetupProgram::Opened opened =
        target.program.openConfiguration(contents.record, std::nullopt, contents.module);
    EXPECT_TRUE(opened.unkept.empty());
    ASSERT_TRUE(opened.otherModule);
    const int targetKind = *moduleIdentityRecord(target.program.reader().identity()).deviceId1;
    EXPECT_EQ(*opened.otherModule, (OtherModule{33, targetKind}));
    EXPECT_EQ(otherModuleMessage(*opened.otherModule),
              "This file was saved from another kind of Vindle Module (Device ID #1: 33) than the "
              "one connected (Device ID #1: " +
                  std::to_string(targetKind) +
                  ").  Its values are in the windows: check them before you store them.");
    EXPECT_FALSE(target.program.openConfiguration(contents.record).otherModule);
    EXPECT_EQ(target.sent().size(), before);
    target.program.StoreSettings_Click();
    EXPECT_EQ(target.m.module.configuration(), first.configuration);
    EXPECT_TRUE(target.dialogs.messages.empty());
}

// Open Configuration and Save Configuration As as every shell presents them:
// what each text puts into the windows and what the person is told.
TEST(ConfigurationFileTest, FileCommandsTellWhatCameIn)
{
    EmulatorSettings esModule;
    esModule.capabilities = 0x04; // ES transmitter
    esModule.configuration[9] = 2;
    const std::string esFile = formatConfigurationFile(savedFrom(esModule));
    struct Case
    {
        const char* name;
        std::string text;
        bool duringARead;
        FileCommands::Opened::Outcome outcome;
        std::vector<std::string> messagesStart;
    };
    using Outcome = FileCommands::Opened::Outcome;
    const std::vector<Case> cases{
        {"unreadable", "{", false, Outcome::Unreadable, {"The file is not valid JSON"}},
        {"busy", esFile, true, Outcome::Busy, {SetupProgram::kBusyMessage}},
        {"other transmitter",
         esFile,
         false,
         Outcome::Opened,
         {"Some values of the file could not be kept"}},
    };
    for (const Case& c : cases) {
        ProgramOnEmulator run;
        run.program.start();
        FileCommands files(run.program);
        std::optional<FileCommands::Opened> opened;
        if (c.duringARead) {
            run.m.pump.onYield = [&] {
                if (!opened)
                    opened = files.open(c.text);
            };
            run.program.ReadSettings_Click();
        } else {
            opened = files.open(c.text);
        }
        ASSERT_TRUE(opened) << c.name;
        EXPECT_EQ(opened->outcome, c.outcome) << c.name;
        const std::vector<std::string> messages = opened->messages();
        ASSERT_EQ(messages.size(), c.messagesStart.size()) << c.name;
        for (std::size_t i = 0; i < messages.size(); ++i)
            EXPECT_EQ(messages[i].rfind(c.messagesStart[i], 0), 0U) << c.name << messages[i];

        // Saved, the windows' values are kept; a refused save keeps nothing.
        const FileCommands::ToSave toSave = files.save();
        ASSERT_TRUE(toSave.text) << c.name;
        EXPECT_EQ(parseConfigurationFile(*toSave.text).record.values,
                  run.program.configurationToSave().contents.record.values);
        files.saved();
        EXPECT_FALSE(run.program.editsUnsaved()) << c.name;
        run.main.Keys(0).setText("x");
        EXPECT_FALSE(files.save().text) << c.name;
        EXPECT_TRUE(run.program.editsUnsaved()) << c.name;
    }
}

} // namespace
} // namespace vindle
