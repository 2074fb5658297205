#include "ui/main/MainWindow.h"

#include <gtest/gtest.h>
#include <set>
#include <utility>

namespace vindle {
namespace {

TEST(MainWindowTest, TitleEndsWithTheWebAddress)
{
    MainWindow main;
    EXPECT_EQ(main.name(), "Main");
    EXPECT_EQ(main.title(), "Varnel: Vindle Scanner Setup Utility     FW001" +
                                std::string(29, ' ') + std::string(kMakerWebAddress));
}

TEST(MainWindowTest, StartState)
{
    MainWindow main;
    EXPECT_EQ(main.Mode().selected(), 0);
    EXPECT_FALSE(main.Mode().option(4).isVisible());
    EXPECT_FALSE(main.Frequency().selected());
    EXPECT_EQ(main.Baud().selected(), 3);
    EXPECT_EQ(main.Baud().options().size(), 10u);
    EXPECT_FALSE(main.Baud().option(8).isVisible());
    EXPECT_EQ(main.Baud().option(9).caption(), "115200");
    EXPECT_EQ(main.RSDevice().options().size(), 13u);
    EXPECT_EQ(main.RSDevice().option(11).caption(), "");
    EXPECT_FALSE(main.RSDevice().option(11).isVisible());
    EXPECT_EQ(main.ESBaud().options().size(), 7u);
    EXPECT_FALSE(main.EsFrame().isVisible());
    EXPECT_FALSE(main.ESDevice().option(0).isEffectivelyVisible());
    EXPECT_FALSE(main.VersionFrame().isVisible());
    EXPECT_FALSE(main.ADBITS().isVisible());
    EXPECT_FALSE(main.MoreOptions().isEnabled());
    EXPECT_EQ(main.LRKeys().value(), CheckBox::kChecked);
    EXPECT_EQ(main.MotionInputs().value(), CheckBox::kUnchecked);
    EXPECT_EQ(main.DInputs().maximum(), 32);
    EXPECT_EQ(main.Interval().minimum(), 1);
    EXPECT_EQ(main.Debounce().value(), 25);
    EXPECT_EQ(main.DebounceValue().caption(), "25");
    EXPECT_EQ(main.EsRepeatsValue().caption(), "5");
    EXPECT_EQ(main.Keys(2).text(), "0");
    EXPECT_EQ(main.VDAT(2).caption(), "Year of Release:");
    EXPECT_EQ(main.VDAT2(3).caption(), "--");
}

TEST(MainWindowTest, ControlsSitInTheirFrames)
{
    MainWindow main;
    EXPECT_EQ(main.Rs232BaudFrame().parent(), &main.Rs232Frame());
    EXPECT_EQ(main.Baud().option(0).parent(), &main.Rs232BaudFrame());
    EXPECT_EQ(main.LRBaud().parent(), &main.LrBitRateFrame());
    EXPECT_EQ(main.ESReps().parent(), &main.EsRepeatsFrame());
    EXPECT_EQ(main.ADBITS().parent(), &main.ModeFrame());
    EXPECT_EQ(main.MotionInputs().parent(), nullptr);
    EXPECT_EQ(main.ExitVersion().parent(), &main.VersionFrame());
    EXPECT_EQ(main.Keys(1).parent(), &main.NumberAndKeysFrame());

    main.Rs232Frame().setVisible(false);
    EXPECT_FALSE(main.Baud().option(3).isEffectivelyVisible());
    EXPECT_TRUE(main.Baud().option(3).isVisible());

    EXPECT_EQ(main.CapabilitiesFrame().layout(), (Rect{120, 0, 10455, 2535}));
    EXPECT_EQ(main.Keys(2).layout(), (Rect{5280, 240, 735, 285}));
    EXPECT_EQ(main.RSDevice().option(12).layout(), (Rect{120, 3120, 0, 0}));
}

TEST(MainWindowTest, EveryControlIsUniqueAndFoundByName)
{
    MainWindow main;
    std::set<std::pair<std::string, int>> seen;
    for (const Control* control : main.controls()) {
        if (control->kind() == ControlKind::OptionGroup)
            continue;
        EXPECT_TRUE(seen.emplace(control->name(), control->index()).second) << control->name();
        EXPECT_EQ(main.find(control->name(), control->index()), control);
        if (control->parent() != nullptr) {
            EXPECT_EQ(control->parent()->kind(), ControlKind::Frame);
        }
    }
    EXPECT_EQ(&main.get<OptionGroup>("RSDevice"), &main.RSDevice());
    EXPECT_EQ(&main.get<Slider>("Interval"), &main.Interval());
}

} // namespace
} // namespace vindle
