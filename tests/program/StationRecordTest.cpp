// The station log's lines and the serial numbers they hold.

#include "program/StationRecord.h"

#include <functional>
#include <gtest/gtest.h>

namespace vindle {
namespace {

// A line as a single store without any of the station record's options
// writes it, byte for byte.
constexpr const char* kPlainLine =
    R"({"command":"store","differences":[],"file":"lobby.json","file_sha256":"ab12",)"
    R"("module":{"capabilities":null,"device_id_1":17,"device_id_2":null,"firmware":null,)"
    R"("year":null},"port":"/dev/ttyUSB0","result":"Stored all 51 locations.","status":0,)"
    R"("time":"2026-12-09T18:20:34.645Z"})";

StationLogEntry plainEntry()
{
    StationLogEntry entry;
    entry.time = "2026-12-09T18:20:34.645Z";
    entry.command = "store";
    entry.port = "/dev/ttyUSB0";
    entry.file = "lobby.json";
    entry.fileSha256 = "ab12";
    entry.module.deviceId1 = 17;
    entry.result = "Stored all 51 locations.";
    return entry;
}

TEST(StationRecordTest, TheRecordsKeysComeOnlyWhenGiven)
{
    ConfigurationRecord held;
    held.values[0] = 3;
    held.values[50] = 250;
    ProvisionedModule checked;
    checked.number = 2;
    checked.checked = true;
    checked.serial = "SN-7";
    checked.attempt = 2;
    checked.before = held;
    checked.identity.deviceId1 = 17;
    std::string heldJson = "[3";
    for (int location = 1; location < 50; ++location)
        heldJson += ",0";
    heldJson += ",250]";
    // How the entry is made from the plain one; the keys it has besides
    // the plain line's, and some of their values as JSON.
    struct Case
    {
        const char* what;
        std::function<StationLogEntry(StationLogEntry)> make;
        std::vector<std::string> added;
        std::vector<std::pair<std::string, std::string>> values;
    };
    const Case cases[] = {
        {"none", [](StationLogEntry entry) { return entry; }, {}, {}},
        {"the station and the operator",
         [](StationLogEntry entry) {
             entry.station = "Bench 3";
             entry.operatorName = "Ann";
             return entry;
         },
         {"station", "operator"},
         {{"station", R"("Bench 3")"}, {"operator", R"("Ann")"}}},
        {"a serial number at its first attempt",
         [](StationLogEntry entry) {
             entry.serial = "SN-1";
             return entry;
         },
         {"serial"},
         {{"serial", R"("SN-1")"}}},
        {"a module of the bench, checked, its second attempt",
         [&checked](StationLogEntry entry) {
             entry.station = "Bench 3";
             return benchLogEntry(checked, entry);
         },
         {"station", "serial", "attempt", "before"},
         {{"command", R"("diff")"},
          {"attempt", "2"},
          {"before", heldJson},
          {"result", R"("Module 2 (serial number SN-7), Device ID #1: 17: holds the file")"}}},
    };
    const nlohmann::json plain = nlohmann::json::parse(kPlainLine);
    EXPECT_EQ(stationLogJson(plainEntry()).dump(), kPlainLine);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const nlohmann::json line = stationLogJson(c.make(plainEntry()));
        EXPECT_EQ(line.size(), plain.size() + c.added.size()) << line.dump();
        for (const std::string& key : c.added)
            EXPECT_TRUE(line.contains(key)) << key;
        for (const auto& [key, value] : c.values)
            EXPECT_EQ(line[key].dump(), value) << key;
    }
}

TEST(StationRecordTest, ASerialNumberInTheLogIsTakenOnlyWhenGivenAgain)
{
    SerialLedger ledger;
    ledger.addLogText("{\"serial\":\"SN-1\"}\n"
                      "not JSON\n"
                      "{\"serial\":17}\n"
                      "[\"serial\"]\n"
                      "{\"command\":\"store\"}\n"
                      "\n"
                      "{\"serial\":\"SN-1\",\"attempt\":2}\n"
                      "{\"serial\":\"SN-2\"}"); // cut short of its line end
    ledger.add("SN-3");
    // The serial number given, the one refused just before, the attempt
    // it is taken as (0: refused).
    const std::tuple<const char*, const char*, int> cases[] = {
        {"SN-9", "", 1},     {"SN-1", "", 0},     {"SN-1", "SN-1", 3}, {"SN-1", "SN-2", 0},
        {"SN-2", "SN-2", 2}, {"SN-3", "SN-1", 0}, {"SN-3", "SN-3", 2}, {"17", "", 1},
    };
    for (const auto& [serial, refused, attempt] : cases) {
        SCOPED_TRACE(std::string(serial) + " after " + refused);
        const std::optional<SerialAnswer> answer = ledger.take(serial, refused);
        EXPECT_EQ(answer ? answer->attempt : 0, attempt);
        EXPECT_EQ(answer.value_or(SerialAnswer{serial}).serial, serial);
    }
    EXPECT_EQ(SerialLedger::refusalText("SN-1"),
              "Serial number SN-1 is already in the log. Scan or type it again to try that unit "
              "again, or give another.");
}

} // namespace
} // namespace vindle
