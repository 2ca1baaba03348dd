// Finding, opening and losing pedals on the serial ports, tick by tick against a fake sysfs tree.
#include "support/ConnectedApp.h"

#include <gtest/gtest.h>

#include <fstream>

namespace
{
int occurrences(const juce::String& text, const juce::String& part)
{
    int count = 0;
    for (int at = text.indexOf(part); at >= 0; at = text.indexOf(at + part.length(), part))
        ++count;
    return count;
}

// The paths of the "Failed to open" records, in order.
juce::StringArray failedOpenPaths(const juce::String& log)
{
    juce::StringArray paths;
    for (const auto& line : juce::StringArray::fromLines(log))
        if (line.contains("<RED>Failed to open "))
            paths.add(line.fromFirstOccurrenceOf("<RED>Failed to open ", false, false).upToFirstOccurrenceOf(" o:", false, false));
    return paths;
}

juce::StringArray linesSince(const juce::StringArray& lines, int from)
{
    juce::StringArray newer;
    for (int i = from; i < lines.size(); ++i)
        newer.add(lines[i]);
    return newer;
}

UsbIdentity identityOfRow(int row)
{
    return row == DeviceCatalogue::kBootloader ? UsbIdentity::bootloader() : UsbIdentity::application(row, "HV9");
}

// One port per catalogue row that enumerates but cannot be opened, each with its own tty name,
// so the failed opens show which row each tick probed.
void addUnopenablePortPerRow(ConnectedApp& t)
{
    for (int row = 0; row < DeviceCatalogue::kDeviceCount; ++row)
    {
        const auto tty = "ttyACM" + std::to_string(row);
        t.addPort(identityOfRow(row), tty, "1-" + std::to_string(row + 1), t.missingNode(tty));
    }
}

juce::String devPath(ConnectedApp& t, int row)
{
    return juce::String((t.devDir() / ("ttyACM" + std::to_string(row))).string());
}

const char* const kCannotConnect =
    "This application can see your device, but is unable to connect.\r\nPlease close the app, then disconnect and "
    "reconnect the USB \r\ncable to your device.\r\nAlso ensure that there are no other Halvane \r\napplications "
    "currently open on your computer, and that only \r\none Halvane device is connected at a time.";
}

TEST(Discovery, ScanWithoutADeviceAnimatesTheStatusEverySecondTick)
{
    ConnectedApp t;
    t.tick();
    EXPECT_TRUE(t.app->debugLines().contains("Scanning for Device..."));
    const int before = t.app->statusLines().size();
    t.ticks(8);

    const auto shown = linesSince(t.app->statusLines(), before);
    ASSERT_EQ(shown.size(), 4);
    const juce::StringArray cycle { "Scanning for devices.", "Scanning for devices..", "Scanning for devices...",
                                    "Scanning for devices" };
    const int first = cycle.indexOf(shown[0]);
    ASSERT_GE(first, 0) << shown[0];
    for (int i = 1; i < shown.size(); ++i)
        EXPECT_EQ(shown[i], cycle[(first + i) % 4]);
    EXPECT_EQ(t.app->state(), COMM_SCAN_FOR_DEVICES);
    EXPECT_EQ(t.app->connectedDevice(), -1);
}

TEST(Discovery, EachTickProbesTheNextCatalogueRowBootloaderIncluded)
{
    ConnectedApp t;
    addUnopenablePortPerRow(t);
    t.tick();
    const int logStart = t.logText().length();

    juce::StringArray probed;
    for (int i = 0; i < 9; ++i)
    {
        t.tick();
        const auto paths = failedOpenPaths(t.logText().substring(logStart));
        ASSERT_EQ(paths.size(), i + 1) << "one probe per tick";
        probed.add(paths[i]);
    }
    const int firstRow = probed[0].getTrailingIntValue();
    for (int i = 0; i < probed.size(); ++i)
        EXPECT_EQ(probed[i], devPath(t, (firstRow + i) % 4)) << "tick " << i;

    // Each probe names the row it matched before opening it.
    const auto log = t.logText().substring(logStart);
    EXPECT_TRUE(log.contains(":\t  Platform bootloader\n"));
    EXPECT_TRUE(log.contains(":\t  Nightcrest\n"));
    EXPECT_EQ(t.app->state(), COMM_SCAN_FOR_DEVICES);
}

