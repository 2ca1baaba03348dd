// Switching a pedal into its ROM monitor, waiting for the monitor's port and the handshake, on
// the wire against the simulated pedal, with the time-outs on the manual clock.
#include "support/ConnectedApp.h"

#include <gtest/gtest.h>

using Commands = std::vector<std::string>;

namespace
{
// The main component with the progress window it would open recorded instead.
class PromptRecordingApp : public ProbedMain
{
public:
    struct Prompt
    {
        juce::String title;
        juce::String message;
    };

    std::vector<Prompt> prompts;
    int closes = 0;

protected:
    using MainComponent::ShowProgress;
    void ShowProgress(const juce::String& title, const juce::String& message, float) override
    {
        prompts.push_back({ title, message });
    }
    void CloseProgress() override { ++closes; }
};

struct BootloaderFixture
{
    BootloaderFixture() : t([] { return std::make_unique<PromptRecordingApp>(); }) {}

    PromptRecordingApp& app() { return static_cast<PromptRecordingApp&>(*t.app); }

    // A connected, idle Nimbrel that is then asked to restart into its monitor; returns once
    // the wait for the monitor's port has begun (its entry step runs on the next tick).
    void startUpdate(bool reachesMonitor = true)
    {
        t.plugPedal(1, "v1.04.5.0.UNDEF.0");
        t.pedal->faults().setNeverReachesBootloader(!reachesMonitor);
        EXPECT_TRUE(t.tickUntilState(COMM_STATE_IDLE));
        t.tick();
        t.pedal->clearReceivedCommands();
        t.app->SetNextState(COMM_START_UPDATE);
        EXPECT_TRUE(t.tickUntilState(COMM_WAIT_FOR_BOOTLOADER, 3));
    }

    // After startUpdate: waits for the monitor's port and runs the tick that enters the handshake.
    void reachMonitor()
    {
        ASSERT_TRUE(t.pedal->waitForMode(PedalMode::Bootloader, std::chrono::seconds(3)));
        ASSERT_TRUE(t.tickUntilState(COMM_STATE_FOUND_BOOTLOADER, 3));
        t.tick();
    }

    ConnectedApp t;
};

juce::String timeOutText(const juce::String& name)
{
    return "Timed-out waiting for bootloader.  Please\r\ndisconnect and power-cycle your " + name
         + "\r\nthen restart the update process.";
}

const char* const kPowerCycle = "Please disconnect, power-cycle, then reconnect the device.";
}

TEST(BootloaderLink, UpdateReachesTheMonitorAndAVersionLineAfterTwoEmptyLinesCompletesTheHandshake)
{
    BootloaderFixture f;
    f.startUpdate();
    EXPECT_TRUE(f.t.app->debugLines().contains("Request bootloader..."));
    EXPECT_TRUE(f.t.app->debugLines().contains("InvokeBootloader()"));
    ASSERT_TRUE(f.t.pedal->waitForCommandCount(1, std::chrono::seconds(2)));
    EXPECT_EQ(f.t.pedal->receivedCommands(), Commands({ "Update" }));

    f.t.pedal->faults().twoLines("N#");
    ASSERT_TRUE(f.t.pedal->waitForMode(PedalMode::Bootloader, std::chrono::seconds(3)));
    ASSERT_TRUE(f.t.tickUntilState(COMM_STATE_FOUND_BOOTLOADER, 3));
    EXPECT_EQ(f.t.app->connectedDevice(), DeviceCatalogue::kBootloader);

    f.t.tick();
    EXPECT_TRUE(f.t.app->debugLines().contains("Found bootloader!"));
    EXPECT_TRUE(f.t.app->statusLines().contains("Ready to update."));
    ASSERT_TRUE(f.t.pedal->waitForCommandCount(3, std::chrono::seconds(2)));
    EXPECT_EQ(f.t.pedal->receivedCommands(), Commands({ "Update", "N#", "V#" }));

    ASSERT_TRUE(f.t.tickUntilState(COMM_VERIFY_DEVICE_PLATFORM, 5));
    EXPECT_TRUE(f.t.app->debugLines().contains("<BLUE>  UTF8:v1.2 simulated ROM monitor"));
    EXPECT_TRUE(f.t.dialogs.shown().empty());
}

