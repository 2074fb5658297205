#include "program/ConfigurationFile.h"

#include "program/ConfigurationStore.h"
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
    ConfigurationFileContents contents{{17, std::nullopt, 26, 1, 5}, {}};
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
    const std::string valid = formatConfigurationFile(sampleContents());
    const auto edited = [&valid](const std::function<void(Json&)>& edit) {
        Json json = Json::parse(valid);
        edit(json);
        return json.dump();
    };
    const auto location = [&edited](const char* key, Json entry) {
        return edited([&](Json& j) { j["locations"][key] = entry; });
    };
    struct Case
    {
        std::string text;
        std::string message;
    };
    const Case cases[] = {
        {"{\n  \"format\": \n", "The file is not valid JSON: parse error at line 3, column 1: "
                                "syntax error while parsing value - unexpected end of input; "
                                "expected '[', '{', or a literal"},
        {"[1]", "The file does not hold a configuration: its top level must be a JSON object."},
        {edited([](Json& j) { j["saved"] = "today"; }), "Unknown key \"saved\" at the top level."},
        {edited([](Json& j) { j["format"] = "other"; }),
         "\"format\" must be \"vindle-configuration\", not \"other\"."},
        {edited([](Json& j) { j.erase("format"); }),
         "\"format\" must be \"vindle-configuration\"."},
        {edited([](Json& j) { j["version"] = 2; }),
         "\"version\" must be 1, not 2; this program reads version 1 only."},
        {edited([](Json& j) { j["comment"] = 3; }), "\"comment\" must be text."},
        {edited([](Json& j) { j.erase("module"); }), "The key \"module\" is missing."},
        {edited([](Json& j) { j["module"] = 1; }),
         "\"module\" must be an object with the keys \"device_id_1\", \"device_id_2\", \"year\", "
         "\"firmware\" and \"capabilities\"."},
        {edited([](Json& j) { j["module"]["serial"] = 1; }),
         "Unknown key \"serial\" in \"module\"."},
        {edited([](Json& j) { j["module"]["year"] = 256; }),
         "\"module\": \"year\" must be an integer from 0 to 255 or null, not 256."},
        {edited([](Json& j) { j.erase("locations"); }), "The key \"locations\" is missing."},
        {edited([](Json& j) { j["locations"] = Json::array(); }),
         "\"locations\" must be an object keyed by the location numbers \"0\" to \"50\"."},
        {location("51", {{"value", 0}}),
         "\"locations\": \"51\" is not a location; the locations are \"0\" to \"50\"."},
        {location("07", {{"value", 0}}),
         "\"locations\": \"07\" is not a location; the locations are \"0\" to \"50\"."},
        {location("-1", {{"value", 0}}),
         "\"locations\": \"-1\" is not a location; the locations are \"0\" to \"50\"."},
        {location("5", 7), "Location \"5\" must be an object with \"item\" and \"value\"."},
        {location("5", {{"value", 7}, {"note", ""}}), "Location \"5\": unknown key \"note\"."},
        {location("5", {{"item", 1}, {"value", 7}}), "Location \"5\": \"item\" must be text."},
        {location("5", {{"item", "x"}}), "Location \"5\" has no \"value\"."},
        {location("5", {{"value", 256}}),
         "Location \"5\": \"value\" must be an integer from 0 to 255, not 256."},
        {location("5", {{"value", -1}}),
         "Location \"5\": \"value\" must be an integer from 0 to 255, not -1."},
        {location("5", {{"value", 1.5}}),
         "Location \"5\": \"value\" must be an integer from 0 to 255, not 1.5."},
        {location("5", {{"value", "7"}}),
         "Location \"5\": \"value\" must be an integer from 0 to 255, not \"7\"."},
        {location("5", {{"value", Json::array({1, 2})}}),
         "Location \"5\": \"value\" must be an integer from 0 to 255, not an array."},
        {location("10", {{"value", 9}}),
         "Location \"10\" (mode of operation) holds 9, which the windows cannot show."},
        {location("0", {{"value", 33}}),
         "Location \"0\" (number of input banks connected) holds 33, which the windows cannot "
         "show."},
        {edited([](Json& j) { j["locations"].erase("7"); }), "\"locations\" lacks location \"7\"."},
        {edited([](Json& j) {
             j["locations"].erase("7");
             j["locations"].erase("50");
         }),
         "\"locations\" lacks location \"7\", \"50\"."},
        {R"({"format": "vindle-configuration", "format": "vindle-configuration"})",
         "The key \"format\" appears more than once at the top level."},
        {R"({"locations": {"3": {"value": 1}, "3": {"value": 2}}})",
         "Location \"3\" appears more than once in \"locations\"."},
        {R"({"module": {"year": 1, "year": 2}})",
         "The key \"year\" appears more than once in \"module\"."},
    };
    for (const Case& c : cases)
        EXPECT_EQ(messageOf(c.text), c.message) << c.text;

    // What may be left out or added.
    EXPECT_EQ(messageOf(edited([](Json& j) {
                  j["comment"] = "lobby doors";
                  j["module"] = Json::object();
                  j["locations"]["5"].erase("item");
              })),
              "(accepted)");
}

