#include "PedalFixture.h"

using namespace std::chrono_literals;

class PedalFaultTest : public PedalFixture
{
protected:
    void SetUp() override
    {
        makePedal(1, "v1.04.5.0.UNDEF.0");
        plugAndOpen();
    }
};

TEST_F(PedalFaultTest, SilencedCommandIsLostForItsCountThenAnswered)
{
    pedal->faults().silence("Version", 2);
    EXPECT_EQ(ask("Version", 100ms), PortClient::kTimeout);
    EXPECT_EQ(ask("Version", 100ms), PortClient::kTimeout);
    EXPECT_EQ(ask("Version"), "v1.04.5.0.UNDEF.0");
    EXPECT_EQ(pedal->receivedCommands().size(), 3u);

    pedal->faults().silence("");
    client->write("SetMCh07");
    EXPECT_EQ(ask("GetMCh", 100ms), PortClient::kTimeout);
    EXPECT_EQ(pedal->options().midiChannel, 0);  // a lost Set changes nothing
}

TEST_F(PedalFaultTest, LateReplyComesAfterItsDelay)
{
    pedal->faults().late("Serial", 300, 1);
    client->write("Serial");
    EXPECT_EQ(client->readLine(200ms), PortClient::kTimeout);
    EXPECT_EQ(client->readLine(1s), "HV0000001");
}

TEST_F(PedalFaultTest, TwoLinesAndGarbageChangeOnlyTheAnswer)
{
    pedal->faults().twoLines("Version", 1);
    client->write("Version");
    EXPECT_EQ(client->readFor(100ms), "v1.04.5.0.UNDEF.0\r\nv1.04.5.0.UNDEF.0\r\n");

    pedal->faults().garbage("GetMCh", "#!ERR", 1);
    EXPECT_EQ(ask("GetMCh"), "#!ERR");
    EXPECT_EQ(ask("GetMCh"), "MidiCh:00");
}

TEST_F(PedalFaultTest, BadChecksumFailsTheParseOnceAndTheRetryIsGood)
{
    pedal->faults().badChecksum("Preset07", 1);
    Preset parsed;
    EXPECT_FALSE(parsed.ParseSerialized(juce::String(ask("Preset07")), 7, 1));
    EXPECT_TRUE(parsed.ParseSerialized(juce::String(ask("Preset07")), 7, 1));
}

TEST_F(PedalFaultTest, RepeatGoMakesTheComputerSendTheLineAgain)
{
    pedal->faults().repeatGo(2);
    Preset written(nullptr, 1);
    written.SetName("Again");
    const auto line = written.BuildSendLine(1).toStdString();
    EXPECT_EQ(ask("StPrst"), "GO");
    EXPECT_EQ(ask(line), "GO");
    EXPECT_EQ(ask(line), "GO");
    EXPECT_NE(pedal->preset(1).GetDisplayName(), "Again");
    EXPECT_EQ(ask(line), "OK");
    EXPECT_EQ(pedal->preset(1).GetDisplayName(), "Again");
}

TEST_F(PedalFaultTest, UnplugAfterCommandsDropsThePortOnTheNthWithoutAnswering)
{
    pedal->faults().unplugAfterCommands(2);
    EXPECT_EQ(ask("Version"), "v1.04.5.0.UNDEF.0");
    client->write("Serial");
    EXPECT_TRUE(client->waitForHangup(1s));
    EXPECT_TRUE(pedal->waitForMode(PedalMode::Unplugged, 1s));
    EXPECT_EQ(pedal->receivedCommands(), (std::vector<std::string> { "Version", "Serial" }));
}

TEST_F(PedalFaultTest, UnplugWhileAReplyIsInFlightSendsNothingToTheNextPort)
{
    pedal->faults().late("Version", 200, 1);
    client->write("Version");
    pedal->unplug();
    pedal->plug();
    open();
    EXPECT_EQ(client->readLine(400ms), PortClient::kTimeout);
}

TEST_F(PedalFaultTest, PedalThatNeverReachesItsBootloaderStaysGone)
{
    pedal->faults().setNeverReachesBootloader(true);
    client->write("Update");
    EXPECT_TRUE(client->waitForHangup(1s));
    EXPECT_FALSE(pedal->waitForMode(PedalMode::Bootloader, 1s));
    EXPECT_EQ(pedal->mode(), PedalMode::Restarting);
    EXPECT_FALSE(std::filesystem::exists(sys() / "class/tty/ttyACM0"));
}
