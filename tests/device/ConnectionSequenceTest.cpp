// The connection sequence on the wire, against the simulated pedal.
#include "support/ConnectedApp.h"

#include <gtest/gtest.h>

using Commands = std::vector<std::string>;

namespace
{
Commands connectAndSettle(ConnectedApp& t, int model, const std::string& version)
{
    t.plugPedal(model, version);
    EXPECT_TRUE(t.tickUntilState(COMM_STATE_REQUEST_VERSION));
    EXPECT_TRUE(t.tickUntilState(COMM_STATE_IDLE));
    t.ticks(3);
    return t.pedal->receivedCommands();
}
}

TEST(ConnectionSequence, NimbrelWithPingPongGetsEveryOptionRead)
{
    ConnectedApp t;
    const auto commands = connectAndSettle(t, 1, "v1.04.5.0.UNDEF.0");
    EXPECT_EQ(commands, Commands({ "Version", "Serial", "GetMCh", "GetBPM", "GetDrK", "GetPng" }));
    EXPECT_EQ(t.app->connectedDevice(), 1);
    EXPECT_EQ(t.app->deviceVersion().toString(), "v1.04.005.0.UNDEF.00");
    EXPECT_EQ(t.app->serialNumber(), "HV0000001");
    EXPECT_EQ(t.app->ConnectionStatusText(), "Nimbrel | Firmware v1.04.005 | S/N HV0000001");
}

TEST(ConnectionSequence, OlderNimbrelIsNotAskedForPingPong)
{
    ConnectedApp t;
    EXPECT_EQ(connectAndSettle(t, 1, "v1.03.0.0.UNDEF.0"), Commands({ "Version", "Serial", "GetMCh", "GetBPM", "GetDrK" }));
}

TEST(ConnectionSequence, EmbervaleHasNoTempoOrPingPongOption)
{
    ConnectedApp t;
    EXPECT_EQ(connectAndSettle(t, 2, "v1.02.0.0.UNDEF.0"), Commands({ "Version", "Serial", "GetMCh", "GetDrK" }));
}

TEST(ConnectionSequence, DiscoveryLogsTheFoundPedalAndTheOpenedPort)
{
    ConnectedApp t;
    t.plugPedal(1, "v1.04.5.0.UNDEF.0");
    ASSERT_TRUE(t.tickUntilState(COMM_STATE_REQUEST_VERSION, 12));  // every row is probed within four ticks
    const auto log = t.logText();
    EXPECT_TRUE(log.contains(":\t  Nimbrel\n"));
    EXPECT_TRUE(log.contains("<GREY>Opened " + juce::String((t.devDir() / "ttyACM0").string())));
    EXPECT_TRUE(log.contains("=== Found Nimbrel ==="));
    EXPECT_TRUE(log.contains("Nimbrel connected."));
}

TEST(ConnectionSequence, OptionRepliesUpdateTheHeldValues)
{
    ConnectedApp t;
    t.plugPedal(1, "v1.04.5.0.UNDEF.0");
    auto options = t.pedal->options();
    options.midiChannel = 10;
    options.dryKill = 2;
    t.pedal->setOptions(options);
    ASSERT_TRUE(t.tickUntilState(COMM_STATE_IDLE));
    t.ticks(3);
    EXPECT_EQ(t.app->optionValue(AppCommon::kMidiChannel), 10);
    EXPECT_EQ(t.app->optionValue(AppCommon::kDryKill), 2);
    EXPECT_TRUE(t.logText().contains("Update MidiCh: 10"));

    // The settings panel shows the reported values without sending them back.
    auto& panel = t.app->m_settingsPanel;
    EXPECT_EQ(panel.m_cbxMidiChannel.getSelectedId(), 11);
    EXPECT_EQ(panel.m_cbxDryKill.getSelectedId(), 3);
    EXPECT_EQ(panel.m_cbxBpmMode.getSelectedId(), 1);
    EXPECT_EQ(t.pedal->receivedCommands(), Commands({ "Version", "Serial", "GetMCh", "GetBPM", "GetDrK", "GetPng" }));
    EXPECT_TRUE(t.logText().contains("   m_bIgnoreChannelSet: 1"));
}