TEST(ConfigurationFileTest, FormatThenParseGivesTheSameContents)
{
    const ConfigurationFileContents contents = sampleContents();
    const std::string text = formatConfigurationFile(contents);
    const ConfigurationFileContents parsed = parseConfigurationFile(text);
    EXPECT_EQ(parsed.module, contents.module);
    EXPECT_EQ(parsed.record.values, contents.record.values);
    EXPECT_EQ(formatConfigurationFile(parsed), text);

    // Locations in numeric order, each named by its item.
    EXPECT_LT(text.find("\"9\""), text.find("\"10\""));
    EXPECT_NE(text.find("\"10\": {\n      \"item\": \"mode of operation\",\n      \"value\": 4\n"),
              std::string::npos);
    EXPECT_NE(text.find("\"device_id_2\": null"), std::string::npos);
}

// A module read into a file and the file stored into another module gives
// the second module exactly the bytes read from the first.
TEST(ConfigurationFileTest, ReadThenFileThenStoreCopiesTheModule)
{
    EmulatorSettings first;
    first.configuration[1] = 40;
    first.configuration[10] = 1;
    first.configuration[14] = 2;
    first.configuration[32] = 99;
    first.configuration[48] = 17;
    first.deviceId1 = 33;
    ProgramOnEmulator source(first);
    source.program.start();
    const std::string text = formatConfigurationFile(source.program.configurationToSave());

    ProgramOnEmulator target;
    target.program.start();
    const std::size_t before = target.sent().size();
    const ConfigurationFileContents contents = parseConfigurationFile(text);
    EXPECT_EQ(contents.module, (ModuleIdentityRecord{33, 4, 26, 1, 1}));
    EXPECT_TRUE(target.program.openConfiguration(contents.record).empty());
    EXPECT_EQ(target.sent().size(), before); // opening sends nothing
    target.program.StoreSettings_Click();
    EXPECT_EQ(target.m.module.configuration(), first.configuration);
    EXPECT_TRUE(target.dialogs.messages.empty());
}

TEST(ConfigurationFileTest, OpenOnAModuleWithOtherFlagsNamesWhatWasNotKept)
{
    EmulatorSettings esModule;
    esModule.capabilities = 0x04; // ES transmitter
    esModule.configuration[9] = 2;
    esModule.configuration[20] = 1;
    ProgramOnEmulator source(esModule);
    source.program.start();
    const ConfigurationFileContents contents = source.program.configurationToSave();
    ASSERT_EQ(contents.record[9], 2);

    ProgramOnEmulator target; // RS-232 port only
    target.program.start();
    const std::vector<UnkeptValue> unkept = target.program.openConfiguration(contents.record);
    ASSERT_FALSE(unkept.empty());
    EXPECT_EQ(unkept.front().location, 9);
    EXPECT_EQ(unkept.front().wanted, 2);
    EXPECT_EQ(unkept.front().held, 0);
    EXPECT_NE(unkeptValuesMessage(unkept).find(
                  "\nLocation 9 (transmitter fitted to this module): 2 in the file, 0 now."),
              std::string::npos);
}

TEST(ConfigurationFileTest, SaveRefusesATextFieldTheStoreRefuses)
{
    ProgramOnEmulator run;
    run.program.start();
    run.main.Keys(2).setText("256");
    try {
        run.program.configurationToSave();
        ADD_FAILURE() << "saved";
    } catch (const ConfigurationFileError& error) {
        EXPECT_EQ(error.what(), ConfigurationStore::badFieldMessage(8, "256"));
    }
}

} // namespace
} // namespace vindle