TEST(BootloaderLink, ThirdStrayLineIsABadResponseAndScanningStartsAgain)
{
    BootloaderFixture f;
    f.startUpdate();
    f.t.pedal->faults().garbage("V#", "?");
    f.t.pedal->faults().twoLines("V#");
    ASSERT_TRUE(f.t.pedal->waitForMode(PedalMode::Bootloader, std::chrono::seconds(3)));
    ASSERT_TRUE(f.t.tickUntilState(COMM_STATE_FOUND_BOOTLOADER, 3));

    ASSERT_TRUE(f.t.tickUntilState(COMM_STATE_ERROR, 5));
    f.t.tick();
    EXPECT_TRUE(f.t.app->debugLines().contains("Error: Bad response from bootloader [?]"));
    EXPECT_TRUE(f.t.tickUntilState(COMM_SCAN_FOR_DEVICES, 2));
}

TEST(BootloaderLink, SilentMonitorTimesOutAndTheNextHandshakeForgivesTheEarlierStrayLines)
{
    BootloaderFixture f;
    f.startUpdate();
    f.t.pedal->faults().twoLines("N#");
    f.t.pedal->faults().silence("V#", 1);
    f.reachMonitor();
    ASSERT_TRUE(f.t.pedal->waitForCommandCount(3, std::chrono::seconds(2)));

    f.t.ticks(49);
    EXPECT_EQ(f.t.app->state(), COMM_STATE_FOUND_BOOTLOADER) << "two empty lines are tolerated";
    EXPECT_TRUE(f.t.dialogs.shown().empty());
    f.t.ticks(2);
    ASSERT_EQ(f.t.dialogs.shown().size(), 1u);
    EXPECT_EQ(f.t.dialogs.shown()[0].message, timeOutText("device"));
    ASSERT_EQ(f.app().prompts.size(), 1u);
    EXPECT_EQ(f.app().prompts[0].message, kPowerCycle);
    EXPECT_EQ(f.t.app->state(), COMM_STATE_IDLE);

    // The monitor answers now, again after two empty lines, and its version line comes a
    // little later: the two empty lines alone must not end this handshake.
    f.t.pedal->faults().late("V#", 150, 1);
    const int logStart = f.t.logText().length();
    f.t.app->SetNextState(COMM_STATE_FOUND_BOOTLOADER);
    EXPECT_TRUE(f.t.tickUntilState(COMM_VERIFY_DEVICE_PLATFORM, 40));
    EXPECT_FALSE(f.t.logText().substring(logStart).contains("Bad response from bootloader"));
}

TEST(BootloaderLink, PedalThatNeverReachesItsMonitorTimesOutAfterFiveSecondsNamingTheModel)
{
    BootloaderFixture f;
    f.startUpdate(false);

    f.t.tick();  // entry: the deadline is five seconds from now
    f.t.ticks(50);
    EXPECT_TRUE(f.t.dialogs.shown().empty());
    EXPECT_TRUE(f.app().prompts.empty());
    f.t.tick();
    ASSERT_EQ(f.t.dialogs.shown().size(), 1u);
    EXPECT_EQ(f.t.dialogs.shown()[0].title, "An error has occurred");
    EXPECT_EQ(f.t.dialogs.shown()[0].message, timeOutText("Nimbrel"));
    ASSERT_EQ(f.app().prompts.size(), 1u);
    EXPECT_EQ(f.app().prompts[0].title, "An error has occurred");
    EXPECT_EQ(f.app().prompts[0].message, kPowerCycle);
    EXPECT_EQ(f.t.app->state(), COMM_STATE_IDLE);

    // The prompt stays while idle; the presence check finds the pedal's port gone and closing
    // the link takes the prompt away.
    const int closesBefore = f.app().closes;
    f.t.tick();
    EXPECT_EQ(f.app().closes, closesBefore);
    ASSERT_TRUE(f.t.tickUntilState(COMM_SCAN_FOR_DEVICES, 25));
    EXPECT_TRUE(f.t.app->debugLines().contains("<RED>Lost connection. (1)"));
    EXPECT_GT(f.app().closes, closesBefore);
}

TEST(BootloaderLink, MonitorPortThatCannotBeOpenedTimesOutNamingTheDevice)
{
    BootloaderFixture f;
    f.startUpdate(false);
    ASSERT_TRUE(f.t.pedal->waitForMode(PedalMode::Restarting, std::chrono::seconds(2)));

    // The monitor's port is listed but its node cannot be opened; trying it closes the link to
    // the pedal, so no model is known any more.
    f.t.addPort(UsbIdentity::bootloader(), "ttyACM1", "1-2", f.t.missingNode("ttyACM1"));
    f.t.tick();
    f.t.ticks(51);
    EXPECT_EQ(f.t.app->connectedDevice(), -1);
    ASSERT_FALSE(f.t.dialogs.shown().empty());
    EXPECT_EQ(f.t.dialogs.shown().back().message, timeOutText("device"));
    EXPECT_EQ(f.app().prompts.size(), 1u);
}