// The failure counter lives for the whole process, so this needs a process of its own (ctest
// runs each test alone).
TEST(Discovery, FailedOpensShowBothFlagsAndTheTenthRaisesTheAlertOnce)
{
    ConnectedApp t;
    if (t.logText().contains("Failed to open"))
        GTEST_SKIP() << "earlier failed opens in this process";

    // Rows 0 to 2 lead nowhere; row 3 leads to a plain file, which opens but takes no line settings.
    for (int row = 0; row < 3; ++row)
    {
        const auto tty = "ttyACM" + std::to_string(row);
        t.addPort(identityOfRow(row), tty, "1-" + std::to_string(row + 1), t.missingNode(tty));
    }
    const auto plainFile = t.missingNode("plain");
    std::filesystem::create_directories(plainFile.parent_path());
    std::ofstream(plainFile) << "not a tty";
    t.addPort(identityOfRow(3), "ttyACM3", "1-4", plainFile);

    while (failedOpenPaths(t.logText()).size() < 9)
        t.tick();
    EXPECT_TRUE(t.dialogs.shown().empty());
    t.tick();
    ASSERT_EQ(failedOpenPaths(t.logText()).size(), 10);
    ASSERT_EQ(t.dialogs.shown().size(), 1u);
    EXPECT_EQ(t.dialogs.shown()[0].title, "An error has occurred");
    EXPECT_EQ(t.dialogs.shown()[0].message, kCannotConnect);
    t.tick();
    EXPECT_EQ(failedOpenPaths(t.logText()).size(), 11);
    EXPECT_EQ(t.dialogs.shown().size(), 1u);

    EXPECT_TRUE(t.app->debugLines().contains("<RED>Failed to open " + devPath(t, 0) + " o: 0 c: 0"));
    EXPECT_TRUE(t.app->debugLines().contains("<RED>Failed to open " + devPath(t, 3) + " o: 1 c: 0"));
    EXPECT_EQ(t.app->connectedDevice(), -1);
    EXPECT_EQ(t.app->state(), COMM_SCAN_FOR_DEVICES);
}

TEST(Discovery, PortGoneBeforeItOpensIsSkippedAndThePedalIsTakenWhenItComesBack)
{
    ConnectedApp t;
    auto& vanished = t.addPort(identityOfRow(1), "ttyACM0", "1-1", t.missingNode("ttyACM0"));
    t.ticks(5);
    EXPECT_TRUE(t.logText().contains("<RED>Failed to open " + devPath(t, 0)));
    EXPECT_FALSE(t.logText().contains("=== Found"));
    EXPECT_EQ(t.app->state(), COMM_SCAN_FOR_DEVICES);

    vanished.detach();
    t.plugPedal(1, "v1.04.5.0.UNDEF.0");
    EXPECT_TRUE(t.tickUntilState(COMM_STATE_IDLE));
    EXPECT_EQ(t.app->connectedDevice(), 1);
}

TEST(Discovery, PlugInWhileScanningIsOpenedAndIdentifiedWithinFourTicks)
{
    ConnectedApp t;
    t.ticks(3);
    const int logStart = t.logText().length();
    t.plugPedal(1, "v1.04.5.0.UNDEF.0");

    ASSERT_TRUE(t.tickUntilState(COMM_STATE_REQUEST_VERSION, 4)) << "found within four ticks";

    const auto log = t.logText().substring(logStart);
    const auto path = juce::String(t.pedal->devicePath());
    const int named = log.indexOf(":\t  Nimbrel\n");
    const int opening = log.indexOf("InitSerialPort() " + path);
    const int opened = log.indexOf("<GREY>Opened " + path);
    const int found = log.indexOf("=== Found Nimbrel ===");
    EXPECT_GE(named, 0);
    EXPECT_LT(named, opening);
    EXPECT_LT(opening, opened);
    EXPECT_LT(opened, found);
    EXPECT_TRUE(t.app->debugLines().contains("<GREY>Opened " + path));
    EXPECT_TRUE(t.app->debugLines().contains("Nimbrel connected."));
    EXPECT_EQ(t.app->connectedDevice(), 1);

    t.tick();
    EXPECT_TRUE(t.pedal->waitForCommandCount(1, std::chrono::seconds(2)));
    EXPECT_EQ(t.pedal->receivedCommands().front(), "Version");
}

TEST(Discovery, PedalReplugedBetweenPresenceChecksIsLostAndIdentifiedAgain)
{
    ConnectedApp t;
    t.plugPedal(1, "v1.04.5.0.UNDEF.0", "HV0000001");
    ASSERT_TRUE(t.tickUntilState(COMM_STATE_IDLE));
    t.tick();

    // Another pedal of the same model on the same port: the old link is dead though the port is
    // listed again under the same identity.
    t.pedal->unplug();
    t.pedal.reset();
    t.plugPedal(1, "v1.04.6.0.UNDEF.0", "HV0000002");
    ASSERT_TRUE(t.tickUntilState(COMM_SCAN_FOR_DEVICES, 25)) << "the presence check notices within 2 s";
    EXPECT_TRUE(t.app->debugLines().contains("<RED>Lost connection. (1)"));
    EXPECT_TRUE(t.app->statusLines().contains("<RED>Lost connection."));
    EXPECT_EQ(t.app->timerIntervalMs(), 2000);
    EXPECT_EQ(t.app->connectedDevice(), -1);

    ASSERT_TRUE(t.tickUntilState(COMM_STATE_IDLE));
    EXPECT_EQ(t.app->serialNumber(), "HV0000002");
    EXPECT_EQ(t.app->deviceVersion().toString(), "v1.04.006.0.UNDEF.00");
}

