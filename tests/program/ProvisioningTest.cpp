// The bench of many modules against emulated modules plugged in and pulled
// out one after another on one line, in simulated time.

#include "program/Provisioning.h"

#include "support/EmulatedModule.h"

#include <gtest/gtest.h>
#include <memory>

namespace vindle {
namespace {

using emulator::EmulatorSettings;
using emulator::Fault;
using emulator::ReplyKind;

// The line of one bench: the module behind it is swapped as a technician
// swaps them. Each module is plugged in once the bench waits for it, and
// pulled out once the bench has told its line; after the last, the bench is
// stopped.
class Bench final : public RunReporter, public PortConnection
{
public:
    explicit Bench(std::vector<EmulatorSettings> modules)
        : modules_(std::move(modules)), m_(silent())
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
        };
    }

    void step(const std::string& line) override
    {
        if (line.rfind("Waiting for a module", 0) == 0) {
            if (next_ < modules_.size())
                plugIn(modules_[next_++]);
            else
                stop_ = true;
        } else if (line.rfind("Done with this module", 0) == 0) {
            plugIn(silent());
        }
    }
    void transfer(Transfer, std::optional<int>) override {}
    void message(const std::string&) override {}

    bool isOpen() const override { return true; }
    bool reopen() override { return true; }
    void close() override {}

    ProvisioningSummary run(const ConfigurationRecord& values, bool recordFails = false,
                            bool check = false, const ModuleIdentityRecord& fileModule = {})
    {
        Provisioning bench(
            m_.port, *this, m_.pump, m_.clock, *this, nullptr, [this] { return stop_; },
            "the bench");
        bench.setFileModule(fileModule, false);
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

private:
    static EmulatorSettings silent()
    {
        EmulatorSettings settings;
        settings.silent = true;
        return settings;
    }
    void plugIn(EmulatorSettings settings)
    {
        std::destroy_at(&m_.module);
        std::construct_at(&m_.module, std::move(settings));
        failedReported_ = false;
    }

    std::vector<EmulatorSettings> modules_;
    std::size_t next_ = 0;
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

TEST(ProvisioningTest, ModuleAfterModuleEachEndsInItsStatus)
{
    ConfigurationRecord file;
    for (int location = 0; location < kLocationCount; ++location)
        file.values[static_cast<std::size_t>(location)] =
            static_cast<std::int16_t>(emulator::factoryDefaults()[location]);
    file.values[1] = 40;

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
         {module(
              35,
              [](EmulatorSettings& s) {
                  s.faults.push_back({Fault::Kind::Replace, ReplyKind::StoreConfiguration, 7, 99});
              }),
          module(36)},
         {ExitStatus::StoreRefused, ExitStatus::Done},
         ExitStatus::StoreRefused,
         "Module 2, Device ID #1: 36"},
        // Its poll's reply lasts longer than the quiet a fast line needs.
        {"a slow module",
         {module(41, [](EmulatorSettings& s) { s.byteDelay = std::chrono::milliseconds(20); })},
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

} // namespace
} // namespace vindle
