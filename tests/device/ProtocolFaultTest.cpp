// The command protocol against a pedal that misbehaves: odd replies, silence and unplugging in
// the middle of every exchange. Whatever happens, the machine ends in a state that goes on.
#include "support/ConnectedApp.h"

#include <gtest/gtest.h>

using Commands = std::vector<std::string>;

namespace
{
const std::string kPingPongFirmware = "v1.04.5.0.UNDEF.0";

int occurrences(const juce::String& text, const juce::String& part)
{
    int found = 0;
    for (int at = text.indexOf(part); at >= 0; at = text.indexOf(at + 1, part))
        ++found;
    return found;
}

size_t countOf(const Commands& commands, const std::string& command)
{
    return (size_t) std::count(commands.begin(), commands.end(), command);
}
}

TEST(ProtocolFaults, OptionRepliesWithForeignOrUnknownPrefixesChangeNothingAndTheChainGoesOn)
{
    ConnectedApp t;
    auto& pedal = t.plugPedal(1, kPingPongFirmware);
    auto options = pedal.options();
    options.dryKill = 2;
    pedal.setOptions(options);
    pedal.faults().garbage("GetMCh", "BmpMode:01", 1);  // the answer to another command
    pedal.faults().garbage("GetBPM", "Tempo:01", 1);
    ASSERT_TRUE(t.tickUntilState(COMM_STATE_IDLE));
    EXPECT_EQ(pedal.receivedCommands(), Commands({ "Version", "Serial", "GetMCh", "GetBPM", "GetDrK", "GetPng" }));
    EXPECT_EQ(t.app->optionValue(AppCommon::kMidiChannel), 0);
    EXPECT_EQ(t.app->optionValue(AppCommon::kBpmMode), 0);
    EXPECT_EQ(t.app->optionValue(AppCommon::kDryKill), 2);
    EXPECT_TRUE(t.logText().contains("<BLUE>  rx:BmpMode:01"));
    EXPECT_TRUE(t.logText().contains("<BLUE>  rx state: COMM_GET_MIDI_CHANNEL"));
}

TEST(ProtocolFaults, AnEmptyLineIsNoReplyAndTheCommandIsSentAgain)
{
    ConnectedApp t;
    auto& pedal = t.plugPedal(1, kPingPongFirmware);
    pedal.faults().garbage("Version", "", 1);
    ASSERT_TRUE(t.tickUntilState(COMM_STATE_IDLE, 300));
    EXPECT_EQ(pedal.receivedCommands(),
              Commands({ "Version", "Version", "Serial", "GetMCh", "GetBPM", "GetDrK", "GetPng" }));
    EXPECT_EQ(t.app->deviceVersion().toString(), "v1.04.005.0.UNDEF.00");
}

TEST(ProtocolFaults, MalformedUtf8IsReplacedNotRejected)
{
    ConnectedApp t;
    auto& pedal = t.plugPedal(2, "v1.02.0.0.UNDEF.0");
    pedal.faults().garbage("Serial", "HV\xFF\xFE" "01", 1);
    ASSERT_TRUE(t.tickUntilState(COMM_STATE_IDLE));
    EXPECT_EQ(t.app->serialNumber(), juce::String(juce::CharPointer_UTF8("HV\xef\xbf\xbd\xef\xbf\xbd" "01")));
}

TEST(ProtocolFaults, AVersionReplyThatIsNoVersionLeavesTheVersionUnknownAndTheConnectionGoesOn)
{
    ConnectedApp t;
    t.app->setAvailableVersion(1, kPingPongFirmware);
    t.app->settings()->setValue("nimbrelActiveVersion", "v1.03.000.0.UNDEF.00");
    auto& pedal = t.plugPedal(1, kPingPongFirmware);
    pedal.faults().garbage("Version", "HV0000001", 1);
    ASSERT_TRUE(t.tickUntilState(COMM_STATE_IDLE));
    EXPECT_TRUE(t.app->deviceVersion().isZero());
    EXPECT_EQ(t.app->settings()->getValue("nimbrelActiveVersion"), "v1.03.000.0.UNDEF.00");
    // Only the options every firmware has are asked for.
    EXPECT_EQ(pedal.receivedCommands(), Commands({ "Version", "Serial", "GetMCh", "GetBPM" }));
    EXPECT_EQ(t.app->ConnectionStatusText(), "Nimbrel | Firmware v-.--.--- | S/N HV0000001");
    EXPECT_EQ(t.app->m_btnUpdate.getButtonText(), "UPDATE");
    EXPECT_FALSE(t.app->m_btnUpdate.isEnabled());
}

