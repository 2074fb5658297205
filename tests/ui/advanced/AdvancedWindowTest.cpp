#include "ui/advanced/AdvancedWindow.h"

#include <gtest/gtest.h>

namespace vindle {
namespace {

TEST(AdvancedWindowTest, StartsHiddenWithDesignValuesAndDisabledSettingFrames)
{
    AdvancedWindow advanced;
    EXPECT_FALSE(advanced.isVisible());
    EXPECT_EQ(advanced.title(), "Advanced Configuration Options");
    EXPECT_EQ(advanced.RSBank().value(), 1);
    EXPECT_EQ(advanced.ADSquelch().value(), 6);
    EXPECT_EQ(advanced.ADSquelch().maximum(), 20);
    EXPECT_EQ(advanced.SquelchValue().caption(), "6");
    for (Frame* frame : {&advanced.Rs232BankFrame(), &advanced.LrBankFrame(),
                         &advanced.EsBankFrame(), &advanced.SquelchFrame()})
        EXPECT_FALSE(frame->isEnabled()) << frame->name();
    EXPECT_TRUE(advanced.HelpFrame().isEnabled());
    EXPECT_FALSE(advanced.RSBank().isEffectivelyEnabled());
    EXPECT_EQ(advanced.RSBank().parent(), &advanced.Rs232BankFrame());
    EXPECT_EQ(advanced.ESBank().parent(), &advanced.EsBankFrame());
}

TEST(AdvancedWindowTest, LabelsFollowSlidersWhileDraggedAndWhenSet)
{
    AdvancedWindow advanced;
    advanced.SquelchFrame().setEnabled(true);
    advanced.ADSquelch().drag(20);
    EXPECT_EQ(advanced.SquelchValue().caption(), "20");
    advanced.RSBank().setValue(255);
    advanced.LRBank().setValue(17);
    advanced.ESBank().setValue(3);
    EXPECT_EQ(advanced.Rs232BankValue().caption(), "255");
    EXPECT_EQ(advanced.LrBankValue().caption(), "17");
    EXPECT_EQ(advanced.EsBankValue().caption(), "3");
    // A slider in a disabled frame cannot be dragged but keeps its value.
    advanced.LRBank().drag(50);
    EXPECT_EQ(advanced.LRBank().value(), 17);
}

TEST(AdvancedWindowTest, HideKeepsValuesAndFramesGiveHelp)
{
    AdvancedWindow advanced;
    advanced.show();
    advanced.RSBank().setValue(9);
    advanced.Command1().press();
    EXPECT_FALSE(advanced.isVisible());
    advanced.show();
    EXPECT_EQ(advanced.RSBank().value(), 9);

    advanced.EsBankFrame().mouseOver();
    const std::string bank = advanced.HELP().caption();
    EXPECT_EQ(bank.rfind("This slider defines the relay bank that will be affected by this "
                         "device.  A value of 0 affects all relay banks.",
                         0),
              0u);
    advanced.RSBank().mouseOver(); // the slider itself has no help
    EXPECT_EQ(advanced.HELP().caption(), bank);
    advanced.SquelchFrame().mouseOver();
    EXPECT_EQ(advanced.HELP().caption().rfind("Analog to Digital Converters are capable", 0), 0u);
    advanced.Rs232BankFrame().mouseOver();
    EXPECT_EQ(advanced.HELP().caption(), bank);
}

} // namespace
} // namespace vindle
