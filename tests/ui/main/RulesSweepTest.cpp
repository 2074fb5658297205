#include "ui/main/RulesSweep.h"

#include "ui/main/ConfigWindows.h"

#include <gtest/gtest.h>
#include <sstream>
#include <string>

namespace vindle {
namespace {

// Every flag and value of a window, as one text, to compare states.
std::string snapshot(const Window& window)
{
    std::ostringstream out;
    for (const Control* c : window.controls()) {
        out << c->name() << c->index() << ':' << c->isEnabled() << c->isVisible();
        if (c->kind() == ControlKind::Option)
            out << static_cast<const Option*>(c)->isSelected();
        if (c->kind() == ControlKind::Slider) {
            const auto* slider = static_cast<const Slider*>(c);
            out << slider->value() << '/' << slider->minimum() << '/' << slider->maximum();
        }
        if (c->kind() == ControlKind::CheckBox)
            out << static_cast<const CheckBox*>(c)->value();
        out << c->caption() << '\n';
    }
    return out.str();
}

// After any sequence of choices, the state obeys the rules' net effect and a
// further run of the rules changes nothing.
void checkChoice(const Choice& choice)
{
    SCOPED_TRACE(describe(choice));
    ConfigWindows windows;
    MainWindow& main = windows.mainWindow();
    windows.Rules();
    for (const auto& [location, value] : choiceSteps(choice))
        choose(main, location, value);

    const auto& rs = main.RSDevice();
    const auto& lr = main.LRDevice();
    const auto& es = main.ESDevice();
    const int mode = *main.Mode().selected();
    const bool motion = main.MotionInputs().value() == CheckBox::kChecked;
    const bool banks = main.DInputs().value() > 0;
    if (mode == 0) {
        EXPECT_TRUE(!banks || !motion);
    }

    EXPECT_EQ(main.MotionInputs().isEnabled(), mode == 0);
    EXPECT_EQ(main.MotionInputs().isVisible(), !banks);
    const bool periodic = main.Frequency().isSelected(0);
    EXPECT_EQ(main.Interval().isEnabled(), periodic);
    EXPECT_EQ(main.IntervalSentence().isEnabled(), periodic);
    if (mode == 1 || motion) {
        EXPECT_TRUE(main.Frequency().isSelected(2));
        EXPECT_FALSE(main.Frequency().option(0).isEnabled());
    }
    if (motion) {
        EXPECT_TRUE(main.NCNO().isSelected(1));
        EXPECT_FALSE(main.NCNO().option(0).isEnabled());
    }
    const bool switchesHidden =
        mode == 1 || mode == 3 || mode == 4 || rs.isSelected(12) || lr.isSelected(3);
    EXPECT_EQ(main.SwitchTypeFrame().isVisible(), !switchesHidden);
    EXPECT_EQ(main.FrequencyFrame().isVisible(), mode != 3);
    EXPECT_TRUE(rs.option(1).isEnabled());
    EXPECT_EQ(rs.option(12).isEnabled(), mode == 0 && !banks && !motion);
    EXPECT_EQ(lr.option(1).isEnabled(), mode != 1);
    EXPECT_EQ(es.option(1).isEnabled(), mode != 1);
    EXPECT_EQ(es.option(2).isEnabled(), mode <= 1 && !rs.isSelected(12));
    bool relayController = false;
    for (int index = 2; index <= 10; ++index)
        relayController = relayController || rs.isSelected(index);
    EXPECT_EQ(lr.option(3).isEnabled(), mode == 0 && !relayController && !motion);
    EXPECT_EQ(main.DInputs().maximum(), mode == 1 ? 0 : 32);
    if (mode == 0 && motion) {
        EXPECT_FALSE(banks);
    }
    EXPECT_EQ(main.ADBITS().isEnabled(), mode == 4);
    bool advanced = lr.isSelected(2) || es.isSelected(2) || lr.isSelected(3);
    for (const int index : {5, 6, 8, 9, 10, 12})
        advanced = advanced || rs.isSelected(index);
    EXPECT_EQ(main.MoreOptions().isEnabled(), advanced);
    if (mode == 3) {
        EXPECT_TRUE(rs.isSelected(1));
    }

    const std::string main1 = snapshot(main);
    const std::string advanced1 = snapshot(windows.advanced());
    windows.Rules();
    EXPECT_EQ(snapshot(main), main1);
    EXPECT_EQ(snapshot(windows.advanced()), advanced1);
}

TEST(RulesSweepTest, NetEffectHoldsAndARunChangesNothingMore)
{
    forEachChoice(checkChoice);
}

} // namespace
} // namespace vindle
