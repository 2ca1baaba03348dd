#include "PedalFixture.h"

#include "device/DeviceCatalogue.h"

using namespace std::chrono_literals;
namespace fs = std::filesystem;

namespace
{
constexpr const char* kUsbDevice = "devices/pci0000:00/0000:00:14.0/usb1/1-1";
}

class SimulatedPedalTest : public PedalFixture
{
};

TEST_F(SimulatedPedalTest, PluggedPedalIsLaidOutAsAUsbSerialDeviceAndIdentifiesItself)
{
    PedalSettings settings;
    settings.serial = "HV1234567";
    makePedal(1, "v1.04.5.0.UNDEF.0", settings);
    plugAndOpen();

    const fs::path device = sys() / kUsbDevice;
    EXPECT_EQ(readText(device / "idVendor"), "7a5c\n");
    EXPECT_EQ(readText(device / "idProduct"), "b301\n");
    EXPECT_EQ(readText(device / "product"), "Nimbrel\n");
    EXPECT_EQ(readText(device / "serial"), "HV1234567\n");
    EXPECT_EQ(readText(device / "1-1:1.2/bInterfaceNumber"), "02\n");
    EXPECT_EQ(readText(device / "1-1:1.2/tty/ttyACM0/dev"), "166:0\n");
    const fs::path classEntry = sys() / "class/tty/ttyACM0";
    EXPECT_EQ(fs::canonical(classEntry / "device"), fs::canonical(device / "1-1:1.2"));
    EXPECT_EQ(fs::read_symlink(root / "dev/ttyACM0").string(), pedal->ptyPath());
    EXPECT_EQ(pedal->devicePath(), (root / "dev/ttyACM0").string());

    EXPECT_EQ(ask("Version"), "v1.04.5.0.UNDEF.0");
    EXPECT_EQ(ask("Serial"), "HV1234567");
    EXPECT_EQ(pedal->receivedCommands(), (std::vector<std::string> { "Version", "Serial" }));
    EXPECT_EQ(pedal->mode(), PedalMode::Application);
}

TEST_F(SimulatedPedalTest, EachModelUsesItsCatalogueProductId)
{
    for (int model : { 2, 3 })
    {
        makePedal(model, "v1.01.0.0.UNDEF.0");
        pedal->plug();
        const auto pid = DeviceCatalogue::rows({}, {})[static_cast<size_t>(model)].pid.toLowerCase();
        EXPECT_EQ(readText(sys() / kUsbDevice / "idProduct"), pid.toStdString() + "\n");
        TearDown();
    }
}

TEST_F(SimulatedPedalTest, CommandsWithoutTerminatorAndLineEndingsAreSplitAndUnknownBytesRecorded)
{
    makePedal(1, "v1.04.5.0.UNDEF.0");
    plugAndOpen();
    client->write("GetMChGetBPM");
    EXPECT_EQ(client->readLine(), "MidiCh:00");
    EXPECT_EQ(client->readLine(), "BmpMode:00");
    client->write("Version\r\nhello\r\n");
    EXPECT_EQ(client->readLine(), "v1.04.5.0.UNDEF.0");
    ASSERT_TRUE(pedal->waitForCommandCount(4, 1s));
    EXPECT_EQ(pedal->receivedCommands(), (std::vector<std::string> { "GetMCh", "GetBPM", "Version", "hello" }));
    EXPECT_EQ(client->readFor(50ms), "");  // nothing answers unknown text
}

