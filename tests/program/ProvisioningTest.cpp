// The bench of many modules against emulated modules plugged in and pulled
// out one after another on one line, in simulated time.

#include "program/Provisioning.h"

#include "support/EmulatedModule.h"
#include "support/FakeJournal.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace vindle {
namespace {

using emulator::EmulatorSettings;
using emulator::Fault;
using emulator::ReplyKind;

// How the technician at the bench goes about it.
struct Technician
{
    // The next module takes the place of the one done just before the bench
    // polls for the `swapAfterPolls`+1st time after its line was told, with
    // no silence in between; empty: the module done is pulled out at once,
    // and the next plugged in once the bench waits for it.
    std::optional<std::size_t> swapAfterPolls{};
    // The first module is left by an earlier run in the middle of a store,
    // which the journal noted.
    bool leftInStore = false;
    // The answers to the serial number question, in order; none: not asked.
    std::optional<std::vector<std::optional<SerialAnswer>>> serials{};
};

// The line of one bench: the module behind it is swapped as a technician
// swaps them. Each module is plugged in once the bench waits for it, and
// pulled out once the bench has told its line; after the last, the bench is
// stopped. A bench that polls many times over after a module's line without
// taking another is stopped too.
class Bench final : public RunReporter, public PortConnection, public SerialPort
{
public:
    static constexpr std::size_t kMostPollsAfterAModule = 8;

    explicit Bench(std::vector<EmulatorSettings> modules, Technician technician = {})
        : modules_(std::move(modules)), technician_(std::move(technician)), m_(silent())
    {
        m_.pump.onYield = [this] {
            // An adapter pulled out mid-exchange: the shell hears the port fail.
            if (run_ && m_.module.disconnected() && !failedReported_) {
                failedReported_ = true;
                run_->portFailed("the device is gone");
            }
            // A read command sent while no module's run is under way is a poll.
            const auto& sent = m_.port.written();
            if (!run_ && sent.size() != seen_ && sent.size() >= 2 && sent[sent.size() - 2] == 253 &&
                sent.back() == 252)
                polls_.push_back(m_.clock.now());
            seen_ = sent.size();
            if (pollsSinceDone() > kMostPollsAfterAModule)
                stop_ = true;
        };
    }

    void step(const std::string& line) override
    {
        if (line.rfind("Waiting for a module", 0) == 0) {
            if (technician_.serials)
                events_ += "wait ";
            if (waiting_)
                return;
            // A module left in place is there to be taken again.
            if (next_ < modules_.size())
                plugIn(modules_[next_++]);
            else if (!plugged_)
                stop_ = true;
            if (technician_.leftInStore && next_ == 1) {
                // The store command and one value, then the earlier run died.
                for (const std::uint8_t byte : {253, 254, 9})
                    m_.module.receive(byte, m_.clock.now());
            }
        } else if (line.rfind("Done with this module", 0) == 0) {
            told_ = line;
            waiting_ = false;
            doneAt_ = polls_.size();
            if (!technician_.swapAfterPolls)
                plugIn(silent());
        }
    }
    void transfer(Transfer, std::optional<int>) override {}
    void message(const std::string&) override {}

    bool isOpen() const override { return true; }
    bool reopen() override { return true; }
    void close() override {}

    // The line as the bench sees it: the swap comes between two polls.
    int bytesPending() const override { return m_.port.bytesPending(); }
    std::uint8_t takeByte() override { return m_.port.takeByte(); }
    void writeByte(std::uint8_t byte) override
    {
        if (!run_ && byte == 253 && !waiting_ && technician_.swapAfterPolls &&
            pollsSinceDone() == *technician_.swapAfterPolls)
            plugIn(next_ < modules_.size() ? modules_[next_++] : silent());
        m_.port.writeByte(byte);
    }
    void setBitRate(int bitsPerSecond) override { m_.port.setBitRate(bitsPerSecond); }

