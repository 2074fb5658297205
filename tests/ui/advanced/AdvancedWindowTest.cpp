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
    EXPECT_EQ(advanced.Label4().caption(), "6");
    for (Frame* frame :
         {&advanced.Frame1(), &advanced.Frame2(), &advanced.Frame4(), &advanced.Frame5()})
        EXPECT_FALSE(frame->isEnabled()) << frame->name();
    EXPECT_TRUE(advanced.Frame3().isEnabled());
    EXPECT_FALSE(advanced.RSBank().isEffectivelyEnabled());
    EXPECT_EQ(advanced.RSBank().parent(), &advanced.Frame1());
    EXPECT_EQ(advanced.ESBank().parent(), &advanced.Frame4());
}

TEST(AdvancedWindowTest, LabelsFollowSlidersWhileDraggedAndWhenSet)
{
    AdvancedWindow advanced;
    advanced.Frame5().setEnabled(true);
    advanced.ADSquelch().drag(20);
    EXPECT_EQ(advanced.Label4().caption(), "20");
    advanced.RSBank().setValue(255);
    advanced.LRBank().setValue(17);
    advanced.ESBank().setValue(3);
    EXPECT_EQ(advanced.Label2().caption(), "255");
    EXPECT_EQ(advanced.Label1().caption(), "17");
    EXPECT_EQ(advanced.Label3().caption(), "3");
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

    advanced.Frame4().mouseOver();
    const std::string bank = advanced.HELP().caption();
    EXPECT_EQ(bank.rfind("This slider defines the relay bank that will be affected by this "
                         "device.  A value of 0 affects all relay banks.",
                         0),
              0u);
    advanced.RSBank().mouseOver(); // the slider itself has no help
    EXPECT_EQ(advanced.HELP().caption(), bank);
    advanced.Frame5().mouseOver();
    EXPECT_EQ(advanced.HELP().caption().rfind("Analog to Digital Converters are capable", 0), 0u);
    advanced.Frame1().mouseOver();
    EXPECT_EQ(advanced.HELP().caption(), bank);
}

} // namespace
} // namespace vindle
