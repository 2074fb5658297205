// Faults of the module and of the line, injected by vindle-emulator on a real
// pseudo-terminal. Each ends in its documented outcome (a retry, a message,
// the hand-over to the data monitor, the factory-default recovery) within
// seconds, sleeping while it waits, with nothing sent once it has failed.

#include "ProgramOverPty.h"
#include "link/Commands.h"
#include "program/ConfigurationReader.h"
#include "program/ConfigurationStore.h"

#include <QTest>
#include <algorithm>
#include <functional>
#include <string>

namespace vindle {
namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

const Bytes kRead{command::kIntroducer, command::kReadConfiguration};
const Bytes kIdentify{command::kIntroducer, command::kIdentify};
const Bytes kStore{command::kIntroducer, command::kStoreConfiguration};
const Bytes kTestConfiguration{command::kIntroducer, command::kTestConfiguration};
const Bytes kReadAnalog{command::kIntroducer, command::kReadAnalogInputs};

Bytes operator*(const Bytes& bytes, int times)
{
    Bytes all;
    for (int i = 0; i < times; ++i)
        all.insert(all.end(), bytes.begin(), bytes.end());
    return all;
}

Bytes operator+(Bytes first, const Bytes& second)
{
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

std::vector<std::string> levelCaptions(SetupProgram& program)
{
    std::vector<std::string> captions;
    for (int channel = 0; channel < LimiterWindow::kChannels; ++channel)
        captions.push_back(program.windows().limiter().LevelLabel(channel).caption());
    return captions;
}

// The emulator's A/D readings, as the limiter shows them.
const std::vector<std::string> kReadingCaptions{" 0", " 51", " 75", " 128", " 180", " 230", " 255"};

template <class Row> std::string rowName(const ::testing::TestParamInfo<Row>& info)
{
    return info.param.name;
}

// --- A damaged read reply ---------------------------------------------------

// The module these reads talk to: Debounce 77, Interval 5.
const QStringList kModule{"--set", "1=77", "--set", "13=5"};

enum class ReadOutcome
{
    Retry,    // passes start again until one is whole; nothing is said
    Recovery, // factory defaults, then a whole read
    HandOver, // the message, then the data monitor
};

struct ReadFault
{
    const char* name;
    QStringList emulator;
    ReadOutcome outcome;
};
void PrintTo(const ReadFault& row, std::ostream* out)
{
    *out << row.name;
}

// Positions count the reply's bytes: 0 is the number of location 0, 50 that of
// location 25, 51 its value, 100 the number of location 50.
const ReadFault kReadFaults[] = {
    {"DroppedAtTheStart", {"--drop", "read:0"}, ReadOutcome::Retry},
    {"DroppedInTheMiddle", {"--drop", "read:51"}, ReadOutcome::Retry},
    {"DroppedAtTheEnd", {"--drop", "read:100"}, ReadOutcome::Retry},
    {"ReplacedAtTheStart", {"--replace", "read:0:99"}, ReadOutcome::Retry},
    {"ReplacedInTheMiddle", {"--replace", "read:50:99"}, ReadOutcome::Retry},
    {"ReplacedAtTheEnd", {"--replace", "read:100:99"}, ReadOutcome::Retry},
    {"InsertedAtTheStart", {"--insert", "read:0:99"}, ReadOutcome::Retry},
    {"InsertedInTheMiddle", {"--insert", "read:51:99"}, ReadOutcome::Retry},
    {"InsertedAtTheEnd", {"--insert", "read:100:99"}, ReadOutcome::Retry},
    // Interval (location 13) cannot show 0.
    {"UnshowableValue", {"--replace", "read:27:0"}, ReadOutcome::Recovery},
    {"Silent", {"--silent"}, ReadOutcome::HandOver},
};

class ReadFaultOverPty : public test::ProgramOverPty,
                         public ::testing::WithParamInterface<ReadFault>
{};

TEST_P(ReadFaultOverPty, EndsInItsOutcome)
{
    const ReadFault& fault = GetParam();
    connect(kModule + fault.emulator);
    endWhenMonitoring(100ms);
    program_->start();

    MainWindow& main = program_->mainWindow();
    switch (fault.outcome) {
    case ReadOutcome::Retry: {
        EXPECT_TRUE(dialogs_.messages.empty());
        // Read commands, one per pass, then the identity of the whole read.
        const auto passes = static_cast<int>(
            std::count(written().begin(), written().end(), command::kReadConfiguration));
        EXPECT_GE(passes, 2);
        EXPECT_LE(passes, ConfigurationReader::kMostFailedPasses);
        EXPECT_EQ(written(), kRead * passes + kIdentify);
        break;
    }
    case ReadOutcome::Recovery:
        EXPECT_EQ(dialogs_.messages,
                  std::vector<std::string>{ConfigurationReader::kRecoveryMessage});
        // The reset is the identify command; the read after it is whole.
        EXPECT_EQ(written(), kRead + kIdentify + kRead + kIdentify);
        break;
    case ReadOutcome::HandOver:
        EXPECT_EQ(dialogs_.messages,
                  std::vector<std::string>{ConfigurationReader::kNoCommunication});
        EXPECT_EQ(written(),
                  kRead * (ConfigurationReader::kMostFailedPasses + 1) + kTestConfiguration);
        ASSERT_EQ(writtenAtMessage_.size(), 1U);
        EXPECT_EQ(writtenFrom(writtenAtMessage_[0]), kTestConfiguration);
        EXPECT_TRUE(program_->monitor().isVisible());
        EXPECT_FALSE(main.isVisible());
        break;
    }
    if (fault.outcome != ReadOutcome::HandOver) {
        EXPECT_TRUE(main.isVisible() && main.isEnabled());
        EXPECT_EQ(main.Debounce().value(), 77);
        EXPECT_EQ(main.Interval().value(), 5);
    }
    expectNoSpinning();
}

INSTANTIATE_TEST_SUITE_P(Faults, ReadFaultOverPty, ::testing::ValuesIn(kReadFaults),
                         rowName<ReadFault>);

// --- A wrong store acknowledgement -------------------------------------------

class WrongStoreEchoOverPty : public test::ProgramOverPty, public ::testing::WithParamInterface<int>
{};

TEST_P(WrongStoreEchoOverPty, StopsTheStoreThereWithTheStorageError)
{
    const int location = GetParam();
    connect({"--wrong-echo", QString::number(location)});
    startUp();
    ASSERT_TRUE(dialogs_.messages.empty());
    const std::size_t before = written().size();

    program_->StoreSettings_Click();

    EXPECT_EQ(dialogs_.messages, std::vector<std::string>{ConfigurationStore::kStorageError});
    // The command and the values of locations 0 to `location`, then nothing.
    const Bytes sent = writtenFrom(before);
    ASSERT_EQ(sent.size(), kStore.size() + static_cast<std::size_t>(location) + 1);
    EXPECT_EQ(Bytes(sent.begin(), sent.begin() + 2), kStore);
    EXPECT_EQ(writtenAtMessage_.back(), written().size());
    EXPECT_EQ(program_->progress().Level().value(), location);
    EXPECT_FALSE(program_->progress().isVisible());
    EXPECT_TRUE(program_->mainWindow().isEnabled());
    EXPECT_TRUE(program_->mainWindow().StoreSettings().isEnabled());
    expectNoSpinning();

    // Read at once: its command waits until the module has given the store
    // up, so that it is not taken for values; one pass reads it whole.
    const std::size_t stored = written().size();
    program_->ReadSettings_Click();
    EXPECT_EQ(writtenFrom(stored), kRead + kIdentify);
    EXPECT_EQ(dialogs_.messages.size(), 1U);
}

INSTANTIATE_TEST_SUITE_P(Faults, WrongStoreEchoOverPty, ::testing::Values(0, 1, 25, 50));

// --- Slow replies ----------------------------------------------------------

struct SlowReply
{
    const char* name;
    int millisecondsPerByte;
    bool readingsShown;
};
void PrintTo(const SlowReply& row, std::ostream* out)
{
    *out << row.name;
}

// A byte just inside the time-out is judged in simulated time, where no load
// can make it late; a byte outside it stays outside however loaded the
// machine.
const SlowReply kSlowReplies[] = {
    {"OutsideTheReceiveTimeOut", 350, false},
};

class SlowReplyOverPty : public test::ProgramOverPty,
                         public ::testing::WithParamInterface<SlowReply>
{};

// One A/D refresh: eight reply bytes, each that much after the one before.
TEST_P(SlowReplyOverPty, AnAnalogRefreshShowsTheReadingsOnlyWhenEachByteComesInTime)
{
    const SlowReply& slow = GetParam();
    static_assert(kReceiveTimeout == 300ms, "the delays lie either side of the time-out");
    connect({"--byte-delay", QString::number(slow.millisecondsPerByte)});
    const std::vector<std::string> before = levelCaptions(*program_);

    program_->RefreshAnalogInputs();

    EXPECT_EQ(levelCaptions(*program_), slow.readingsShown ? kReadingCaptions : before);
    EXPECT_EQ(written(), kReadAnalog);
    EXPECT_TRUE(program_->windows().limiter().Command1().isEnabled());
    expectNoSpinning();
}

INSTANTIATE_TEST_SUITE_P(Faults, SlowReplyOverPty, ::testing::ValuesIn(kSlowReplies),
                         rowName<SlowReply>);

// --- The line goes dead ----------------------------------------------------

// Bytes the module sends for a start-up: the read reply and the identity.
constexpr int kStartUpReply = 2 * kLocationCount + 3 + kIdentityReplyLength + 1;

struct DeadLine
{
    const char* name;
    // The module goes dead after sending this many bytes, and closes the line.
    int bytesBeforehand;
    std::function<void(SetupProgram&)> run;
    std::vector<std::string> messages;
    // What the program sends once it has failed and said so.
    Bytes sentAtTheEnd;
    std::function<void(SetupProgram&)> outcome;
};
void PrintTo(const DeadLine& row, std::ostream* out)
{
    *out << row.name;
}

const DeadLine kDeadLines[] = {
    {"DuringARead",
     40,
     [](SetupProgram& program) { program.start(); },
     {ConfigurationReader::kNoCommunication},
     kTestConfiguration,
     [](SetupProgram& program) { EXPECT_TRUE(program.monitor().isVisible()); }},
    {"DuringAStore",
     kStartUpReply + 26,
     [](SetupProgram& program) {
         program.start();
         program.StoreSettings_Click();
     },
     {ConfigurationStore::kStorageError},
     {},
     [](SetupProgram& program) {
         // Locations 0 to 25 were acknowledged.
         EXPECT_EQ(program.progress().Level().value(), 26);
         EXPECT_TRUE(program.mainWindow().isEnabled());
     }},
    {"DuringAnAnalogRefresh",
     4,
     [](SetupProgram& program) { program.RefreshAnalogInputs(); },
     {},
     {},
     [](SetupProgram& program) {
         // The header and three readings came; the rest count as 0.
         EXPECT_EQ(levelCaptions(program),
                   (std::vector<std::string>{" 0", " 51", " 75", " 0", " 0", " 0", " 0"}));
         EXPECT_TRUE(program.windows().limiter().Command1().isEnabled());
     }},
    {"WhileMonitoring",
     20,
     [](SetupProgram& program) { program.TestConfiguration_Click(); },
     {},
     {},
     [](SetupProgram& program) {
         // Every byte that came is shown; the monitor waits on for the user.
         EXPECT_EQ(program.monitor().Text1().linesAdded(), 20U);
         EXPECT_TRUE(program.monitor().isVisible());
     }},
    {"WhileIdle",
     kStartUpReply,
     [](SetupProgram& program) {
         program.start();
         QTest::qWait(500);
         // A silent module fails at location 0: a missing byte is no
         // acknowledgement.
         program.StoreSettings_Click();
     },
     {ConfigurationStore::kStorageError},
     {},
     [](SetupProgram& program) { EXPECT_EQ(program.progress().Level().value(), 0); }},
};

class DeadLineOverPty : public test::ProgramOverPty, public ::testing::WithParamInterface<DeadLine>
{};

TEST_P(DeadLineOverPty, IsReportedOnceAndEndsInTheProceduresOutcome)
{
    const DeadLine& dead = GetParam();
    connect({"--disconnect-after", QString::number(dead.bytesBeforehand), "--packet-rate", "50"});
    // Once the port's failure is reported (a second report would follow at
    // once); the time only ends a run that went wrong.
    endWhenMonitoring(10s, [this] { return !writtenAtFailure_.empty(); });

    dead.run(*program_);

    EXPECT_EQ(writtenAtFailure_.size(), 1U) << "the port's failure is reported once";
    EXPECT_FALSE(port_.isOpen()) << "nothing more reaches the device";
    EXPECT_EQ(dialogs_.messages, dead.messages);
    std::size_t failed = writtenAtFailure_.empty() ? 0 : writtenAtFailure_.back();
    if (!writtenAtMessage_.empty())
        failed = std::max(failed, writtenAtMessage_.back());
    EXPECT_EQ(writtenFrom(failed), dead.sentAtTheEnd);
    dead.outcome(*program_);
    expectNoSpinning();
}

INSTANTIATE_TEST_SUITE_P(Faults, DeadLineOverPty, ::testing::ValuesIn(kDeadLines),
                         rowName<DeadLine>);

} // namespace
} // namespace vindle