    ProvisioningSummary run(const ConfigurationRecord& values, bool recordFails = false,
                            bool check = false, const ModuleIdentityRecord& fileModule = {})
    {
        test::FakeJournal journal(technician_.leftInStore ? StoreJournal::Earlier::Unfinished
                                                          : StoreJournal::Earlier::None);
        Provisioning bench(
            *this, *this, m_.pump, m_.clock, *this, &journal, [this] { return stop_; },
            "the bench");
        bench.setFileModule(fileModule, false);
        if (technician_.serials) {
            bench.setSerialAsker([this](int number) -> std::optional<SerialAnswer> {
                events_ += "ask " + std::to_string(number) + " ";
                const auto& serials = *technician_.serials;
                const auto index = static_cast<std::size_t>(number - 1);
                return index < serials.size() ? serials[index] : std::nullopt;
            });
        }
        return bench.run(
            values, [this](ModuleRun* run) { run_ = run; },
            [this, recordFails](const ProvisionedModule& module) {
                done_.push_back(module);
                held_.push_back(m_.module.configuration());
                return !recordFails;
            },
            [check] { return check; });
    }

    std::vector<ProvisionedModule> done_;
    std::vector<emulator::Configuration> held_;
    std::vector<Clock::TimePoint> polls_;
    // "ask 1 wait ask 2 wait ...": the questions and the waits, in order.
    std::string events_;
    // What the bench said while it waited for the module done to go.
    std::string told_;

private:
    std::size_t pollsSinceDone() const { return doneAt_ ? polls_.size() - *doneAt_ : 0; }

    static EmulatorSettings silent()
    {
        EmulatorSettings settings;
        settings.silent = true;
        return settings;
    }
    void plugIn(EmulatorSettings settings)
    {
        waiting_ = plugged_ = !settings.silent;
        std::destroy_at(&m_.module);
        std::construct_at(&m_.module, std::move(settings));
        failedReported_ = false;
    }

