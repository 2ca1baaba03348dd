#include "support/AppProcess.h"
#include "support/TestFiles.h"
#include "updateserver/UnreachableServers.h"

#include <gtest/gtest.h>

class AppBinary : public testing::Test
{
protected:
    void SetUp() override
    {
        SKIP_WITHOUT_DISPLAY();
        UnreachableServers::writeInto(home.folder());
        ASSERT_TRUE(first.start(juce::StringArray { HV_APP_BINARY }, 0));
        window = waitForWindow("Halvane Update Tool");
        ASSERT_TRUE(window.isNotEmpty()) << "main window never appeared";
    }

    void TearDown() override { first.kill(); }

    bool logContainsWithin(const juce::String& text, int timeoutMs)
    {
        const auto deadline = juce::Time::getMillisecondCounter() + (juce::uint32) timeoutMs;
        do
        {
            if (home.logFile().loadFileAsString().contains(text))
                return true;
            juce::Thread::sleep(50);
        } while (juce::Time::getMillisecondCounter() < deadline);
        return false;
    }

    ScopedDisplayLock displayLock;
    ScopedHome home;
    juce::ChildProcess first;
    juce::String window;
};

TEST_F(AppBinary, MainWindowIsTitledAndSized)
{
    // The window is named when it is created, then sized and centred a moment later.
    const auto screen = juce::StringArray::fromTokens(runCommand({ "xdotool", "getdisplaygeometry" }).trim(), " ", "");
    ASSERT_EQ(screen.size(), 2);
    const auto centred = "Position: " + juce::String((screen[0].getIntValue() - 576) / 2) + ","
                       + juce::String((screen[1].getIntValue() - 480) / 2);
    juce::String geometry;
    const auto deadline = juce::Time::getMillisecondCounter() + 5000;
    do
        geometry = runCommand({ "xdotool", "search", "--onlyvisible", "--name", "^Halvane Update Tool$",
                                "getwindowgeometry" });
    while (!(geometry.contains("Geometry: 576x480") && geometry.contains(centred))
           && juce::Time::getMillisecondCounter() < deadline);
    EXPECT_TRUE(geometry.contains("Geometry: 576x480")) << geometry;
    EXPECT_TRUE(geometry.contains(centred)) << centred << " expected in " << geometry;

    const auto shot = juce::File(HV_BUILD_DIR).getChildFile("screenshots/main-window.png");
    shot.getParentDirectory().createDirectory();
    runCommand({ "import", "-window", "root", shot.getFullPathName() }, 10000);
    EXPECT_GT(shot.getSize(), 0);
}

TEST_F(AppBinary, SecondStartExitsAtOnceAndTheFirstWarnsWithItsCommandLine)
{
    ASSERT_TRUE(logContainsWithin("  576 x 480 px", 5000));
    const auto before = home.logFile().loadFileAsString();

    juce::ChildProcess second;
    const auto started = juce::Time::getMillisecondCounter();
    ASSERT_TRUE(second.start(juce::StringArray { HV_APP_BINARY, "second-start-marker", "two words" }, 0));
    ASSERT_TRUE(second.waitForProcessToFinish(3000)) << "second instance kept running";
    EXPECT_LT(juce::Time::getMillisecondCounter() - started, 3000u);
    EXPECT_EQ(second.getExitCode(), 0u);
    EXPECT_TRUE(first.isRunning());

    ASSERT_TRUE(logContainsWithin("WarnMultipleAppInstance( second-start-marker \"two words\" )", 5000));
    const auto added = home.logFile().loadFileAsString().substring(before.length());
    // The running instance goes on scanning meanwhile; of the second start it logs exactly these
    // two records, one right after the other.
    const auto lines = juce::StringArray::fromLines(added.trimEnd());
    int first = -1;
    for (int i = 0; i < lines.size() && first < 0; ++i)
        if (lines[i].endsWith(":\tanotherInstanceStarted()"))
            first = i;
    ASSERT_GE(first, 0) << added;
    ASSERT_LT(first + 1, lines.size()) << added;
    EXPECT_TRUE(lines[first + 1].endsWith(":\tWarnMultipleAppInstance( second-start-marker \"two words\" )")) << added;
    EXPECT_EQ(added.indexOf("anotherInstanceStarted()"), added.lastIndexOf("anotherInstanceStarted()"));

    EXPECT_TRUE(waitForWindow("Warning", 5000).isNotEmpty());
    // The first window is still there and still shown.
    EXPECT_EQ(runCommand({ "xdotool", "search", "--onlyvisible", "--name", "^Halvane Update Tool$" }).trim(), window);
}

TEST_F(AppBinary, StartAfterTheFirstHasGoneRunsNormally)
{
    first.kill();
    first.waitForProcessToFinish(5000);
    ASSERT_TRUE(first.start(juce::StringArray { HV_APP_BINARY }, 0));
    EXPECT_TRUE(waitForWindow("Halvane Update Tool").isNotEmpty());
    EXPECT_FALSE(home.logFile().loadFileAsString().contains("anotherInstanceStarted()"));
}
