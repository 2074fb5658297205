#include "ui/main/ConfigWindows.h"

#include <gtest/gtest.h>

namespace vindle {
namespace {

// The option rules as a user meets them: every choice goes through the
// controls, whose handlers run the rules (nested where a rule forces a choice).
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
    EXPECT_FALSE(main.Frame14().isVisible()); // Senders(0): RS-232 only
    EXPECT_FALSE(main.Frame15().isVisible());
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

TEST_F(RulesTest, LimiterModeAppliesTheNestedOrder)
{
    main.Frequency().select(0);
    EXPECT_TRUE(main.Interval().isEnabled());
    main.RSDevice().select(12);
    main.LRDevice().select(1);
    main.ESDevice().select(1);
    main.DInputs().setValue(3);
    ASSERT_TRUE(selected(main.RSDevice(), 0)); // banks withdrew the PWM controller

    main.RSDevice().select(12);
    main.DInputs().setValue(0);
    main.RSDevice().select(12);
    main.LRDevice().select(3);
    ASSERT_TRUE(selected(main.RSDevice(), 12));
    main.Mode().select(1);

    EXPECT_TRUE(selected(main.Frequency(), 2));
    EXPECT_FALSE(enabled(main.Frequency(), 0));
    EXPECT_FALSE(enabled(main.Frequency(), 1));
    // The nested run from forcing Frequency(2) disabled these; a single pass
    // over the old selection would have left them enabled.
    EXPECT_FALSE(main.Interval().isEnabled());
    EXPECT_FALSE(main.Label3().isEnabled());
    EXPECT_FALSE(main.Label4().isEnabled());
    EXPECT_EQ(main.DInputs().value(), 0);
    EXPECT_EQ(main.DInputs().maximum(), 0);
    EXPECT_FALSE(main.Frame8().isVisible());
    EXPECT_TRUE(selected(main.RSDevice(), 0));
    EXPECT_TRUE(selected(main.LRDevice(), 0));
    EXPECT_TRUE(selected(main.ESDevice(), 0));
    EXPECT_FALSE(enabled(main.RSDevice(), 12));
    EXPECT_FALSE(enabled(main.LRDevice(), 1));
    EXPECT_FALSE(enabled(main.LRDevice(), 3));
    EXPECT_FALSE(enabled(main.ESDevice(), 1));
    EXPECT_FALSE(main.MotionInputs().isEnabled());

    // Leaving mode 1 gives the banks back.
    main.Mode().select(0);
    EXPECT_EQ(main.DInputs().maximum(), 32);
    EXPECT_TRUE(enabled(main.LRDevice(), 1));
    EXPECT_TRUE(enabled(main.Frequency(), 0));
    EXPECT_TRUE(main.Frame8().isVisible());
}

TEST_F(RulesTest, LimiterModeWithFloorOfOneBankStillEndsAtNoBanks)
{
    main.DInputs().setMinimum(1); // a module that always has a bank
    main.Mode().select(1);
    EXPECT_EQ(main.DInputs().value(), 0);
    EXPECT_EQ(main.DInputs().maximum(), 0);
    EXPECT_TRUE(visible(main.Mode(), 1));
    EXPECT_EQ(main.Label1().caption(), "Processor Inputs");
}

TEST_F(RulesTest, ExpansionBanksHideWhatNeedsTheOnBoardInputs)
{
    main.RSDevice().select(12);
    main.DInputs().setValue(2);
    for (int index = 1; index <= 4; ++index)
        EXPECT_FALSE(visible(main.Mode(), index)) << index;
    EXPECT_TRUE(visible(main.Mode(), 0));
    EXPECT_FALSE(visible(main.RSDevice(), 12));
    EXPECT_FALSE(visible(main.LRDevice(), 3));
    EXPECT_FALSE(main.MotionInputs().isVisible());
    EXPECT_TRUE(selected(main.RSDevice(), 0));
    EXPECT_FALSE(enabled(main.RSDevice(), 12));

    main.DInputs().setValue(0);
    EXPECT_TRUE(visible(main.Mode(), 4));
    EXPECT_TRUE(main.MotionInputs().isVisible());
    EXPECT_TRUE(enabled(main.RSDevice(), 12));
}

TEST_F(RulesTest, ModesWithoutRelaysKeepASelectedControllerDisabled)
{
    for (const int mode : {2, 4}) {
        main.Mode().select(0);
        main.RSDevice().select(5);
        main.Mode().select(mode);
        EXPECT_TRUE(selected(main.RSDevice(), 5)) << mode;
        EXPECT_FALSE(enabled(main.RSDevice(), 5));
        EXPECT_TRUE(enabled(main.RSDevice(), 0));
        EXPECT_TRUE(enabled(main.RSDevice(), 1));
        EXPECT_FALSE(enabled(main.LRDevice(), 2));
        EXPECT_TRUE(windows.advanced().Frame1().isEnabled());
        EXPECT_TRUE(main.MoreOptions().isEnabled());
        EXPECT_EQ(main.ADBITS().isEnabled(), mode == 4);
        EXPECT_EQ(main.Frame8().isVisible(), mode == 2);
    }
}

TEST_F(RulesTest, SerialToParallelForcesTheComputerAndHidesFrames)
{
    main.Senders().select(1);
    EXPECT_TRUE(main.Frame14().isVisible());
    main.Mode().select(3);
    EXPECT_TRUE(selected(main.RSDevice(), 1));
    EXPECT_FALSE(enabled(main.RSDevice(), 0));
    EXPECT_FALSE(main.Frame8().isVisible());
    EXPECT_FALSE(main.Frame9().isVisible());
    EXPECT_FALSE(main.Frame14().isVisible());
    EXPECT_FALSE(main.Frame15().isVisible());
    EXPECT_TRUE(main.Frame10().isVisible());
    // Changing the transmitter does not bring the frames back in mode 3.
    main.Senders().select(2);
    EXPECT_FALSE(main.Frame15().isVisible());
}

TEST_F(RulesTest, MotionDetectorsInModeZero)
{
    main.RSDevice().select(12);
    main.Frequency().select(0);
    main.DInputs().setValue(1);
    main.MotionInputs().setValue(CheckBox::kChecked);

    EXPECT_TRUE(selected(main.NCNO(), 1));
    EXPECT_FALSE(enabled(main.NCNO(), 0));
    EXPECT_EQ(main.DInputs().value(), 0);
    EXPECT_TRUE(selected(main.Frequency(), 2));
    EXPECT_FALSE(enabled(main.Frequency(), 0));
    EXPECT_TRUE(selected(main.RSDevice(), 0));
    EXPECT_FALSE(enabled(main.RSDevice(), 12));
    EXPECT_FALSE(enabled(main.LRDevice(), 3));
    EXPECT_FALSE(main.Interval().isEnabled());
    EXPECT_TRUE(windows.motionTimes().isVisible());

    // Unchecking hides the window but undoes nothing that was forced.
    main.MotionInputs().setValue(CheckBox::kUnchecked);
    EXPECT_FALSE(windows.motionTimes().isVisible());
    EXPECT_TRUE(selected(main.NCNO(), 1));
    EXPECT_TRUE(selected(main.Frequency(), 2));
    EXPECT_TRUE(enabled(main.NCNO(), 0));
    EXPECT_TRUE(enabled(main.Frequency(), 0));
}

TEST_F(RulesTest, MotionDetectorsLeftCheckedInModeTwo)
{
    main.Mode().select(2);
    main.DInputs().setValue(3);
    main.MotionInputs().setValue(CheckBox::kChecked);
    EXPECT_FALSE(main.MotionInputs().isEnabled());
    EXPECT_FALSE(main.MotionInputs().isVisible());
    EXPECT_TRUE(selected(main.NCNO(), 1));
    EXPECT_TRUE(selected(main.Frequency(), 2));
    EXPECT_EQ(main.DInputs().value(), 3);
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

TEST_F(RulesTest, RelayControllerWithdrawsTheLrPwmController)
{
    main.LRDevice().select(3);
    EXPECT_FALSE(main.Frame8().isVisible());
    EXPECT_TRUE(windows.advanced().Frame5().isEnabled());
    main.RSDevice().select(3);
    EXPECT_TRUE(selected(main.LRDevice(), 0));
    EXPECT_FALSE(enabled(main.LRDevice(), 3));
    EXPECT_TRUE(main.Frame8().isVisible());
    EXPECT_FALSE(windows.advanced().Frame5().isEnabled());
    EXPECT_FALSE(main.MoreOptions().isEnabled()); // RSDevice(3) has no bank choice
}

TEST_F(RulesTest, RsPwmControllerWithdrawsWirelessRelayControllers)
{
    main.Senders().select(2);
    main.ESDevice().select(2);
    EXPECT_TRUE(windows.advanced().Frame4().isEnabled());
    main.RSDevice().select(12);
    EXPECT_TRUE(selected(main.ESDevice(), 0));
    EXPECT_FALSE(enabled(main.ESDevice(), 2));
    EXPECT_FALSE(main.Frame8().isVisible());
    EXPECT_TRUE(windows.advanced().Frame5().isEnabled());
    EXPECT_FALSE(windows.advanced().Frame4().isEnabled());
    EXPECT_TRUE(main.MoreOptions().isEnabled());
}

TEST_F(RulesTest, TransmitterFramesFollowSendersButNotTheSelection)
{
    main.Senders().select(1);
    main.LRDevice().select(2);
    main.Senders().select(0);
    EXPECT_FALSE(main.Frame14().isVisible());
    EXPECT_TRUE(selected(main.LRDevice(), 2));
    EXPECT_TRUE(windows.advanced().Frame2().isEnabled());
    EXPECT_TRUE(main.MoreOptions().isEnabled());

    main.Senders().select(2);
    main.Senders().clearSelection();
    main.Frame14().setVisible(true);
    windows.Rules();
    EXPECT_TRUE(main.Frame14().isVisible());
    EXPECT_TRUE(main.Frame15().isVisible());
}

} // namespace
} // namespace vindle