TEST(ConnectionSequence, SilentPedalGetsThreeVersionRequestsThenTheAlert)
{
    ConnectedApp t;
    auto& pedal = t.plugPedal(1, "v1.04.5.0.UNDEF.0");
    pedal.faults().silence("Version", -1);
    ASSERT_TRUE(t.tickUntilState(COMM_STATE_REQUEST_VERSION));
    t.ticks(1);
    EXPECT_EQ(pedal.receivedCommands(), Commands({ "Version" }));
    t.ticks(20);
    EXPECT_EQ(pedal.receivedCommands(), Commands({ "Version", "Version" }));
    t.ticks(20);
    EXPECT_EQ(pedal.receivedCommands(), Commands({ "Version", "Version", "Version" }));
    EXPECT_TRUE(t.dialogs.shown().empty());
    t.ticks(20);
    ASSERT_EQ(t.dialogs.shown().size(), 1u);
    EXPECT_EQ(t.dialogs.shown()[0].message,
              "Unable to communicate with the device.\r\n\r\nPlease disconnect and power-cycle your Nimbrel\r\nbefore "
              "attempting to connect again.");
    EXPECT_TRUE(t.tickUntilState(COMM_ERROR_SCAN_FOR_DISCONNECT, 5));
    t.ticks(10);
    EXPECT_EQ(t.app->state(), COMM_ERROR_SCAN_FOR_DISCONNECT);  // stays until the port goes
    t.pedal->unplug();
    EXPECT_TRUE(t.tickUntilState(COMM_SCAN_FOR_DEVICES, 5));
}

TEST(ConnectionSequence, TwoLinesInOneBurstKeepOnlyTheFirst)
{
    ConnectedApp t;
    auto& pedal = t.plugPedal(1, "v1.04.5.0.UNDEF.0");
    pedal.faults().twoLines("Version", 1);
    ASSERT_TRUE(t.tickUntilState(COMM_STATE_IDLE));
    EXPECT_EQ(t.app->deviceVersion().toString(), "v1.04.005.0.UNDEF.00");
    EXPECT_EQ(t.app->serialNumber(), "HV0000001");
}

TEST(ConnectionSequence, UnplugWhileIdleReportsTheLostDeviceAndScansAgain)
{
    ConnectedApp t;
    t.plugPedal(1, "v1.04.5.0.UNDEF.0");
    ASSERT_TRUE(t.tickUntilState(COMM_STATE_IDLE));
    t.pedal->unplug();
    ASSERT_TRUE(t.tickUntilState(COMM_SCAN_FOR_DEVICES, 30));  // the presence check runs every 20 ticks
    EXPECT_TRUE(t.logText().contains("<RED>Lost connection. (1)"));
    EXPECT_EQ(t.app->timerIntervalMs(), 2000);
    t.tick();
    EXPECT_EQ(t.app->timerIntervalMs(), 100);  // the scan's entry step sets its own pace again
    EXPECT_EQ(t.app->connectedDevice(), -1);
}

TEST(ConnectionSequence, ExpectedDisconnectIsNotAnnounced)
{
    ConnectedApp t;
    t.plugPedal(1, "v1.04.5.0.UNDEF.0");
    ASSERT_TRUE(t.tickUntilState(COMM_STATE_IDLE));
    t.tick();  // the idle entry step has shown "Device connected."
    t.app->SuppressConnectionMessages(1);
    const int logBefore = t.logText().length();
    t.pedal->unplug();
    ASSERT_TRUE(t.tickUntilState(COMM_SCAN_FOR_DEVICES, 30));
    const auto logAfter = t.logText().substring(logBefore);
    EXPECT_TRUE(logAfter.contains("delete port"));
    EXPECT_FALSE(logAfter.contains("<RED>Disconnected."));
    EXPECT_EQ(t.app->silentDisconnects(), 0);
}
