#include "ui/model/ReadingOrder.h"

#include "ui/model/Button.h"
#include "ui/model/CheckBox.h"
#include "ui/model/Frame.h"

#include <functional>
#include <gtest/gtest.h>
#include <string>

namespace vindle {
namespace {

// A window laid out in two rows, with a frame holding a group, and a check
// box placed over the frame without belonging to it.
class ReadingOrderTest : public ::testing::Test
{
protected:
    ReadingOrderTest()
    {
        // Made in another order than they are read.
        window.add<Button>("Below", kNoIndex, nullptr, "Below").setLayout({0, 3000, 500, 300});
        frame.setLayout({0, 0, 4000, 2000});
        group.option(0).setLayout({100, 200, 1000, 200});
        group.option(1).setLayout({100, 1200, 1000, 200});
        window.add<Button>("Right", kNoIndex, nullptr, "Right").setLayout({5000, 0, 500, 300});
        window.add<CheckBox>("Over", kNoIndex, nullptr, "Over", 0).setLayout({2000, 600, 900, 200});
    }

    std::string read(const std::vector<const Control*>& controls) const
    {
        std::string names;
        for (const Control* control : controls)
            names += (names.empty() ? "" : " ") + control->name() +
                     (control->index() == kNoIndex ? "" : std::to_string(control->index()));
        return names;
    }

    Window window{"Test", "Test"};
    Frame& frame = window.add<Frame>("Box", kNoIndex, nullptr, "Box");
    OptionGroup& group = window.add<OptionGroup>(
        "Pick", &frame, std::vector<OptionGroup::Item>{{0, "Zero"}, {1, "One"}, {2, "Two"}});
};

TEST_F(ReadingOrderTest, ReadsRowByRowWithAGroupTogetherAndWhatLiesOverAFrameAfterIt)
{
    group.option(2).setLayout({2000, 100, 1000, 200});
    EXPECT_EQ(read(readingOrder(window)), "Box Pick0 Pick1 Pick2 Over Right Below");
    // One whose left edge is the frame's right edge lies beside it, not over it.
    window.add<Button>("Edge", kNoIndex, nullptr, "Edge").setLayout({4000, 1500, 500, 300});
    EXPECT_EQ(read(readingOrder(window)), "Box Pick0 Pick1 Pick2 Over Right Edge Below");
}

TEST_F(ReadingOrderTest, TabStopsAtAGroupOnceWhereItCanBeUsed)
{
    const struct
    {
        const char* state;
        std::function<void()> set;
        const char* stops;
    } cases[]{
        {"none selected: the first option", [] {}, "Pick0 Over Right Below"},
        {"the selected one", [this] { group.select(1); }, "Pick1 Over Right Below"},
        {"none selected, the first disabled: the next",
         [this] { group.option(0).setEnabled(false); }, "Pick1 Over Right Below"},
        {"the selected one disabled: none",
         [this] {
             group.select(2);
             group.option(2).setEnabled(false);
         },
         "Over Right Below"},
        {"the frame hidden: nothing in it", [this] { frame.setVisible(false); },
         "Over Right Below"},
    };
    for (const auto& c : cases) {
        group.clearSelection();
        for (const auto& option : group.options())
            option->setEnabled(true);
        frame.setVisible(true);
        c.set();
        EXPECT_EQ(read(tabStops(window)), c.stops) << c.state;
    }
}

} // namespace
} // namespace vindle
