// One module's run, as the command line and the bench use it, against an
// emulated module whose line goes wrong, in simulated time.

#include "program/ModuleRun.h"

#include "core/CommandLine.h"
#include "support/EmulatedModule.h"
#include "support/FakeJournal.h"

#include <functional>
#include <gtest/gtest.h>
#include <sstream>

namespace vindle {
namespace {

using emulator::EmulatorSettings;
using emulator::Fault;
using emulator::ReplyKind;

class Messages final : public RunReporter
{
public:
    void step(const std::string&) override {}
    void transfer(Transfer, std::optional<int>) override {}
    void message(const std::string& text) override { all += text + "\n"; }
    std::string all;
};

// The line between the program and the module, which can hold back one byte
// the program writes (a laggy adapter, a loaded host, a network port).
class LaggyLine final : public SerialPort
{
public:
    explicit LaggyLine(EmulatorSettings settings) : m(std::move(settings)) {}

    int bytesPending() const override
    {
        deliver();
        return m.port.bytesPending();
    }
    std::uint8_t takeByte() override { return m.port.takeByte(); }
    void writeByte(std::uint8_t byte) override
    {
        if (written_++ == heldByte) {
            held_ = {byte, m.clock.now() + heldFor};
            return;
        }
        deliver();
        m.module.receive(byte, m.clock.now());
    }
    void setBitRate(int) override {}

    // The next thing that happens on the line.
    std::optional<Clock::TimePoint> nextEvent() const
    {
        const auto due = m.module.nextDue();
        if (!held_)
            return due;
        return due ? std::min(*due, held_->second) : held_->second;
    }

    std::size_t heldByte = SIZE_MAX;
    Clock::Duration heldFor{};
    mutable test::EmulatedModule m;
    test::FakePump pump{m.clock, [this] { return nextEvent(); }};

private:
    void deliver() const
    {
        if (held_ && held_->second <= m.clock.now()) {
            m.module.receive(held_->first, held_->second);
            held_.reset();
        }
    }

