#include "app/Clock.h"
#include "support/TestFiles.h"
#include "ui/MainComponent.h"

#include <gtest/gtest.h>

class ScreenLog : public testing::Test
{
protected:
    void SetUp() override
    {
        SKIP_WITHOUT_DISPLAY();
        main = std::make_unique<MainComponent>();
        startLines = main->debugLines().size();
        log.mark();
    }

    // Screen lines added since construction.
    juce::StringArray newLines() const
    {
        juce::StringArray lines(main->debugLines());
        lines.removeRange(0, startLines);
        return lines;
    }

    std::string newBytes() const { return log.added(); }

    ScopedHome home;
    Clock::ScopedManualClock clock { 0x1'00000010ll };
    std::unique_ptr<MainComponent> main;
    int startLines = 0;
    LogTail log { home.logFile() };
};

TEST_F(ScreenLog, ConstructionShowsTheSystemHeaderOnScreen)
{
    const auto& lines = main->debugLines();
    ASSERT_GE(lines.size(), 8);
    const int first = lines.size() - 8;
    EXPECT_EQ(lines[first + 1], "System:");
    EXPECT_EQ(lines[first + 4], "Application:");
    EXPECT_EQ(lines[first + 5], "  HV Platform Updater (v1.04.011.0.master)");
    EXPECT_EQ(lines[first + 6], "  576 x 480 px");
    EXPECT_EQ(lines[first + 7], juce::String::repeatedString("=", 61));
}

TEST_F(ScreenLog, PlainAppendGoesToFileAndScreenSplitIntoLines)
{
    main->logMessage("<BLUE>one\r\ntwo", false);
    EXPECT_EQ(newLines(), juce::StringArray({ "<BLUE>one", "two" }));
    EXPECT_EQ(newBytes(), "0x00000010:\t<BLUE>one{\\r}{\\n}two\n");
}

TEST_F(ScreenLog, ReplaceLastWithTheSameTextChangesNothing)
{
    main->logMessage("t", false);
    main->logMessage("t", true);
    EXPECT_EQ(newLines(), juce::StringArray({ "t" }));
    EXPECT_EQ(newBytes(), "0x00000010:\tt\n");
}

TEST_F(ScreenLog, ReplaceLastSwapsTheScreenLineAndWritesNothing)
{
    main->logMessage("a", false);
    main->logMessage("b", true);
    main->logMessage("c", true);
    EXPECT_EQ(newLines(), juce::StringArray({ "c" }));
    EXPECT_EQ(newBytes(), "0x00000010:\ta\n");
}

TEST_F(ScreenLog, KeptLastLineMakesTheNextReplaceAnAppendOnce)
{
    main->logMessage("Page 10 of 10", false);
    main->keepLastLogLine();
    main->logMessage("Done", true);
    main->logMessage("Done again", true);
    EXPECT_EQ(newLines(), juce::StringArray({ "Page 10 of 10", "Done again" }));
    EXPECT_EQ(newBytes(), "0x00000010:\tPage 10 of 10\n0x00000010:\tDone\n");
}

TEST_F(ScreenLog, KeptLastLineAppendsEvenTheSameText)
{
    main->logMessage("same", false);
    main->keepLastLogLine();
    main->logMessage("same", true);
    EXPECT_EQ(newLines(), juce::StringArray({ "same", "same" }));
}

TEST_F(ScreenLog, StatusLinesAreKeptInOrderAndNeverLogged)
{
    main->setStatusLine("Page 1", false);
    main->setStatusLine("Page 2", true);
    EXPECT_EQ(main->statusLines(), juce::StringArray({ "Page 1", "Page 2" }));
    EXPECT_EQ(newBytes(), "");
}
