#include "ui/progress/ProgressWindow.h"

#include <gtest/gtest.h>

namespace vindle {
namespace {

TEST(ProgressWindowTest, StartsHiddenWithItsDesignTextAndAnEmptyBar)
{
    const ProgressWindow working;
    EXPECT_EQ(working.name(), "Working");
    EXPECT_EQ(working.title(), "Working...");
    EXPECT_FALSE(working.isVisible());
    EXPECT_EQ(working.Label1().caption(), "Storing Configuration...");
    EXPECT_EQ(working.Level().minimum(), 0);
    EXPECT_EQ(working.Level().maximum(), 50);
    EXPECT_EQ(working.Level().value(), 0);
}

TEST(ProgressWindowTest, ShowingAgainKeepsTheLastTextAndValue)
{
    ProgressWindow working;
    working.show();
    working.setText("Reading Configuration from Controller...");
    working.setProgress(50);
    working.hide();
    EXPECT_EQ(working.Level().value(), 50);

    working.show();
    working.bringToFront();
    EXPECT_TRUE(working.isVisible());
    EXPECT_EQ(working.frontRequests(), 1);
    EXPECT_EQ(working.Label1().caption(), "Reading Configuration from Controller...");
    EXPECT_EQ(working.Level().value(), 50);
}

TEST(ProgressWindowTest, BarStaysWithinItsRange)
{
    ProgressWindow working;
    working.setProgress(17);
    EXPECT_EQ(working.Level().value(), 17);
    working.setProgress(51);
    EXPECT_EQ(working.Level().value(), 50);
    working.setProgress(-1);
    EXPECT_EQ(working.Level().value(), 0);
}

} // namespace
} // namespace vindle
