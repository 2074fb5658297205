#include "ui/main/ConfigWindows.h"

#include <gtest/gtest.h>

namespace vindle {
namespace {

// The option rules as a user meets them, where the windows add to what the
// rules decide of a record: the first run, a choice made again, the windows
// that open and close, and the input bank slider's own minimum.
class RulesTest : public ::testing::Test
{
protected:
    RulesTest() { windows.Rules(); }

    ConfigWindows windows;
    MainWindow& main = windows.mainWindow();

    bool selected(OptionGroup& group, int index) const { return group.isSelected(index); }
    bool enabled(OptionGroup& group, int index) const { return group.option(index).isEnabled(); }
    bool visible(OptionGroup& group, int index) const { return group.option(index).isVisible(); }
};

TEST_F(RulesTest, FirstRunDecidesStartVisibility)
{
    EXPECT_TRUE(visible(main.Mode(), 4));
    EXPECT_TRUE(main.MotionInputs().isVisible());
    EXPECT_TRUE(main.MotionInputs().isEnabled());
    EXPECT_FALSE(main.LrFrame().isVisible()); // Senders(0): RS-232 only
    EXPECT_FALSE(main.EsFrame().isVisible());
    EXPECT_FALSE(main.Interval().isEnabled()); // no Frequency selected yet
    EXPECT_FALSE(main.Frequency().selected());
    EXPECT_TRUE(enabled(main.RSDevice(), 12));
    EXPECT_FALSE(main.ADBITS().isEnabled());
    EXPECT_FALSE(main.MoreOptions().isEnabled());
    ASSERT_TRUE(windows.hasAdvanced());
    EXPECT_FALSE(windows.advanced().isVisible());
    EXPECT_FALSE(visible(main.RSDevice(), 11));
    EXPECT_FALSE(main.ADBITS().isVisible());
}

TEST_F(RulesTest, ReselectingRunsNothing)
{
    main.MoreOptions().setEnabled(true);
    main.Mode().select(0);
    main.RSDevice().select(0);
    EXPECT_TRUE(main.MoreOptions().isEnabled());
    main.DInputs().setValue(0);
    EXPECT_TRUE(main.MoreOptions().isEnabled());
}

TEST_F(RulesTest, MotionDetectorsOpenTheirWindowAndUncheckingUndoesNothingForced)
{
    main.Frequency().select(0);
    main.MotionInputs().setValue(CheckBox::kChecked);
    EXPECT_TRUE(selected(main.NCNO(), 1));
    EXPECT_TRUE(selected(main.Frequency(), 2));
    EXPECT_TRUE(windows.motionTimes().isVisible());

    main.MotionInputs().setValue(CheckBox::kUnchecked);
    EXPECT_FALSE(windows.motionTimes().isVisible());
    EXPECT_TRUE(selected(main.NCNO(), 1));
    EXPECT_TRUE(selected(main.Frequency(), 2));
    EXPECT_TRUE(enabled(main.NCNO(), 0));
    EXPECT_TRUE(enabled(main.Frequency(), 0));
}

// A module that always has an input bank: leaving mode 1 gives the minimum
// back, and motion detectors, which need the on-board inputs, are cleared
// rather than left checked in a box the rules hide.
TEST_F(RulesTest, InputBankFloorSurvivesModeOneAndClearsMotionDetectors)
{
    windows.setInputBankFloor(1);
    main.DInputs().setMinimum(1);
    main.Mode().select(1);
    EXPECT_EQ(main.DInputs().value(), 0);
    main.Mode().select(0);
    EXPECT_EQ(main.DInputs().minimum(), 1);
    EXPECT_EQ(main.DInputs().value(), 1);

    main.MotionInputs().setValue(CheckBox::kChecked);
    EXPECT_EQ(main.MotionInputs().value(), CheckBox::kUnchecked);
    EXPECT_FALSE(windows.motionTimes().isVisible());
    EXPECT_EQ(main.DInputs().value(), 1);
}

TEST_F(RulesTest, GrayedMotionBoxDoesNotCountAsChecked)
{
    main.MotionInputs().setValue(CheckBox::kGrayed);
    EXPECT_TRUE(windows.motionTimes().isVisible());
    EXPECT_TRUE(selected(main.NCNO(), 0));
    EXPECT_TRUE(enabled(main.NCNO(), 0));
}

} // namespace
} // namespace vindle
