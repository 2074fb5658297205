// Whole runs of the desktop program against vindle-emulator on a real
// pseudo-terminal: the cases where the port and the event loop matter.

#include "qt/DesktopProgram.h"

#include "EmulatorProcess.h"
#include "program/ConfigurationReader.h"
#include "support/RecordingDialogs.h"

#include <QApplication>
#include <QTimer>
#include <gtest/gtest.h>

namespace vindle {
namespace {

using test::EmulatorProcess;

// Counts the port's wake-ups of the event loop.
class SocketActivityCounter final : public QObject
{
public:
    SocketActivityCounter() { QCoreApplication::instance()->installEventFilter(this); }
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::SockAct)
            ++count;
        return QObject::eventFilter(watched, event);
    }
    int count = 0;
};

class DesktopRun : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // Every reply byte 20 ms after the one before: a read takes seconds.
        emulator_ = std::make_unique<EmulatorProcess>(QStringList{"--byte-delay", "20"});
        ASSERT_TRUE(port_.open(emulator_->devicePath())) << port_.errorText().toStdString();
        program_ = std::make_unique<DesktopProgram>(port_, &dialogs_);
    }

    // Runs `action` once the read has reached location 5.
    void midRead(std::function<void()> action)
    {
        poll_.setInterval(10);
        QObject::connect(&poll_, &QTimer::timeout, [this, action] {
            if (program_->program().progress().Level().value() >= 5) {
                poll_.stop();
                action();
            }
        });
        poll_.start();
    }

    test::RecordingDialogs dialogs_;
    std::unique_ptr<EmulatorProcess> emulator_;
    QtSerialPort port_;
    std::unique_ptr<DesktopProgram> program_;
    QTimer poll_;
};

TEST_F(DesktopRun, ClosingTheMainWindowDuringAReadEndsWithStatus0)
{
    midRead([this] { program_->view().binder("Main")->widget().close(); });
    EXPECT_EQ(program_->run(), 0);
    EXPECT_TRUE(program_->program().hasEnded());
    EXPECT_FALSE(port_.isOpen());
    EXPECT_LT(program_->program().progress().Level().value(), 50);
    EXPECT_TRUE(dialogs_.messages.empty());
}

TEST_F(DesktopRun, APortThatFailsMidReadEndsTheRunWithOneMessageWithoutSpinning)
{
    const QString device = emulator_->devicePath();
    SocketActivityCounter wakeUps;
    midRead([this] { emulator_.reset(); });

    // The port is gone, not the module: no silent module's message and no
    // data monitor.
    EXPECT_EQ(program_->run(), 1);
    const std::vector<std::string>& messages = dialogs_.messages;
    ASSERT_EQ(messages.size(), 1U);
    EXPECT_EQ(
        messages[0].rfind("The serial port " + device.toStdString() + " stopped working: ", 0), 0U)
        << messages[0];
    EXPECT_TRUE(program_->program().hasEnded());
    EXPECT_FALSE(program_->program().hasMonitor());
    EXPECT_FALSE(port_.isOpen());
    // About one wake-up per byte received before the failure; a port that
    // kept reporting itself readable would wake the loop without end.
    EXPECT_LT(wakeUps.count, 1000);
}

} // namespace
} // namespace vindle
