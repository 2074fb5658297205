#include "ui/main/ValueHandlers.h"

#include "ui/main/ConfigWindows.h"

#include <gtest/gtest.h>
#include <vector>

namespace vindle {
namespace {

class ValueHandlersTest : public ::testing::Test
{
protected:
    ConfigWindows windows;
    MainWindow& main = windows.mainWindow();
};

TEST_F(ValueHandlersTest, IntervalSentence)
{
    EXPECT_EQ(intervalSentence(1), "Data will Transmit Every Second");
    EXPECT_EQ(intervalSentence(2), "Data will Transmit Every 2 Seconds");
    EXPECT_EQ(intervalSentence(255), "Data will Transmit Every 255 Seconds");

    main.Interval().setValue(5);
    EXPECT_EQ(main.IntervalValue().caption(), "5");
    EXPECT_EQ(main.IntervalSentence().caption(), "Data will Transmit Every 5 Seconds");
    main.Interval().setValue(1);
    EXPECT_EQ(main.IntervalValue().caption(), "1");
    EXPECT_EQ(main.IntervalSentence().caption(), "Data will Transmit Every Second");
}

TEST_F(ValueHandlersTest, ValueLabelsFollowSetAndDrag)
{
    main.Debounce().setValue(0);
    main.LRReps().drag(255);
    main.ESReps().setValue(9);
    main.ESReps().drag(1); // its frame is hidden at start: the user cannot reach it
    EXPECT_EQ(main.DebounceValue().caption(), "0");
    EXPECT_EQ(main.LrRepeatsValue().caption(), "255");
    EXPECT_EQ(main.EsRepeatsValue().caption(), "9");
}

TEST_F(ValueHandlersTest, InputBanksNameTheSourceAndRunTheRules)
{
    main.DInputs().setValue(1);
    EXPECT_EQ(main.InputBanksValue().caption(), "1");
    EXPECT_EQ(main.InputSource().caption(), "External Inputs");
    EXPECT_FALSE(main.Mode().option(1).isVisible());
    main.DInputs().drag(0);
    EXPECT_EQ(main.InputBanksValue().caption(), "0");
    EXPECT_EQ(main.InputSource().caption(), "Processor Inputs");
    EXPECT_TRUE(main.Mode().option(1).isVisible());
}

TEST_F(ValueHandlersTest, ResolutionButtonToggles)
{
    EXPECT_EQ(main.ADBITS().caption(), "8-BIT");
    main.ADBITS().click();
    EXPECT_EQ(main.ADBITS().caption(), "10-BIT");
    main.ADBITS().click();
    EXPECT_EQ(main.ADBITS().caption(), "8-BIT");
    main.ADBITS().setCaption("10-bit");
    main.ADBITS().click();
    EXPECT_EQ(main.ADBITS().caption(), "10-BIT");
}

TEST_F(ValueHandlersTest, MoreOptionsShowsTheOneAdvancedWindow)
{
    windows.Rules();
    AdvancedWindow& advanced = windows.advanced();
    advanced.RSBank().setValue(7);
    main.MoreOptions().click();
    EXPECT_TRUE(advanced.isVisible());
    EXPECT_EQ(advanced.frontRequests(), 1);
    advanced.Command1().click();
    main.MoreOptions().click();
    EXPECT_EQ(&windows.advanced(), &advanced);
    EXPECT_EQ(advanced.RSBank().value(), 7);
    EXPECT_EQ(advanced.frontRequests(), 2);
}

TEST_F(ValueHandlersTest, SecondaryWindowsAreCreatedOnceAndAnnounced)
{
    std::vector<std::string> created;
    windows.onWindowCreated([&](Window& window) { created.push_back(window.name()); });
    EXPECT_FALSE(windows.hasLimiter());
    main.Mode().select(2); // hides the limiter, creating it first
    EXPECT_TRUE(windows.hasLimiter());
    EXPECT_FALSE(windows.limiter().isVisible());
    main.Mode().select(0);
    EXPECT_EQ(created, (std::vector<std::string>{"Limiter", "Advanced"}));
}

TEST_F(ValueHandlersTest, LimiterModeOpensTheLimiterWithFreshCaptions)
{
    main.Mode().select(1);
    LimiterWindow& limiter = windows.limiter();
    EXPECT_TRUE(limiter.isVisible());
    EXPECT_EQ(limiter.frontRequests(), 1);
    for (int channel = 0; channel < LimiterWindow::kChannels; ++channel) {
        EXPECT_EQ(limiter.Label1(channel).caption(), "Lower Limit = 0   0.00 Volts");
        EXPECT_EQ(limiter.Label2(channel).caption(), "Upper Limit = 0   0.00 Volts");
        EXPECT_EQ(limiter.Label3(channel).caption(),
                  "Relays will Activate When the Lower Limit is Greater Than or Equal To 0 And "
                  "Will Stay Activated Until the Upper Limit of 0 is Exceeded.");
    }
    // The rules ran too.
    EXPECT_TRUE(main.Frequency().isSelected(2));

    // Any other mode hides it; clicking mode 1 again reopens it.
    main.Mode().select(4);
    EXPECT_FALSE(limiter.isVisible());
    main.Mode().select(1);
    limiter.requestClose();
    main.Mode().option(1).click();
    EXPECT_TRUE(limiter.isVisible());
    EXPECT_EQ(limiter.frontRequests(), 3);
}

TEST_F(ValueHandlersTest, MotionBoxShowsAndHidesTheMotionWindow)
{
    main.MotionInputs().toggle();
    MotionTimesWindow& motion = windows.motionTimes();
    EXPECT_TRUE(motion.isVisible());
    EXPECT_EQ(motion.frontRequests(), 1);
    motion.MotionMin(2).setText("30");
    main.MotionInputs().toggle();
    EXPECT_FALSE(motion.isVisible());
    main.MotionInputs().toggle();
    EXPECT_EQ(motion.MotionMin(2).text(), "30");
}

} // namespace
} // namespace vindle
