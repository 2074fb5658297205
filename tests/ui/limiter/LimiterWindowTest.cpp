#include "ui/limiter/LimiterWindow.h"

#include "ui/limiter/Volt.h"

#include <gtest/gtest.h>
#include <map>

namespace vindle {
namespace {

TEST(VoltTest, EveryCountGivesFourCharacters)
{
    const std::map<int, std::string> listed{
        {0, "0.00"},  {1, ".019"},   {25, ".490"},  {50, ".980"},  {51, "1.00"},
        {75, "1.47"}, {125, "2.45"}, {128, "2.50"}, {254, "4.98"}, {255, "5.00"}};
    for (int count = 0; count <= 255; ++count) {
        const std::string volts = VOLT(count);
        EXPECT_EQ(volts.size(), 4u) << count << " gives \"" << volts << "\"";
        const auto it = listed.find(count);
        if (it != listed.end()) {
            EXPECT_EQ(volts, it->second) << count;
        }
    }
}

class LimiterWindowTest : public ::testing::Test
{
protected:
    LimiterWindow limiter;

    void expectLimits(int channel, int lower, int upper)
    {
        EXPECT_EQ(limiter.SetLowerLimit(channel).value(), lower);
        EXPECT_EQ(limiter.SetUpperLimit(channel).value(), upper);
    }
};

TEST_F(LimiterWindowTest, StartState)
{
    EXPECT_EQ(limiter.title(), "Analog Limiter Configuration");
    EXPECT_EQ(limiter.Label1(0).caption(), "Lower Limit = 75");
    EXPECT_EQ(limiter.Label2(6).caption(), "Upper Limit = 125");
    EXPECT_EQ(limiter.Label3(3).caption(), "Details");
    EXPECT_EQ(limiter.Label1(19).caption(), "Current A/D Input");
    EXPECT_EQ(limiter.LevelLabel(0).caption(), "255");
    EXPECT_EQ(limiter.Volts(0).caption(), "5.00 Volts");
    EXPECT_EQ(limiter.Level(0).value(), 0);
    EXPECT_EQ(limiter.Frame1(6).caption(),
              "Relay 7 is Tied to Analog Input Channel #7 on the Vindle Module");
    EXPECT_EQ(limiter.Frame1(7).caption(), "Relay 8 is Tied to Input Channel #8");
    for (int index = 0; index < 14; ++index)
        EXPECT_EQ(limiter.LimitMode(index).isSelected(), index % 2 == 0) << index;
    EXPECT_THROW(limiter.Label1(8), std::out_of_range);
    EXPECT_EQ(&limiter.get<Label>("Label1", 9), &limiter.Label1(9));
}

TEST_F(LimiterWindowTest, LowerAboveUpperDragsUpperAlong)
{
    limiter.SetUpperLimit(0).setValue(100);
    limiter.SetLowerLimit(0).setValue(200);
    expectLimits(0, 200, 201);
    EXPECT_EQ(limiter.Label1(0).caption(), "Lower Limit = 200   3.92 Volts");
    EXPECT_EQ(limiter.Label2(0).caption(), "Upper Limit = 201   3.94 Volts");
    EXPECT_EQ(limiter.Label3(0).caption(),
              "Relays will Activate When the Lower Limit is Greater Than or Equal To 200 And "
              "Will Stay Activated Until the Upper Limit of 201 is Exceeded.");
}

TEST_F(LimiterWindowTest, LowerAtTopLeavesRoomForUpper)
{
    limiter.SetUpperLimit(1).setValue(100);
    limiter.SetLowerLimit(1).setValue(255);
    expectLimits(1, 254, 255);
    EXPECT_EQ(limiter.Label1(1).caption(), "Lower Limit = 254   4.98 Volts");
    EXPECT_EQ(limiter.Label2(1).caption(), "Upper Limit = 255   5.00 Volts");

    // Dragging works the same way.
    limiter.SetUpperLimit(2).drag(10);
    limiter.SetLowerLimit(2).drag(255);
    expectLimits(2, 254, 255);
}

TEST_F(LimiterWindowTest, UpperBelowLowerIsSentBack)
{
    limiter.SetUpperLimit(2).setValue(120);
    limiter.SetLowerLimit(2).setValue(80);
    limiter.SetUpperLimit(2).setValue(50);
    expectLimits(2, 80, 81);
    EXPECT_EQ(limiter.Label2(2).caption(), "Upper Limit = 81   1.58 Volts");

    limiter.SetUpperLimit(3).setValue(128);
    limiter.SetLowerLimit(3).setValue(128); // equal limits are accepted
    expectLimits(3, 128, 128);
    EXPECT_EQ(limiter.Label1(3).caption(), "Lower Limit = 128   2.50 Volts");
}

TEST_F(LimiterWindowTest, ReadOrderOfLowerThenUpperEndsOrdered)
{
    // Stored L = 90, U = 60: setting L first raises U to 91, then U = 60 is
    // sent back to 91.
    limiter.SetLowerLimit(4).setValue(90);
    limiter.SetUpperLimit(4).setValue(60);
    expectLimits(4, 90, 91);
    // Stored L = 255, U = 0.
    limiter.SetLowerLimit(5).setValue(255);
    limiter.SetUpperLimit(5).setValue(0);
    expectLimits(5, 254, 255);
    // Stored L = 75, U = 125 in order: taken as is.
    limiter.SetLowerLimit(6).setValue(75);
    limiter.SetUpperLimit(6).setValue(125);
    expectLimits(6, 75, 125);
    EXPECT_EQ(limiter.Label1(6).caption(), "Lower Limit = 75   1.47 Volts");
    EXPECT_EQ(limiter.Label2(6).caption(), "Upper Limit = 125   2.45 Volts");
}

TEST_F(LimiterWindowTest, OutsideOptionRewritesOnlyItsChannel)
{
    limiter.LimitMode(5).select();
    EXPECT_TRUE(limiter.LimitMode(5).isSelected());
    EXPECT_FALSE(limiter.LimitMode(4).isSelected());
    EXPECT_EQ(limiter.Label1(2).caption(), "Lower Limit = 0   0.00 Volts");
    EXPECT_EQ(limiter.Label2(2).caption(), "Upper Limit = 0   0.00 Volts");
    EXPECT_EQ(limiter.Label3(2).caption(),
              "Relays will Activate Until the Lower Limit is Greater Than or Equal To 0 And Will "
              "Stay OFF Until the Upper Limit of 0 is Exceeded.");
    EXPECT_EQ(limiter.Label3(1).caption(), "Details");
    EXPECT_EQ(limiter.Label1(3).caption(), "Lower Limit = 75");
    EXPECT_TRUE(limiter.LimitMode(2).isSelected());
}

} // namespace
} // namespace vindle
