#include "ui/monitor/MonitorWindow.h"

#include "ui/monitor/MonitorText.h"

#include <gtest/gtest.h>

namespace vindle {
namespace {

TEST(MonitorTextTest, FieldsOfALine)
{
    EXPECT_EQ(Bin(5) + AddX(5), "00000101>     5    ");
    EXPECT_EQ(Bin(65) + AddX(65), "01000001>     65  ");
    EXPECT_EQ(Bin(0) + AddX(0), "00000000>     0    ");
    EXPECT_EQ(Bin(255) + AddX(255), "11111111>     255");
    EXPECT_EQ(Bin(12) + AddX(12) + keyMarker(1), "00001100>     12     <KEY 1");
    EXPECT_EQ(Bin(254) + AddX(254) + std::string(kHeaderMarker),
              "11111110>     254   <HEADER DETECTED");
}

TEST(MonitorWindowTest, HeaderCheckControlsKeysCheck)
{
    MonitorWindow monitor;
    monitor.KeysCheck().toggle();
    monitor.HeaderCheck().toggle();
    EXPECT_FALSE(monitor.KeysCheck().isEnabled());
    EXPECT_EQ(monitor.KeysCheck().value(), CheckBox::kUnchecked);
    monitor.HeaderCheck().toggle();
    EXPECT_TRUE(monitor.KeysCheck().isEnabled());
    EXPECT_EQ(monitor.KeysCheck().value(), CheckBox::kUnchecked);
}

TEST(MonitorWindowTest, ContextHelp)
{
    MonitorWindow monitor;
    EXPECT_NE(monitor.HELP().caption().find("What baud rate"), std::string::npos);
    monitor.Baud().option(3).mouseOver();
    EXPECT_NE(monitor.HELP().caption().find("baud rate of the computer"), std::string::npos);
    monitor.KeysFrame().mouseOver();
    EXPECT_NE(monitor.HELP().caption().find("Keys with each"), std::string::npos);
    monitor.HeaderFrame().mouseOver();
    EXPECT_NE(monitor.HELP().caption().find("Normally, this option"), std::string::npos);
    monitor.mouseOver();
    EXPECT_NE(monitor.HELP().caption().find("looks at the RS-232"), std::string::npos);
}

} // namespace
} // namespace vindle
