#include "qt/core/QtSerialPort.h"

#include "EmulatorProcess.h"
#include "config/Identity.h"
#include "core/EmulatorSettings.h"
#include "link/ByteLink.h"
#include "link/DeviceCommands.h"
#include "qt/core/FileStoreJournal.h"
#include "qt/core/PortOpenFailure.h"
#include "qt/core/QtEventPump.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <unistd.h>
#include <vector>

namespace vindle {
namespace {

using test::EmulatorProcess;

class PtyLinkTest : public ::testing::Test
{
protected:
    void connect(const QStringList& emulatorArguments)
    {
        emulator_ = std::make_unique<EmulatorProcess>(emulatorArguments);
        ASSERT_FALSE(emulator_->devicePath().isEmpty()) << "the emulator printed no device";
        ASSERT_TRUE(port_.open(emulator_->devicePath())) << port_.errorText().toStdString();
    }

    std::unique_ptr<EmulatorProcess> emulator_;
    // The descriptors low latency was asked for.
    std::vector<int> lowLatencyAskedFor_;
    QtSerialPort port_{[this](int fd) { lowLatencyAskedFor_.push_back(fd); }};
    QtEventPump pump_;
    SteadyClock clock_;
    ByteLink link_{port_, pump_, clock_};
};

TEST_F(PtyLinkTest, OpensAt38400EightNoneOneInLowLatencyMode)
{
    connect({});
    EXPECT_EQ(lowLatencyAskedFor_, std::vector<int>{static_cast<int>(port_.device().handle())});
    QSerialPort& device = port_.device();
    EXPECT_EQ(device.baudRate(), 38400);
    EXPECT_EQ(device.dataBits(), QSerialPort::Data8);
    EXPECT_EQ(device.parity(), QSerialPort::NoParity);
    EXPECT_EQ(device.stopBits(), QSerialPort::OneStop);
    EXPECT_EQ(device.flowControl(), QSerialPort::NoFlowControl);
}

TEST_F(PtyLinkTest, ReadsAllLocationsThroughTheQtSerialPort)
{
    connect({"--set", "1=77", "--set", "13=9", "--set", "50=1"});
    std::array<std::int16_t, kLocationCount> values{};
    ASSERT_TRUE(readConfigurationPass(link_, values).complete());

    auto expected = emulator::factoryDefaults();
    expected[1] = 77;
    expected[13] = 9;
    expected[50] = 1;
    for (int location = 0; location < kLocationCount; ++location) {
        EXPECT_EQ(values[location], expected[location]) << "location " << location;
    }
    // The three bytes after the last pair, then nothing.
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(link_.receiveByte().hasValue());
    }
    EXPECT_FALSE(link_.receiveByte().hasValue());
}

TEST_F(PtyLinkTest, SlowRepliesAreStillReceived)
{
    // Every reply byte comes 30 ms after the one before, like a module behind
    // a USB adapter's latency timer.
    connect({"--byte-delay", "30", "--capabilities", "6", "--year", "9"});
    const Identity identity = Identity::fromReply(identify(link_));
    EXPECT_EQ(identity.yearOfRelease.toText(), "9");
    EXPECT_EQ(identity.capabilities().reportedSenders(), (std::vector<int>{1, 2}));
    EXPECT_EQ(link_.receiveByte(), Received(kReadyMarker));
}

TEST_F(PtyLinkTest, SilentModuleGivesNoValue)
{
    connect({"--silent"});
    link_.sendByte(command::kIntroducer);
    link_.sendByte(command::kReadConfiguration);
    EXPECT_FALSE(link_.receiveByte().hasValue());
}

// Counts how often a wait wakes up: a port that spins wakes it all the time.
class CountingPump final : public EventPump
{
public:
    explicit CountingPump(EventPump& pump) : pump_(pump) {}
    void yieldOnce() override { pump_.yieldOnce(); }
    void waitFor(Clock::Duration limit) override
    {
        ++waits;
        pump_.waitFor(limit);
    }
    int waits = 0;

private:
    EventPump& pump_;
};

TEST_F(PtyLinkTest, APortWhoseOtherEndClosesIsReportedOnceAndFallsSilent)
{
    connect({});
    QStringList reasons;
    port_.onFailure([&reasons](const QString& reason) { reasons.append(reason); });
    CountingPump counting(pump_);
    ByteLink link(port_, counting, clock_);

    emulator_.reset();
    for (int i = 0; i < 3; ++i) {
        EXPECT_FALSE(link.receiveByte().hasValue());
    }
    EXPECT_EQ(reasons.size(), 1) << reasons.join(" / ").toStdString();
    EXPECT_EQ(reasons.value(0).toStdString(), "the device is gone (unplugged?)");
    EXPECT_TRUE(port_.hasFailed());
    EXPECT_FALSE(port_.isOpen());
    // Three receive time-outs, each a handful of wake-ups, not thousands.
    EXPECT_LT(counting.waits, 100);
    link.sendByte(command::kIntroducer);
}

// What the program sends just before it ends (Test Configuration, then the
// window closed at once) still reaches the module.
TEST(QtSerialPortTest, BytesHandedOverBeforeTheCloseStillGoOut)
{
    int master = -1;
    int slave = -1;
    std::array<char, 256> name{};
    ASSERT_EQ(openpty(&master, &slave, name.data(), nullptr, nullptr), 0);
    QtSerialPort port;
    ASSERT_TRUE(port.open(QString::fromLocal8Bit(name.data())));
    port.writeByte(command::kIntroducer);
    port.writeByte(command::kTestConfiguration);
    port.close();

    std::vector<unsigned char> received;
    pollfd readable{master, POLLIN, 0};
    while (received.size() < 2 && poll(&readable, 1, 1000) > 0) {
        std::array<unsigned char, 16> chunk{};
        const ssize_t count = read(master, chunk.data(), chunk.size());
        if (count <= 0)
            break;
        received.insert(received.end(), chunk.begin(), chunk.begin() + count);
    }
    EXPECT_EQ(received, (std::vector<unsigned char>{253, 250}));
    ::close(master);
    ::close(slave);
}

TEST(QtSerialPortTest, MissingDeviceFailsToOpenWithAReason)
{
    QtSerialPort port;
    EXPECT_FALSE(port.open(QStringLiteral("/dev/vindle-no-such-device")));
    EXPECT_FALSE(port.isOpen());
    EXPECT_FALSE(port.errorText().isEmpty());
}

TEST(QtSerialPortTest, PortNumbersNameEachPlatformsDevice)
{
    const struct
    {
        int number;
        PortNaming naming;
        const char* device;
    } cases[] = {
        {1, PortNaming::Posix, "/dev/ttyS0"},      {4, PortNaming::Posix, "/dev/ttyS3"},
        {9, PortNaming::Posix, "/dev/ttyS8"},      {12, PortNaming::Posix, "/dev/ttyS11"},
        {4, PortNaming::Windows, "\\\\.\\COM4"},   {9, PortNaming::Windows, "\\\\.\\COM9"},
        {10, PortNaming::Windows, "\\\\.\\COM10"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(deviceNameForPortNumber(c.number, c.naming).toStdString(), c.device)
            << "COM" << c.number;
    EXPECT_EQ(deviceNameForPortNumber(9), deviceNameForPortNumber(9, PortNaming::Posix));
}

// A permission error is the group's only when nobody holds the device: one
// held open without a lock file (EBUSY) is in use, not forbidden.
TEST(QtSerialPortTest, APermissionErrorNamesItsCause)
{
    const QString device = QStringLiteral("/dev/vindle-test-no-such-device");
    const std::pair<int, bool> cases[] = {{EBUSY, false}, {EACCES, true}};
    for (const auto& [error, dialout] : cases) {
        SCOPED_TRACE(error);
        const QString text =
            portOpenReason(device, qt_error_string(error), QSerialPort::PermissionError);
        EXPECT_EQ(text.contains(QStringLiteral("dialout")), dialout) << text.toStdString();
        EXPECT_EQ(text.contains(QStringLiteral("in use by another program")), !dialout)
            << text.toStdString();
    }
}

// The note of a store under way goes by the device, as its lock does: a
// run through a /dev/serial/by-id/ link finds the note of a run through the
// device's own name.
TEST(QtSerialPortTest, TheStoreNoteGoesByTheDeviceNotTheNameGiven)
{
    const QTemporaryDir folder;
    const QString device = folder.filePath(QStringLiteral("ttyUSB7"));
    const QString link = folder.filePath(QStringLiteral("usb-FTDI-if00"));
    QFile made(device);
    ASSERT_TRUE(made.open(QIODevice::WriteOnly));
    ASSERT_TRUE(QFile::link(device, link));
    EXPECT_EQ(FileStoreJournal(link).path(), FileStoreJournal(device).path());
}

} // namespace
} // namespace vindle
