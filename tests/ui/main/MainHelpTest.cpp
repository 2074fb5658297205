#include "ui/main/MainHelp.h"

#include "ui/main/ConfigWindows.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace vindle {
namespace {

class MainHelpTest : public ::testing::Test
{
protected:
    ConfigWindows windows;
    MainWindow& main = windows.mainWindow();

    std::string help() const { return main.HELP().caption(); }
    static bool startsWith(const std::string& text, const std::string& start)
    {
        return text.rfind(start, 0) == 0;
    }
};

TEST_F(MainHelpTest, StartsWithTheInvitation)
{
    EXPECT_EQ(help(), "Move Your Mouse Over Different Options for a More Detailed Explanation");
}

TEST_F(MainHelpTest, OptionsGiveTheirOwnText)
{
    main.Mode().option(0).mouseOver();
    EXPECT_EQ(help(), "This mode of operation reads data from the Vindle Module and communicates "
                      "these data to a remote Zeto Device or Computer via Wireless or RS-232 "
                      "Communications.  This is the most commonly used mode of operation for "
                      "this device.");
    main.RSDevice().option(9).mouseOver();
    EXPECT_TRUE(startsWith(help(), "When this option is selected, the vindle module will read "
                                   "inputs and generate control commands capable of controlling "
                                   "up to 512 relays.  This option is compatible with the "
                                   "Zenthor series relay controllers."));
    main.ModeFrame().mouseOver();
    EXPECT_EQ(help(), "Select a mode of operation for this Vindle Module.");
    main.StoreSettings().mouseOver();
    EXPECT_EQ(help(), "This button stores the above settings into the vindle module.");
}

TEST_F(MainHelpTest, HiddenAndUnlistedControlsLeaveTheTextAlone)
{
    main.Frequency().option(2).mouseOver();
    const std::string shown = help();
    EXPECT_EQ(shown, "This option tells the vindle module to send data when it has detected a "
                     "change.  This is the best setting for most configurations.");
    const std::vector<const Control*> silent{&main.RSDevice().option(11),
                                             &main.NCNO().option(0),
                                             &main.Baud().option(3),
                                             &main.DInputs(),
                                             &main.InputBanksValue(),
                                             &main.CapabilitiesFrame(),
                                             &main.FrequencyFrame(),
                                             &main.Rs232Frame(),
                                             &main.LrFrame(),
                                             &main.MoreOptions(),
                                             &main.ADBITS(),
                                             &main.GetVersion(),
                                             &main.HELP()};
    for (const Control* control : silent) {
        control->mouseOver();
        EXPECT_EQ(help(), shown) << control->name() << "(" << control->index() << ")";
    }
}

TEST_F(MainHelpTest, SharedTextsAndNoSideEffects)
{
    main.Keys(2).mouseOver();
    const std::string keys = help();
    EXPECT_TRUE(startsWith(keys, "Each of these fields must contain a number from 0-255."));
    main.InputBanksFrame().mouseOver();
    main.KeysCaption().mouseOver();
    EXPECT_EQ(help(), keys);

    main.LrBitRateFrame().mouseOver();
    const std::string bitRate = help();
    main.InputBanksFrame().mouseOver();
    main.EsBitRateFrame().mouseOver();
    EXPECT_EQ(help(), bitRate);

    main.ESKeys().mouseOver();
    const std::string sendKeys = help();
    main.InputBanksFrame().mouseOver();
    main.LRKeys().mouseOver();
    EXPECT_EQ(help(), sendKeys);

    // Pointing selects nothing.
    main.Mode().option(3).mouseOver();
    EXPECT_EQ(main.Mode().selected(), 0);
}

TEST_F(MainHelpTest, InputSourceHelpFollowsTheLabelCaption)
{
    main.InputSource().mouseOver();
    EXPECT_TRUE(startsWith(help(), "Processor Inputs:  This Means"));
    main.DInputs().setValue(2);
    main.InputSource().mouseOver();
    EXPECT_TRUE(startsWith(help(), "External Inputs:  This Means"));
    // The caption decides, not the slider.
    main.InputSource().setCaption("Processor Inputs");
    main.InputSource().mouseOver();
    EXPECT_TRUE(startsWith(help(), "Processor Inputs:  This Means"));
}

TEST(MainHelpTextTest, TheTwoQ4tTextsDiffer)
{
    MainWindow main;
    const auto box = mainHelpText(main.Q4T());
    const auto label = mainHelpText(main.NumberCaption());
    ASSERT_TRUE(box && label);
    EXPECT_NE(*box, *label);
    EXPECT_FALSE(mainHelpText(main.DebounceValue()));
}

} // namespace
} // namespace vindle
