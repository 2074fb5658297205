#include "ProgramOverPty.h"

#include "program/ConfigurationReader.h"

#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace vindle {
namespace {

using ProgramOverPtyTest = test::ProgramOverPty;

TEST_F(ProgramOverPtyTest, StartUpThenStoreThenReadBack)
{
    connect({"--set", "1=77", "--set", "10=1", "--set", "14=2", "--set", "40=0"});
    startUp();
    MainWindow& main = program_->mainWindow();
    EXPECT_EQ(main.Debounce().value(), 77);
    EXPECT_TRUE(main.Mode().isSelected(1));
    EXPECT_TRUE(program_->windows().limiter().isVisible());

    // Stored at once: the ready marker that ends the identity reply is still
    // on its way, and the store lets it pass.
    main.Debounce().setValue(33);
    program_->windows().limiter().SetLowerLimit(0).setValue(12);
    main.StoreSettings().press();
    EXPECT_TRUE(dialogs_.messages.empty());
    EXPECT_EQ(program_->progress().Level().value(), 50);

    // What the module now holds comes back on the next read.
    main.Debounce().setValue(1);
    program_->windows().limiter().SetLowerLimit(0).setValue(0);
    main.ReadSettings().press();
    EXPECT_EQ(main.Debounce().value(), 33);
    EXPECT_EQ(program_->windows().limiter().SetLowerLimit(0).value(), 12);
    EXPECT_TRUE(dialogs_.messages.empty());
}

TEST_F(ProgramOverPtyTest, RunningModuleIsHandedOverToTheMonitor)
{
    connect({"--running", "--packet-rate", "50"});
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [this] {
        if (program_->hasMonitor() && program_->monitor().Text1().linesAdded() >= 8)
            program_->end();
    });
    watch.start(10);
    program_->start();

    EXPECT_EQ(dialogs_.messages, std::vector<std::string>{ConfigurationReader::kNoCommunication});
    EXPECT_TRUE(program_->monitor().isVisible());
    EXPECT_FALSE(program_->mainWindow().isVisible());
    EXPECT_TRUE(program_->hasEnded());
    const auto& lines = program_->monitor().Text1().lines();
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [](const std::string& line) {
        return line.ends_with("<HEADER DETECTED");
    }));
}

} // namespace
} // namespace vindle