TEST(ProtocolFaults, UnansweredOptionReadIsTriedThreeTimesTwoSecondsApartThenIdle)
{
    ConnectedApp t;
    auto& pedal = t.plugPedal(1, kPingPongFirmware);
    pedal.faults().silence("GetBPM");
    ASSERT_TRUE(t.tickUntilState(COMM_GET_BPM_MODE));
    t.tick();
    EXPECT_EQ(countOf(pedal.receivedCommands(), "GetBPM"), 1u);
    t.ticks(19);
    EXPECT_EQ(countOf(pedal.receivedCommands(), "GetBPM"), 1u);
    t.ticks(1);
    EXPECT_EQ(countOf(pedal.receivedCommands(), "GetBPM"), 2u);
    t.ticks(20);
    EXPECT_EQ(countOf(pedal.receivedCommands(), "GetBPM"), 3u);
    EXPECT_EQ(t.app->state(), COMM_GET_BPM_MODE);
    t.ticks(20);
    EXPECT_EQ(t.app->state(), COMM_STATE_IDLE);
    t.ticks(5);
    EXPECT_EQ(pedal.receivedCommands(), Commands({ "Version", "Serial", "GetMCh", "GetBPM", "GetBPM", "GetBPM" }));
    EXPECT_TRUE(t.dialogs.shown().empty());
}

TEST(ProtocolFaults, UnansweredSerialBecomesNone)
{
    ConnectedApp t;
    auto& pedal = t.plugPedal(3, "v1.01.0.0.UNDEF.0");
    pedal.faults().silence("Serial");
    ASSERT_TRUE(t.tickUntilState(COMM_STATE_REQUEST_SERIAL));
    ASSERT_TRUE(t.tickUntilState(COMM_STATE_IDLE, 70));
    EXPECT_EQ(countOf(pedal.receivedCommands(), "Serial"), 3u);
    EXPECT_EQ(t.app->serialNumber(), "None");
    EXPECT_TRUE(t.logText().contains("- None"));
    EXPECT_EQ(t.app->ConnectionStatusText(), "Nightcrest | Firmware v1.01.000 | S/N None");
}

TEST(ProtocolFaults, FactoryResetTimeoutIsReportedAndRetriedInRoundsOfThree)
{
    ConnectedApp t;
    auto& pedal = t.plugPedal(1, kPingPongFirmware);
    ASSERT_TRUE(t.tickUntilState(COMM_STATE_IDLE));
    pedal.faults().silence("Factory");
    pedal.clearReceivedCommands();
    t.app->SetNextState(COMM_FACTORY_RESET);
    t.ticks(2);
    EXPECT_EQ(pedal.receivedCommands(), Commands({ "Factory" }));
    t.ticks(99, 1);
    EXPECT_EQ(pedal.receivedCommands().size(), 1u);  // ten seconds per attempt
    for (int round = 1; round <= 2; ++round)
    {
        SCOPED_TRACE(round);
        t.ticks(round == 1 ? 201 : 300, 1);
        pedal.waitForCommandCount(1u + 3u * (size_t) round, std::chrono::seconds(2));
        EXPECT_EQ(countOf(pedal.receivedCommands(), "Factory"), 1u + 3u * (size_t) round);
        EXPECT_EQ(occurrences(t.logText(), "<RED>Factory reset timeout"), round);
        EXPECT_EQ(t.app->state(), COMM_FACTORY_RESET);
    }
}

TEST(ProtocolFaults, PedalUnpluggedInTheMiddleOfEachExchangeEndsInScanning)
{
    const std::vector<std::string> exchange = { "Version", "Serial", "GetMCh", "GetBPM", "GetDrK", "GetPng" };
    for (size_t n = 1; n <= exchange.size(); ++n)
    {
        SCOPED_TRACE(exchange[n - 1]);
        ConnectedApp t;
        auto& pedal = t.plugPedal(1, kPingPongFirmware);
        pedal.faults().unplugAfterCommands((int) n);
        ASSERT_TRUE(t.tickUntilState(COMM_STATE_REQUEST_VERSION));
        ASSERT_TRUE(t.tickUntilState(COMM_SCAN_FOR_DEVICES, 120));
        t.ticks(3);
        EXPECT_EQ(t.app->connectedDevice(), -1);
        EXPECT_EQ(t.app->ConnectionStatusText(), "No device connected.");
        EXPECT_EQ(pedal.receivedCommands(), Commands(exchange.begin(), exchange.begin() + (long) n));
        EXPECT_TRUE(t.dialogs.shown().empty());
        EXPECT_TRUE(t.logText().contains("<RED>Disconnected."));

        pedal.plug();  // and it comes back
        EXPECT_TRUE(t.tickUntilState(COMM_STATE_IDLE, 200));
    }
}

TEST(ProtocolFaults, PedalUnpluggedDuringFactoryResetEndsInScanning)
{
    ConnectedApp t;
    auto& pedal = t.plugPedal(2, "v1.02.0.0.UNDEF.0");
    ASSERT_TRUE(t.tickUntilState(COMM_STATE_IDLE));
    pedal.faults().unplugAfterCommands(1);
    t.app->SetNextState(COMM_FACTORY_RESET);
    ASSERT_TRUE(t.tickUntilState(COMM_SCAN_FOR_DEVICES, 250));
    EXPECT_EQ(pedal.receivedCommands().back(), "Factory");
    EXPECT_EQ(t.app->connectedDevice(), -1);
    EXPECT_TRUE(t.dialogs.shown().empty());
}
