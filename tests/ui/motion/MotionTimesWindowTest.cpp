#include "ui/motion/MotionTimesWindow.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace vindle {
namespace {

TEST(MotionTimesWindowTest, MinutesAreNormalisedAtOnce)
{
    const std::vector<std::pair<std::string, std::string>> cases{
        {"", "1"},       {"0", "1"},      {"-4", "1"},      {"300", "255"},  {"256", "255"},
        {"12abc", "12"}, {"abc", "1"},    {"1.5", "1.5"},   {"  42 ", "42"}, {"+7", "7"},
        {"2.50", "2.5"}, {"1e2x", "100"}, {"1e999", "255"}, {"0.5", "1"},    {"255.5", "255"},
        {"3.", "3"},     {".", "1"},      {"7e", "7"},      {"1e-999", "1"},
    };
    MotionTimesWindow motion;
    for (const auto& [typed, kept] : cases) {
        motion.MotionMin(3).setText(typed);
        EXPECT_EQ(motion.MotionMin(3).text(), kept) << "typed \"" << typed << "\"";
    }
}

TEST(MotionTimesWindowTest, NormalisingWriteIsNestedAndSettles)
{
    MotionTimesWindow motion;
    std::vector<std::string> seen;
    motion.MotionMin(0).addListener(
        [&](const Control& c) { seen.push_back(static_cast<const TextBox&>(c).text()); });
    motion.MotionMin(0).setText("12abc");
    motion.MotionMin(0).setText("12");
    EXPECT_EQ(seen, (std::vector<std::string>{"12abc", "12"}));
    // The delay box of the sequence method is normalised too.
    motion.MotionMin(MotionTimesWindow::kDelayBox).setText("0");
    EXPECT_EQ(motion.MotionMin(MotionTimesWindow::kDelayBox).text(), "1");
}

TEST(MotionTimesWindowTest, RowCaptionsFollowTheMethod)
{
    MotionTimesWindow motion;
    EXPECT_EQ(motion.Label1(0).caption(),
              "        If Motion is Detected on Input 1, Activate Relay 1 for");
    EXPECT_EQ(motion.Label2(7).caption(), "Minutes.");

    motion.Method().select(1);
    EXPECT_EQ(motion.Label1(2).caption(), "    If Motion is Detected on Input 3, Activate All "
                                          "Relays for");
    motion.Method().select(2); // the sequence method leaves the rows alone
    EXPECT_EQ(motion.Label1(2).caption(), "    If Motion is Detected on Input 3, Activate All "
                                          "Relays for");
    motion.Method().select(0);
    EXPECT_EQ(motion.Label1(2).caption(),
              "        If Motion is Detected on Input 3, Activate Relay 3 for");
    EXPECT_EQ(motion.Label1(7).caption(),
              "        If Motion is Detected on Input 8, Activate Relay 8 for");
}

TEST(MotionTimesWindowTest, StartState)
{
    MotionTimesWindow motion;
    EXPECT_EQ(motion.title(), "Motion Detector Response Configuration");
    EXPECT_FALSE(motion.isVisible());
    EXPECT_EQ(motion.Method().selected(), 0);
    EXPECT_FALSE(motion.Method().option(2).isVisible());
    EXPECT_FALSE(motion.SMotion().isVisible());
    const std::string sequence = motion.Method().option(2).caption();
    EXPECT_EQ(sequence.find("Delay of" + std::string(143, ' ') + "Seconds Between"), 68u);
    for (int index = 0; index <= MotionTimesWindow::kDelayBox; ++index)
        EXPECT_EQ(motion.MotionMin(index).text(), "1");
}

} // namespace
} // namespace vindle