TEST(Discovery, SuppressedMessageIsSpentOnOneScanningStepOnly)
{
    ConnectedApp t;
    t.ticks(2);
    t.app->SuppressConnectionMessages(1);
    const int before = t.app->statusLines().size();
    t.ticks(2);
    EXPECT_EQ(t.app->statusLines().size(), before) << "the step that was due is left out";
    EXPECT_EQ(t.app->silentDisconnects(), 0);
    t.ticks(2);
    EXPECT_EQ(t.app->statusLines().size(), before + 1);
}

TEST(Discovery, SecondDisconnectAfterASuppressedOneIsAnnounced)
{
    ConnectedApp t;
    const int logStart = t.logText().length();
    t.plugPedal(1, "v1.04.5.0.UNDEF.0");
    ASSERT_TRUE(t.tickUntilState(COMM_STATE_IDLE));
    t.tick();  // the idle entry step would spend a count of its own
    t.app->SuppressConnectionMessages(1);
    t.pedal->unplug();
    ASSERT_TRUE(t.tickUntilState(COMM_SCAN_FOR_DEVICES, 30));
    EXPECT_EQ(occurrences(t.logText().substring(logStart), "<RED>Disconnected."), 0);

    t.pedal->plug();
    ASSERT_TRUE(t.tickUntilState(COMM_STATE_IDLE));
    t.pedal->unplug();
    ASSERT_TRUE(t.tickUntilState(COMM_SCAN_FOR_DEVICES, 30));
    EXPECT_EQ(occurrences(t.logText().substring(logStart), "<RED>Disconnected."), 1);
}

TEST(Discovery, PortListingIsWrittenEveryTwoSecondsOnlyWhenPortsChange)
{
    ConnectedApp t;
    t.tick();
    // A USB serial adapter that is no pedal: listed, never opened, and the tick stays 100 ms.
    UsbIdentity adapter { "0403", "6001", 0, "FTDI", "USB Serial Converter", "A1" };
    auto& port = t.addPort(adapter, "ttyUSB0", "1-7", t.missingNode("ttyUSB0"));

    // The change shows at the next listing, which also tells this test the listing's phase.
    int logStart = t.logText().length();
    int waited = 0;
    while (!t.logText().substring(logStart).contains("Com Ports: ") && waited < 21)
    {
        t.tick();
        ++waited;
    }
    auto block = t.logText().substring(logStart);
    ASSERT_EQ(occurrences(block, "Com Ports: "), 1) << "listed within 2 s of the change";
    EXPECT_TRUE(block.contains(":\t  USB Serial Converter | "));
    EXPECT_TRUE(block.contains("VID_0403"));
    EXPECT_EQ(occurrences(block, juce::String::repeatedString("=", 61) + "\n"), 2);

    port.detach();
    logStart = t.logText().length();
    t.ticks(20);
    EXPECT_FALSE(t.logText().substring(logStart).contains("Com Ports: ")) << "not before 2 s have passed";
    t.tick();
    block = t.logText().substring(logStart);
    ASSERT_EQ(occurrences(block, "Com Ports: "), 1);
    EXPECT_TRUE(block.contains(":\t  None.\n"));

    logStart = t.logText().length();
    t.ticks(65);
    EXPECT_FALSE(t.logText().substring(logStart).contains("Com Ports: ")) << "nothing changed";
}

TEST(Discovery, PortListingGoesOnAfterTheClockWasSetBack)
{
    ConnectedApp t;
    t.tick();
    t.clock.advance(-3'600'000);
    t.addPort(identityOfRow(2), "ttyACM5", "1-5", t.missingNode("ttyACM5"));
    const int logStart = t.logText().length();
    t.ticks(21);
    EXPECT_TRUE(t.logText().substring(logStart).contains("Com Ports: "));
}

TEST(Discovery, PedalFoundInItsBootloaderEntersRecoveryMode)
{
    ConnectedApp t;
    t.tick();
    t.pedal = SimulatedPedal::inFakeSysfs(PedalSettings {}, t.sysRoot(), t.devDir());
    t.pedal->plugInBootloader();
    ASSERT_TRUE(t.tickUntilState(COMM_GET_DEVICE_PLATFORM, 5));
    EXPECT_TRUE(t.app->debugLines().contains("=== Found Platform bootloader ==="));
    EXPECT_TRUE(t.app->debugLines().contains("<RED>Recovery mode..."));
    EXPECT_TRUE(t.app->statusLines().contains("<RED>Recovery mode..."));
    EXPECT_EQ(t.app->connectedDevice(), DeviceCatalogue::kBootloader);
    EXPECT_EQ(t.app->deviceVersion().toString(), VersionInfo(VersionInfo::kUnknown).toString());
}