    std::size_t written_ = 0;
    // Delivered when the line is next looked at.
    mutable std::optional<std::pair<std::uint8_t, Clock::TimePoint>> held_;
};

ConfigurationRecord factoryFile()
{
    ConfigurationRecord file;
    for (int location = 0; location < kLocationCount; ++location)
        file.values[static_cast<std::size_t>(location)] =
            static_cast<std::int16_t>(emulator::factoryDefaults()[location]);
    file.values[1] = 40;
    return file;
}

Fault readFault(int position, int value, int times)
{
    return {Fault::Kind::Replace, ReplyKind::ReadConfiguration, position,
            static_cast<std::uint8_t>(value), times};
}

// What a claim is built from is what the module holds: a reply that the line
// changed is asked for again, and an acknowledgement that does not come is
// none, not even for location 0.
TEST(ModuleRunTest, EveryClaimIsWhatTheModuleHolds)
{
    struct Case
    {
        const char* what;
        std::vector<Fault> faults;
        std::function<ExitStatus(ModuleRun&)> command;
        ExitStatus status;
        const char* said;
        // What the run holds afterwards, and what it must be.
        std::function<int(ModuleRun&)> afterwards = {};
        int expected = 0;
        // What the module holds at location 10 (the mode).
        std::uint8_t mode = 0;
    };
    const auto read = [](ModuleRun& run) { return run.read(); };
    const auto contents25 = [](ModuleRun& run) { return int{run.contents().record[25]}; };
    const Case cases[] = {
        {"one value changed on the line is read again",
         {readFault(51, 99, 1)},
         read,
         ExitStatus::Done,
         "",
         contents25,
         122},
        // Each reply different from the one before: 100, 99, 98, 97.
        {"replies that never agree",
         {readFault(51, 97, 0), readFault(51, 98, 3), readFault(51, 99, 2), readFault(51, 100, 1)},
         read,
         ExitStatus::NoAnswer,
         "came differently in each of 4 reads in a row, at location 25 (",
         {}},
        {"a module that was never cleared is not said to be",
         {readFault(51, 99, 1)},
         [](ModuleRun& run) { return run.defaults(); },
         ExitStatus::Done,
         "",
         [](ModuleRun& run) { return run.clearedLocations(); },
         0},
        // 9 is read as mode 4, but the module holds 9, not what the file says.
        {"a diff is of what the module sent",
         {},
         [](ModuleRun& run) {
             ConfigurationRecord file = factoryFile();
             file.values[1] = emulator::factoryDefaults()[1];
             file.values[10] = 4;
             file.values[25] = 122;
             const ModuleRun::Compared compared = run.compare(file);
             return compared.differences.size() == 1 && compared.differences[0].location == 10 &&
                            compared.differences[0].inModule == 9
                        ? compared.status
                        : ExitStatus::Usage;
         },
         ExitStatus::Done,
         "",
         {},
         0,
         9},
        {"a lost acknowledgement of location 0",
         {{Fault::Kind::Drop, ReplyKind::StoreConfiguration, 0}},
         [](ModuleRun& run) { return run.store(factoryFile(), false).status; },
         ExitStatus::StoreRefused,
         "did not acknowledge location 0 (",
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EmulatorSettings settings;
        settings.configuration[25] = 122;
        settings.configuration[10] = c.mode;
        settings.faults = c.faults;
        test::EmulatedModule m(settings);
        Messages messages;
        ModuleRun run(m.port, m.pump, m.clock, messages);
        EXPECT_EQ(c.command(run), c.status) << messages.all;
        EXPECT_NE(messages.all.find(c.said), std::string::npos) << messages.all;
        if (c.afterwards) {
            EXPECT_EQ(c.afterwards(run), c.expected);
        }
    }
}

// What a run tells of the module on the line, for each command: the
// emulator's options as vindle-emulator takes them, the command, its status
// and a text among the run's messages.
TEST(ModuleRunTest, WhatARunTellsOfTheModuleOnTheLine)
{
    using enum ExitStatus;
    // The file of a module cleared to its factory defaults, with `changes`.
    using Changes = std::vector<std::pair<int, int>>;
    const auto file = [](const Changes& changes = {}) {
        ConfigurationRecord record = factoryFile();
        record.values[1] = static_cast<std::int16_t>(emulator::factoryDefaults()[1]);
        for (const auto& [location, value] : changes)
            record.values.at(static_cast<std::size_t>(location)) = static_cast<std::int16_t>(value);
        return record;
    };
    const ModuleIdentityRecord savedFrom{17, 4, 26, 1, 1};
    const auto identity = [](ModuleRun& run) { return run.identity(); };
    const auto read = [](ModuleRun& run) { return run.read(); };
    const auto diff = [&file](ModuleRun& run) { return run.compare(file()).status; };
    const auto defaults = [](ModuleRun& run) { return run.defaults(); };
    const auto store = [&](Changes changes = {}, bool verify = false) {
        return [&file, &savedFrom, changes, verify](ModuleRun& run) {
            return run.store(file(changes), verify, savedFrom).status;
        };
    };
    // A verified store whose read-back differs at location 50 alone.
    const auto storeDiffersAt50 = [&file](ModuleRun& run) {
        const ModuleRun::Compared compared = run.store(file(), true);
        return compared.differences.size() == 1 && compared.differences[0].location == 50
                   ? compared.status
                   : Usage;
    };
    const struct
    {
        const char* emulator;
        std::function<ExitStatus(ModuleRun&)> command;
        ExitStatus status;
        const char* said;
    } cases[] = {
        {"--silent", identity, NoAnswer, "did not answer with its identity"},
        // An identity is five bytes and the ready marker, each in time, or
        // none: never one made of late bytes, packets or a reply cut short.
        {"--byte-delay 310", identity, NoAnswer, "with its identity"},
        {"--running", identity, NoAnswer, "with its identity"},
        {"--drop identify:4", read, NoAnswer, "with its identity"},
        {"--drop identify:4", store(), NoAnswer, "Nothing was stored."},
        {"--drop identify:5", defaults, NoAnswer, "may not have been cleared"},
        // What the windows would change on the way in is no silent read.
        {"--set 10=9", read, Unshowable,
         "location 10 (mode of operation): the module holds 9, which the windows make 4"},
        {"--set 13=0", read, Unshowable,
         "(transmit interval) holds 0, which the windows cannot show."},
        {"--silent", read, NoAnswer, "did not answer the read command (6 tries)"},
        {"--silent", diff, NoAnswer, "did not answer the read command"},
        {"--silent", store(), NoAnswer, "Nothing was stored."},
        {"--wrong-echo 7", store(), StoreRefused,
         "did not acknowledge location 7 (wireless key 2); locations 0 to 6 were stored"},
        {"--drop read:3:0", store({}, true), NoAnswer,
         "All 51 locations were stored, but the Vindle Module did not answer the read-back"},
        {"--replace read:101:1:0", storeDiffersAt50, Differences, ""},
        // The identity comes before the store: the store overwrites what its
        // command may have cleared.
        {"--reset-on-identify --set 1=40", store({{1, 60}}, true), Done, ""},
        // An ES transmitter in the file, an LR module.
        {"--capabilities 2", store({{9, 2}}), Usage,
         "location 9 (transmitter fitted to this module): the file holds 2, this module 1"},
        {"--device-id1 18", store(), Done,
         "(Device ID #1: 17) than the one connected (Device ID #1: 18).  It is stored all the "
         "same."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.emulator);
        std::vector<std::string> words;
        std::istringstream split(c.emulator);
        for (std::string word; split >> word;)
            words.push_back(word);
        const emulator::ParsedCommandLine parsed = emulator::parseCommandLine(words);
        ASSERT_TRUE(parsed.options) << parsed.error;
        test::EmulatedModule m(parsed.options->settings);
        Messages messages;
        ModuleRun run(m.port, m.pump, m.clock, messages);
        EXPECT_EQ(c.command(run), c.status) << messages.all;
        EXPECT_NE(messages.all.find(c.said), std::string::npos) << messages.all;
    }
}

// A store cut short by a value the line brought late: the module takes it
// when it comes and waits for more from then on, so the next run waits until
// the module has given the store up, counted from its late acknowledgement.
TEST(ModuleRunTest, ALateAcknowledgementIsWaitedOutBeforeTheNextCommand)
{
    LaggyLine line{EmulatorSettings{}};
    // The identify command, the store command, then locations 0 to 20.
    line.heldByte = 2 + 2 + 20;
    line.heldFor = kReceiveTimeout + std::chrono::milliseconds(20);
    Messages messages;
    {
        ModuleRun first(line, line.pump, line.m.clock, messages);
        EXPECT_EQ(first.store(factoryFile(), false).status, ExitStatus::StoreRefused);
    }
    const emulator::Configuration held = line.m.module.configuration();
    ModuleRun next(line, line.pump, line.m.clock, messages);
    EXPECT_EQ(next.compare(factoryFile()).status, ExitStatus::Done) << messages.all;
    EXPECT_EQ(line.m.module.configuration(), held);
    EXPECT_EQ(held[20], factoryFile()[20]);
}

// Ctrl+C in the middle of a store lets it finish, so that the module holds
// the whole file; a second one ends it at once. One during the identity says
// what its command may have done.
TEST(ModuleRunTest, ACtrlCFinishesAStoreAndASecondEndsIt)
{
    // The identify command, the store command, then a value per location.
    constexpr std::size_t kStoreSent = 2 + 2 + kLocationCount;
    struct Case
    {
        const char* what;
        // Pressed once this many bytes have gone out.
        std::size_t pressedAt;
        int presses;
        const char* said;
        std::size_t sentInAll;
    };
    const Case cases[] = {
        {"once", 2 + 2 + 11, 1, "Interrupted after the store: all 51 locations were stored",
         kStoreSent},
        {"twice", 2 + 2 + 11, 2,
         "Interrupted: the store was not complete: locations 0 to 9 were stored; the module keeps "
         "its earlier values from there on.",
         2 + 2 + 11},
        {"during the identity", 2, 1,
         "the identity was not read; its command had gone out, and may have cleared", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EmulatorSettings settings;
        settings.configuration[45] = 7;
        test::EmulatedModule m(settings);
        Messages messages;
        std::optional<ModuleRun> made;
        ModuleRun& run = made.emplace(m.port, m.pump, m.clock, messages);
        m.pump.onYield = [&] {
            if (m.port.written().size() != c.pressedAt)
                return;
            run.interrupt();
            if (c.presses == 2)
                run.interruptAgain();
        };
        ConfigurationRecord file = factoryFile();
        file.values[45] = 9;
        EXPECT_EQ(run.store(file, true).status, ExitStatus::Interrupted);
        EXPECT_NE(messages.all.find(c.said), std::string::npos) << messages.all;
        // Nothing is sent once the store is over or cut short: no read-back.
        EXPECT_EQ(m.port.written().size(), c.sentInAll);
        EXPECT_EQ(m.module.configuration()[45], c.sentInAll == kStoreSent ? 9 : 7);
        // A program ended at once waits nothing out: the next run is told.
        const Clock::TimePoint ended = m.clock.now();
        made.reset();
        EXPECT_EQ(m.clock.now(), ended);
    }
}

// Whether an earlier run left a store open: a note that says so is waited
// out without a word; one that cannot be read is waited out and said.
TEST(ModuleRunTest, AnEarlierStoreIsWaitedOutAndAnUnknownOneSaid)
{
    using Earlier = StoreJournal::Earlier;
    for (const Earlier earlier : {Earlier::None, Earlier::Unfinished, Earlier::Unknown}) {
        SCOPED_TRACE(static_cast<int>(earlier));
        test::EmulatedModule m;
        test::FakeJournal journal(earlier);
        Messages messages;
        const Clock::TimePoint opened = m.clock.now();
        const ModuleRun run(m.port, m.pump, m.clock, messages, &journal);
        EXPECT_EQ(m.clock.now() - opened >= kModuleStoreTimeout, earlier != Earlier::None);
        EXPECT_EQ(messages.all.find("Cannot tell whether") != std::string::npos,
                  earlier == Earlier::Unknown)
            << messages.all;
    }
}

} // namespace
} // namespace vindle