    std::vector<EmulatorSettings> modules_;
    Technician technician_;
    std::size_t next_ = 0;
    // A module is plugged in, and it has not had its turn yet.
    bool plugged_ = false;
    bool waiting_ = false;
    // How many polls there were when the last module's line was told.
    std::optional<std::size_t> doneAt_;
    test::EmulatedModule m_;
    ModuleRun* run_ = nullptr;
    bool failedReported_ = false;
    bool stop_ = false;
    std::size_t seen_ = 0;
};

EmulatorSettings module(int deviceId, void (*change)(EmulatorSettings&) = nullptr)
{
    EmulatorSettings settings;
    settings.deviceId1 = static_cast<std::uint8_t>(deviceId);
    // Each holds something else than the file before.
    settings.configuration[5] = static_cast<std::uint8_t>(deviceId);
    if (change)
        change(settings);
    return settings;
}

// Refuses the store at location 7, and holds something else than the file
// after it.
EmulatorSettings refusing(int deviceId)
{
    return module(deviceId, [](EmulatorSettings& s) {
        s.faults.push_back({Fault::Kind::Replace, ReplyKind::StoreConfiguration, 7, 99});
        s.configuration[30] = 77;
    });
}

// The factory defaults with one change.
ConfigurationRecord benchFile()
{
    ConfigurationRecord file;
    for (int location = 0; location < kLocationCount; ++location)
        file.values[static_cast<std::size_t>(location)] =
            static_cast<std::int16_t>(emulator::factoryDefaults()[location]);
    file.values[1] = 40;
    return file;
}

void expectHolds(const std::optional<ConfigurationRecord>& values,
                 const emulator::Configuration& held)
{
    ASSERT_TRUE(values.has_value());
    for (int location = 0; location < kLocationCount; ++location)
        EXPECT_EQ((*values)[location], held[static_cast<std::size_t>(location)]) << location;
}

TEST(ProvisioningTest, ModuleAfterModuleEachEndsInItsStatus)
{
    const ConfigurationRecord file = benchFile();

    struct Case
    {
        const char* what;
        std::vector<EmulatorSettings> modules;
        std::vector<ExitStatus> statuses;
        ExitStatus summary;
        const char* lastLine;
        bool recordFails = false;
        bool check = false;
        // The Device ID #1 the file was saved from.
        std::optional<int> fileDeviceId = {};
    };
    const Case cases[] = {
        {"three in a row",
         {module(31), module(32), module(33)},
         {ExitStatus::Done, ExitStatus::Done, ExitStatus::Done},
         ExitStatus::Done,
         "Module 3, Device ID #1: 33, Device ID #2: 4, Year of Release: 26, Firmware Version: 1, "
         "Capabilities: 1: stored and verified"},
        {"one that resets on identify",
         {module(34, [](EmulatorSettings& s) { s.resetOnIdentify = true; })},
         {ExitStatus::Done},
         ExitStatus::Done,
         "stored and verified"},
        {"one that refuses, then one that takes it",
         {refusing(35), module(36)},
         {ExitStatus::StoreRefused, ExitStatus::Done},
         ExitStatus::StoreRefused,
         "Module 2, Device ID #1: 36"},
        // Its poll's reply lasts longer than the quiet a fast line needs.
        {"a slow module",
         {module(41, [](EmulatorSettings& s) { s.byteDelay = std::chrono::milliseconds(20); })},
         {ExitStatus::Done},
         ExitStatus::Done,
         "stored and verified"},
        {"a slow line",
         {module(46, [](EmulatorSettings& s) { s.bitRate = 600; })},
         {ExitStatus::Done},
         ExitStatus::Done,
         "stored and verified"},
        {"one that stops answering mid-store",
         {module(42,
                 [](EmulatorSettings& s) {
                     s.faults.push_back({Fault::Kind::Drop, ReplyKind::StoreConfiguration, 7});
                 })},
         {ExitStatus::StoreRefused},
         ExitStatus::StoreRefused,
         "the module stopped answering at location 7 (wireless key 2); locations 0 to 6 were "
         "stored"},
        // Its ready marker replaced: no identity, and no silence either.
        {"one whose identity is garbled",
         {module(45,
                 [](EmulatorSettings& s) {
                     s.faults.push_back({Fault::Kind::Replace, ReplyKind::Identify, 5, 9});
                 })},
         {ExitStatus::NoAnswer},
         ExitStatus::NoAnswer,
         "identity not read: the module answered, but not with its identity"},
        {"one that does not answer the read-back",
         {module(43,
                 [](EmulatorSettings& s) {
                     s.faults.push_back({Fault::Kind::Drop, ReplyKind::ReadConfiguration, 3, 0, 0});
                 })},
         {ExitStatus::NoAnswer},
         ExitStatus::NoAnswer,
         "all 51 locations were stored, but the module did not answer the read-back"},
        {"one of another kind than the file's is left as it is",
         {module(44), module(17)},
         {ExitStatus::Usage, ExitStatus::Done},
         ExitStatus::Usage,
         "Module 2, Device ID #1: 17",
         false,
         false,
         17},
        {"one unplugged mid-store",
         {module(37, [](EmulatorSettings& s) { s.disconnectAfterBytes = 105 + 6 + 29; })},
         {ExitStatus::PortFailed},
         ExitStatus::PortFailed,
         "the serial port failed; locations 0 to 27 were stored"},
        {"a result that cannot be recorded stops the bench before the next module",
         {module(38), module(39)},
         {ExitStatus::Done},
         ExitStatus::Usage,
         "Module 1, Device ID #1: 38",
         true},
        {"checked against the file: one differs, one holds it, neither is written to",
         {module(40), module(0, [](EmulatorSettings& s) { s.configuration[1] = 40; })},
         {ExitStatus::Differences, ExitStatus::Done},
         ExitStatus::Differences,
         // A check never sends the identify command, which may clear a module.
         "Module 2, identity not read: holds the file",
         false,
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Bench bench(c.modules);
        ModuleIdentityRecord fileModule;
        fileModule.deviceId1 = c.fileDeviceId;
        const ProvisioningSummary summary = bench.run(file, c.recordFails, c.check, fileModule);
        ASSERT_EQ(bench.done_.size(), c.statuses.size());
        for (std::size_t i = 0; i < c.statuses.size(); ++i) {
            EXPECT_EQ(bench.done_[i].status, c.statuses[i]) << bench.done_[i].line();
            EXPECT_EQ(bench.done_[i].number, static_cast<int>(i) + 1);
            // A module verified holds the file, whatever it held before.
            if (c.statuses[i] == ExitStatus::Done) {
                for (int location = 0; location < kLocationCount; ++location)
                    EXPECT_EQ(bench.held_[i][location], file[location]) << location;
            }
            // Before, it held what the poll that found it read; a reply
            // that did not come whole gives no values.
            const std::vector<Fault>& faults = c.modules[i].faults;
            if (std::any_of(faults.begin(), faults.end(), [](const Fault& fault) {
                    return fault.reply == ReplyKind::ReadConfiguration;
                }))
                EXPECT_FALSE(bench.done_[i].before.has_value());
            else
                expectHolds(bench.done_[i].before, c.modules[i].configuration);
        }
        EXPECT_NE(bench.done_.back().line().find(c.lastLine), std::string::npos)
            << bench.done_.back().line();
        EXPECT_EQ(summary.status, c.summary);
        // At most one poll a second, also from one module to the next.
        EXPECT_GE(bench.polls_.size(), bench.done_.size());
        for (std::size_t i = 1; i < bench.polls_.size(); ++i)
            EXPECT_GE(bench.polls_[i] - bench.polls_[i - 1], Provisioning::kPollInterval) << i;
        if (c.fileDeviceId) {
            EXPECT_NE(bench.done_[0].line().find("another kind of module (Device ID #1: 17)"),
                      std::string::npos)
                << bench.done_[0].line();
            EXPECT_EQ(bench.held_[0][5], 44); // nothing was written
        }
        if (c.check) {
            EXPECT_EQ(bench.done_[0].line().substr(bench.done_[0].line().find(": d")),
                      ": differs from the file at locations 1, 5");
            EXPECT_EQ(bench.held_[0][5], 40); // nothing was written
        }
    }
}

// Every module that comes is seen, also one swapped in between two polls,
// and none is taken twice; what it held and its serial number go with it.
TEST(ProvisioningTest, EveryModuleIsSeenOnceWithItsRecord)
{
    using Serials = std::vector<std::optional<SerialAnswer>>;
    struct Case
    {
        const char* what;
        std::vector<EmulatorSettings> modules;
        Technician technician;
        std::size_t done; // modules that had their turn
        ExitStatus summary;
        // The questions and waits, in order, when serial numbers are asked.
        const char* events = "";
        bool check = false;
    };
    const Case cases[] = {
        {"swapped, right after a store that verified, for one with other values",
         {module(31), module(32)},
         {.swapAfterPolls = 0},
         2,
         ExitStatus::Done},
        {"swapped, after a refused store and a poll, for one with other values",
         {refusing(35), module(36)},
         {.swapAfterPolls = 1},
         2,
         ExitStatus::StoreRefused},
        {"left in place after a store that verified",
         {module(31)},
         {.swapAfterPolls = 100},
         1,
         ExitStatus::Done},
        {"left in place after a refused store",
         {refusing(35)},
         {.swapAfterPolls = 100},
         1,
         ExitStatus::StoreRefused},
        // Checked, so that nothing is written over what the first poll did.
        {"left in the middle of a store by an earlier run",
         {module(33)},
         {.leftInStore = true},
         1,
         ExitStatus::Differences,
         "",
         true},
        {"serial numbers asked before each wait, until no answer",
         {module(31), module(32)},
         {.serials = Serials{SerialAnswer{"A-1"}, SerialAnswer{"A-2", 3}}},
         2,
         ExitStatus::Done,
         "ask 1 wait ask 2 wait ask 3 "},
        {"no answer for the second module",
         {module(31), module(32)},
         {.serials = Serials{SerialAnswer{"A-1"}, std::nullopt}},
         1,
         ExitStatus::Done,
         "ask 1 wait ask 2 "},
        {"no answer before any module",
         {module(31)},
         {.serials = Serials{}},
         0,
         ExitStatus::Interrupted,
         "ask 1 "},
    };
    const ConfigurationRecord file = benchFile();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Bench bench(c.modules, c.technician);
        const ProvisioningSummary summary = bench.run(file, false, c.check);
        EXPECT_EQ(summary.status, c.summary);
        EXPECT_EQ(bench.events_, c.events);
        EXPECT_EQ(bench.done_.size(), c.done);
        if (bench.done_.size() != c.done)
            continue;
        for (std::size_t i = 0; i < c.done; ++i) {
            SCOPED_TRACE(i);
            emulator::Configuration before = c.modules[i].configuration;
            if (c.technician.leftInStore) {
                // The earlier run's one value, and nothing of the polls.
                before[0] = 9;
                EXPECT_EQ(bench.held_[i], before);
            }
            expectHolds(bench.done_[i].before, before);
            if (c.technician.serials) {
                const SerialAnswer& asked = *(*c.technician.serials)[i];
                EXPECT_EQ(bench.done_[i].serial, asked.serial);
                EXPECT_EQ(bench.done_[i].attempt,
                          asked.attempt > 1 ? std::optional(asked.attempt) : std::nullopt);
            }
        }
        if (c.done > 0) {
            EXPECT_EQ(bench.told_.rfind("Done with this module: unplug it. ", 0), 0U);
        }
    }
}

} // namespace
} // namespace vindle
