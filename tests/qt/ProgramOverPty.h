#pragma once

#include "EmulatorProcess.h"
#include "program/SetupProgram.h"
#include "qt/core/QtEventPump.h"
#include "qt/core/QtSerialPort.h"
#include "support/RecordingDialogs.h"
#include "support/RecordingPort.h"

#include <QTest>
#include <QTimer>
#include <chrono>
#include <cstdint>
#include <ctime>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <vector>

namespace vindle::test {

// A whole run of the utility on the Qt serial port, against vindle-emulator
// on a real pseudo-terminal. Every byte the program writes is kept, with how
// many had been written when each message was shown and when the port failed.
class ProgramOverPty : public ::testing::Test
{
protected:
    // A run still going after this is ended, and its test fails.
    static constexpr std::chrono::seconds kLongestRun{20};

    void connect(const QStringList& emulatorArguments)
    {
        emulator_ = std::make_unique<EmulatorProcess>(emulatorArguments);
        ASSERT_FALSE(emulator_->devicePath().isEmpty()) << "the emulator printed no device";
        ASSERT_TRUE(port_.open(emulator_->devicePath())) << port_.errorText().toStdString();
        port_.onFailure([this](const QString&) { writtenAtFailure_.push_back(written().size()); });
        dialogs_.onMessage = [this](const std::string&) {
            writtenAtMessage_.push_back(written().size());
        };
        program_ = std::make_unique<SetupProgram>(recorder_, pump_, clock_, dialogs_);
        watchdog_.setSingleShot(true);
        QObject::connect(&watchdog_, &QTimer::timeout, [this] {
            hung_ = true;
            program_->end();
        });
        watchdog_.start(kLongestRun);
        cpuAtStart_ = std::clock();
        startedAt_ = std::chrono::steady_clock::now();
    }

    // Start-up; a store may follow at once: it lets the ready marker that
    // ends the identity reply run out before its command.
    void startUp() { program_->start(); }

    // Ends the run once the data monitor has been shown for `after`.
    // Ends the run `after` the data monitor showed, or a moment after
    // `done` holds once it shows, whichever comes first.
    void endWhenMonitoring(std::chrono::milliseconds after, std::function<bool()> done = {})
    {
        monitorWatch_.start(10);
        QObject::connect(&monitorWatch_, &QTimer::timeout, [this, after, done] {
            if (!program_->hasMonitor() || !program_->monitor().isVisible())
                return;
            if (!monitorShownAt_)
                monitorShownAt_ = std::chrono::steady_clock::now();
            if ((done && done()) || std::chrono::steady_clock::now() - *monitorShownAt_ >= after) {
                monitorWatch_.stop();
                QTimer::singleShot(done ? 100 : 0, [this] { program_->end(); });
            }
        });
    }

    void TearDown() override
    {
        EXPECT_FALSE(hung_) << "the run was still going after " << kLongestRun.count() << " s";
    }

    // Every wait sleeps in the event loop: the processor is busy for well
    // under half of the run. A wait that spun would keep it busy throughout.
    void expectNoSpinning() const
    {
        const double busy = double(std::clock() - cpuAtStart_) / CLOCKS_PER_SEC;
        const double elapsed =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - startedAt_).count();
        EXPECT_LT(busy, 0.5 * elapsed + 0.1) << "busy " << busy << " s of " << elapsed << " s";
    }

    const std::vector<std::uint8_t>& written() const { return recorder_.written(); }
    // What the program wrote from the `from`th byte on.
    std::vector<std::uint8_t> writtenFrom(std::size_t from) const
    {
        return {written().begin() + static_cast<std::ptrdiff_t>(std::min(from, written().size())),
                written().end()};
    }

    std::unique_ptr<EmulatorProcess> emulator_;
    QtSerialPort port_;
    RecordingPort recorder_{port_};
    QtEventPump pump_;
    SteadyClock clock_;
    RecordingDialogs dialogs_;
    std::unique_ptr<SetupProgram> program_;
    // written().size() when each message was shown, and when the port failed.
    std::vector<std::size_t> writtenAtMessage_;
    std::vector<std::size_t> writtenAtFailure_;

private:
    QTimer watchdog_;
    QTimer monitorWatch_;
    std::optional<std::chrono::steady_clock::time_point> monitorShownAt_;
    bool hung_ = false;
    std::clock_t cpuAtStart_ = 0;
    std::chrono::steady_clock::time_point startedAt_;
};

} // namespace vindle::test