TEST_F(SimulatedPedalTest, OptionsAreSetWithinTheirRangesAndReadBackInHex)
{
    makePedal(1, "v1.04.5.0.UNDEF.0");
    plugAndOpen();
    client->write("SetMCh0A");
    EXPECT_EQ(ask("GetMCh"), "MidiCh:0A");
    client->write("SetMCh20");  // out of range: refused
    EXPECT_EQ(ask("GetMCh"), "MidiCh:0A");
    client->write("SetMChFF");
    EXPECT_EQ(ask("GetMCh"), "MidiCh:FF");
    client->write("SetBPM01");
    EXPECT_EQ(ask("GetBPM"), "BmpMode:01");
    client->write("SetDrK03");
    EXPECT_EQ(ask("GetDrK"), "DryKill:00");
    client->write("SetDrK02");
    EXPECT_EQ(ask("GetDrK"), "DryKill:02");
    client->write("SetPng01");
    EXPECT_EQ(ask("GetPng"), "PingPong:01");
    const PedalOptions options = pedal->options();
    EXPECT_EQ(options.midiChannel, 255);
    EXPECT_EQ(options.bpmMode, 1);
    EXPECT_EQ(options.dryKill, 2);
    EXPECT_EQ(options.pingPong, 1);
}

TEST_F(SimulatedPedalTest, OptionsMissingFromAModelOrVersionAreNotAnswered)
{
    makePedal(1, "v1.04.4.0.UNDEF.0");
    plugAndOpen();
    EXPECT_EQ(ask("GetPng", 100ms), PortClient::kTimeout);
    EXPECT_EQ(ask("GetDrK"), "DryKill:00");
    TearDown();

    makePedal(2, "v1.00.9.0.UNDEF.0");
    plugAndOpen();
    EXPECT_EQ(ask("GetBPM", 100ms), PortClient::kTimeout);
    EXPECT_EQ(ask("GetDrK", 100ms), PortClient::kTimeout);
    EXPECT_EQ(ask("GetMCh"), "MidiCh:00");
}

TEST_F(SimulatedPedalTest, AllSlotsReadBackAsValidRecordsForEveryModel)
{
    for (int model : { 1, 2, 3 })
    {
        makePedal(model, "v1.04.5.0.UNDEF.0");
        plugAndOpen();
        std::set<juce::String> names;
        for (int slot = 0; slot < 128; ++slot)
        {
            const auto line = ask(juce::String::formatted("Preset%02X", slot).toStdString());
            Preset parsed;
            ASSERT_TRUE(parsed.ParseSerialized(juce::String(line), slot, model)) << model << " " << slot << " " << line;
            EXPECT_EQ(parsed.ToSerialized(), pedal->preset(slot).ToSerialized());
            names.insert(parsed.GetDisplayName());
        }
        EXPECT_EQ(names.size(), 128u);
        EXPECT_EQ(ask("Preset80", 100ms), PortClient::kTimeout);
        TearDown();
    }
}

TEST_F(SimulatedPedalTest, StPrstHandshakeStoresTheSlotAndAsksAgainForABadLine)
{
    makePedal(1, "v1.04.5.0.UNDEF.0");
    plugAndOpen();
    Preset written(nullptr, 1);
    written.SetName("Written");
    written.Delay = 333.0f;

    EXPECT_EQ(ask("StPrst"), "GO");
    juce::String bad = written.BuildSendLine(5);
    bad = bad.replaceSection(bad.length() - 4, 2, bad.substring(bad.length() - 4, bad.length() - 2) == "00" ? "01" : "00");
    EXPECT_EQ(ask(bad.toStdString()), "GO");
    EXPECT_EQ(ask(written.BuildSendLine(5).toStdString()), "OK");
    EXPECT_EQ(pedal->preset(5).ToSerialized(), written.ToSerialized());
    EXPECT_EQ(ask("Preset05"), written.ToSerialized().trimEnd().toStdString());

    const auto received = pedal->receivedCommands();
    ASSERT_EQ(received.size(), 4u);
    EXPECT_EQ(received[2], written.BuildSendLine(5).trimEnd().toStdString());
}

TEST_F(SimulatedPedalTest, AnnouncingAgainInsteadOfSendingTheLineStartsAFreshWrite)
{
    makePedal(2, "v1.01.0.0.UNDEF.0");
    plugAndOpen();
    EXPECT_EQ(ask("StPrst"), "GO");
    EXPECT_EQ(ask("StPrst"), "GO");
    const Preset record = pedal->preset(9);
    EXPECT_EQ(ask(record.BuildSendLine(0).toStdString()), "OK");
    EXPECT_EQ(pedal->preset(0).ToSerialized(), record.ToSerialized());
}

