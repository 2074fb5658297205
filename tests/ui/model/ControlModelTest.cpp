#include "ui/model/CheckBox.h"
#include "ui/model/Frame.h"
#include "ui/model/Label.h"
#include "ui/model/OptionGroup.h"
#include "ui/model/ProgressBar.h"
#include "ui/model/RejectedValue.h"
#include "ui/model/Slider.h"
#include "ui/model/TextBox.h"
#include "ui/model/Window.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace vindle {
namespace {

class ControlModelTest : public ::testing::Test
{
protected:
    Window window{"Test", "Test window"};
    Frame& outer = window.add<Frame>("Outer", kNoIndex, nullptr, "Outer frame");
    Frame& inner = window.add<Frame>("Inner", kNoIndex, &outer, "Inner frame");
    OptionGroup& group = window.add<OptionGroup>(
        "Choice", &inner,
        std::vector<OptionGroup::Item>{{0, "zero"}, {1, "one"}, {2, "two", false}});
    Slider& slider = window.add<Slider>("Level", kNoIndex, &outer, 0, 10, 5);
    std::vector<std::string> log;
};

TEST_F(ControlModelTest, SelectionRaisesClickOnlyWhenItChanges)
{
    group.onClick([&](int index) { log.push_back("click " + std::to_string(index)); });
    EXPECT_FALSE(group.selected());

    group.select(1);
    group.select(1);
    group.select(2); // hidden options can still be selected by program
    EXPECT_EQ(log, (std::vector<std::string>{"click 1", "click 2"}));
    EXPECT_FALSE(group.isSelected(1));
    EXPECT_TRUE(group.option(2).isSelected());
    EXPECT_EQ(group.selected(), 2);
    EXPECT_THROW(group.select(3), std::out_of_range);
}

TEST_F(ControlModelTest, UserClickRepeatsOnSelectedOptionButNotOnUnreachableOne)
{
    group.onClick([&](int index) { log.push_back("click " + std::to_string(index)); });
    group.option(0).click();
    group.option(0).click();
    group.option(2).click(); // hidden
    inner.setEnabled(false);
    group.option(1).click(); // inside a disabled frame
    EXPECT_EQ(log, (std::vector<std::string>{"click 0", "click 0"}));
    EXPECT_EQ(group.selected(), 0);
}

TEST_F(ControlModelTest, NestedNotificationRunsInsideTheChange)
{
    // A handler that changes another control sees that control's handler run
    // before its own next statement.
    slider.onChange([&] { log.push_back("slider " + std::to_string(slider.value())); });
    group.onClick([&](int index) {
        log.push_back("enter " + std::to_string(index));
        slider.setValue(index);
        group.select(0);
        log.push_back("leave " + std::to_string(index));
    });
    group.select(1);
    EXPECT_EQ(log, (std::vector<std::string>{"enter 1", "slider 1", "enter 0", "slider 0",
                                             "leave 0", "leave 1"}));
}

TEST_F(ControlModelTest, FrameFlagsApplyToChildrenWithoutChangingTheirOwn)
{
    outer.setVisible(false);
    EXPECT_TRUE(group.option(0).isVisible());
    EXPECT_FALSE(group.option(0).isEffectivelyVisible());
    EXPECT_FALSE(slider.isEffectivelyVisible());
    outer.setVisible(true);
    EXPECT_TRUE(group.option(0).isEffectivelyVisible());
    EXPECT_FALSE(group.option(2).isEffectivelyVisible());

    inner.setEnabled(false);
    EXPECT_TRUE(group.option(0).isEnabled());
    EXPECT_FALSE(group.option(0).isEffectivelyEnabled());
    EXPECT_TRUE(slider.isEffectivelyEnabled());
}

TEST_F(ControlModelTest, SliderRejectsValuesOutsideItsRange)
{
    int changes = 0;
    slider.onChange([&] { ++changes; });
    EXPECT_THROW(slider.setValue(11), RejectedValue);
    EXPECT_THROW(slider.setValue(-1), RejectedValue);
    EXPECT_FALSE(slider.accepts(11));
    slider.setValue(5);
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(slider.value(), 5);
    try {
        slider.setValue(300);
        FAIL();
    } catch (const RejectedValue& rejected) {
        EXPECT_EQ(rejected.control(), "Level");
        EXPECT_EQ(rejected.value(), 300);
    }
}

TEST_F(ControlModelTest, NarrowingTheRangeMovesTheValueAndRaisesChange)
{
    std::vector<int> seen;
    slider.onChange([&] { seen.push_back(slider.value()); });
    slider.setMaximum(3);
    slider.setMaximum(8); // widening moves nothing
    slider.setMinimum(6);
    EXPECT_EQ(seen, (std::vector<int>{3, 6}));

    slider.setMaximum(2); // below the minimum: the range follows
    EXPECT_EQ(slider.minimum(), 2);
    EXPECT_EQ(slider.maximum(), 2);
    EXPECT_EQ(slider.value(), 2);
}

TEST_F(ControlModelTest, DragRaisesScrollAndStaysInRange)
{
    int scrolls = 0, changes = 0;
    slider.onScroll([&] { ++scrolls; });
    slider.onChange([&] { ++changes; });
    slider.drag(7);
    slider.drag(99);
    slider.drag(99);
    EXPECT_EQ(slider.value(), 10);
    EXPECT_EQ(scrolls, 2);
    EXPECT_EQ(changes, 0);
}

TEST_F(ControlModelTest, CheckBoxAndTextBoxNotifyOnlyOnChange)
{
    auto& box = window.add<CheckBox>("Flag", kNoIndex, nullptr, "Flag", 0);
    auto& text = window.add<TextBox>("Name", 3, nullptr, "0");
    int clicks = 0, edits = 0;
    box.onClick([&] { ++clicks; });
    text.onChange([&] { ++edits; });

    box.setValue(2);
    box.setValue(2);
    box.toggle(); // grayed -> checked
    EXPECT_EQ(box.value(), 1);
    box.toggle();
    EXPECT_EQ(box.value(), 0);
    EXPECT_THROW(box.setValue(3), RejectedValue);
    EXPECT_EQ(clicks, 3);

    text.setText("0");
    text.setText("12");
    EXPECT_EQ(edits, 1);
    EXPECT_EQ(&window.get<TextBox>("Name", 3), &text);
}

TEST_F(ControlModelTest, ListenersHearEveryStateChange)
{
    std::vector<std::string> heard;
    for (const auto& option : group.options())
        option->addListener([&](const Control& c) { heard.push_back(std::to_string(c.index())); });
    const int id =
        slider.addListener([&](const Control& c) { heard.push_back(c.name() + " changed"); });

    group.select(0);
    group.select(1); // 0 loses, 1 gains
    slider.setValue(9);
    slider.removeListener(id);
    slider.setValue(8);
    group.option(2).setCaption("two"); // same caption: nothing
    group.option(2).setEnabled(false);
    EXPECT_EQ(heard, (std::vector<std::string>{"0", "0", "1", "Level changed", "2"}));
}

TEST_F(ControlModelTest, WindowEnumeratesAndLooksUpControls)
{
    ASSERT_EQ(window.controls().size(), 7u);
    EXPECT_EQ(window.controls()[2]->kind(), ControlKind::OptionGroup);
    EXPECT_EQ(window.controls()[3]->kind(), ControlKind::Option);
    EXPECT_EQ(window.find("Choice", 2), &group.option(2));
    EXPECT_EQ(&window.get<OptionGroup>("Choice"), &group);
    EXPECT_EQ(window.find("Choice"), nullptr);
    EXPECT_THROW(window.get<Slider>("Outer"), std::out_of_range);
    EXPECT_THROW(window.get<Label>("Missing"), std::out_of_range);
}

TEST_F(ControlModelTest, WindowRecordsShowHideFrontAndClose)
{
    std::vector<Window::Change> changes;
    window.addListener([&](const Window&, Window::Change c) { changes.push_back(c); });
    EXPECT_FALSE(window.isVisible());
    window.show();
    window.show();
    window.bringToFront();
    window.bringToFront();
    window.requestClose(); // no handler: hides
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.frontRequests(), 2);
    EXPECT_EQ(changes,
              (std::vector<Window::Change>{Window::Change::Visible, Window::Change::FrontRequest,
                                           Window::Change::FrontRequest, Window::Change::Visible}));
}

TEST(ProgressBarTest, KeepsItsValueWithinRange)
{
    ProgressBar bar("Level", kNoIndex, nullptr, 0, 50);
    bar.setValue(25.5);
    EXPECT_DOUBLE_EQ(bar.value(), 25.5);
    bar.setValue(80);
    EXPECT_DOUBLE_EQ(bar.value(), 50);
    bar.setRange(0, 10);
    EXPECT_DOUBLE_EQ(bar.value(), 10);
    EXPECT_THROW(bar.setRange(5, 5), std::invalid_argument);
}

} // namespace
} // namespace vindle