TEST_F(SimulatedPedalTest, FactoryRestoresDefaultsAndAnswersOkAfterItsDelay)
{
    PedalSettings settings;
    settings.factoryDelayMs = 200;
    makePedal(1, "v1.04.5.0.UNDEF.0", settings);
    plugAndOpen();
    const auto factorySlot = pedal->preset(3).ToSerialized();
    client->write("SetMCh05");
    EXPECT_EQ(ask("StPrst"), "GO");
    Preset other(nullptr, 1);
    other.SetName("Mine");
    EXPECT_EQ(ask(other.BuildSendLine(3).toStdString()), "OK");

    client->write("Factory");
    EXPECT_EQ(client->readLine(150ms), PortClient::kTimeout);
    EXPECT_EQ(client->readLine(1s), "OK");
    EXPECT_EQ(pedal->options().midiChannel, 0);
    EXPECT_EQ(pedal->preset(3).ToSerialized(), factorySlot);
}

TEST_F(SimulatedPedalTest, UpdateReenumeratesAsTheRomBootloaderWellWithinFiveSeconds)
{
    makePedal(3, "v1.01.42.0.UNDEF.0");
    plugAndOpen();
    const auto start = std::chrono::steady_clock::now();
    client->write("Update");
    EXPECT_TRUE(client->waitForHangup(2s));
    ASSERT_TRUE(pedal->waitForMode(PedalMode::Bootloader, 5s));
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_LT(elapsed, 2s);

    const fs::path device = sys() / kUsbDevice;
    EXPECT_EQ(readText(device / "idVendor"), "03eb\n");
    EXPECT_EQ(readText(device / "idProduct"), "6124\n");
    EXPECT_EQ(readText(device / "1-1:1.0/bInterfaceNumber"), "00\n");
    EXPECT_FALSE(fs::exists(device / "1-1:1.2"));
    EXPECT_FALSE(fs::exists(device / "product"));
    EXPECT_EQ(fs::canonical(sys() / "class/tty/ttyACM0/device"), fs::canonical(device / "1-1:1.0"));

    open();
    client->write("N#V#");
    EXPECT_EQ(client->readLine(), "");
    EXPECT_EQ(client->readLine(), "v1.2 simulated ROM monitor");
    EXPECT_EQ(pedal->receivedCommands(), (std::vector<std::string> { "Update", "N#", "V#" }));
}

TEST_F(SimulatedPedalTest, MonitorEndsItsLinesWithLineFeedThenCarriageReturn)
{
    makePedal(1, "v1.04.5.0.UNDEF.0");
    pedal->plugInBootloader();
    open();
    client->write("N#");
    EXPECT_EQ(client->readFor(100ms), "\n\r");
    client->write("V#");
    EXPECT_EQ(client->readFor(100ms), "v1.2 simulated ROM monitor\n\r");
}

TEST_F(SimulatedPedalTest, UnplugRemovesEveryEntryAndHangsUpThePort)
{
    makePedal(1, "v1.04.5.0.UNDEF.0");
    plugAndOpen();
    pedal->unplug();
    EXPECT_TRUE(client->waitForHangup(1s));
    EXPECT_FALSE(fs::exists(sys() / kUsbDevice));
    EXPECT_FALSE(fs::exists(fs::symlink_status(sys() / "class/tty/ttyACM0")));
    EXPECT_FALSE(fs::exists(fs::symlink_status(root / "dev/ttyACM0")));
    EXPECT_EQ(pedal->devicePath(), "");
    EXPECT_EQ(pedal->mode(), PedalMode::Unplugged);

    pedal->plug();  // plugged in again: a fresh port that answers
    open();
    EXPECT_EQ(ask("Version"), "v1.04.5.0.UNDEF.0");
}
