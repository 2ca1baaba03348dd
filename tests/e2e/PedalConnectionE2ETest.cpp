// The real application binary against the simulated pedal in a umockdev testbed: it must find the
// pedal where Linux puts it (/sys, /dev/ttyACM0), talk to it on the wire, show it, and notice
// when the cable is pulled. Needs an X display (xvfb-run); every test has its own home folder.
#include "simpedal/TestbedSession.h"
#include "support/AppProcess.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <sys/ioctl.h>

using namespace std::chrono_literals;

namespace
{
constexpr auto kStart = 15s;     // window up and scanning, on a loaded machine
constexpr auto kConnect = 10s;   // found, identified, options and 128 presets read
constexpr auto kNoticeUnplug = 6s;  // the idle presence check runs about every 2 s

// Where the window's header says which pedal is connected, relative to the window.
constexpr int kHeaderX = 80, kHeaderY = 12, kHeaderWidth = 490, kHeaderHeight = 50;

class PedalConnectionE2E : public testing::Test
{
protected:
    void SetUp() override
    {
        SKIP_WITHOUT_DISPLAY();
        session = std::make_unique<TestbedSession>(HV_APP_BINARY, home.folder().getChildFile("app").getFullPathName().toStdString());
    }

    void startAppAndWaitForScanning()
    {
        session->startApp();
        window = waitForWindow("Halvane Update Tool");
        ASSERT_TRUE(window.isNotEmpty()) << "main window never appeared";
        ASSERT_NE(session->waitForLog("Scanning for Device...", kStart), std::string::npos) << session->log();
        const auto geometry = runCommand({ "xdotool", "getwindowgeometry", window });
        const auto position = geometry.fromFirstOccurrenceOf("Position: ", false, false).upToFirstOccurrenceOf(" ", false, false);
        windowX = position.upToFirstOccurrenceOf(",", false, false).getIntValue();
        windowY = position.fromFirstOccurrenceOf(",", false, false).getIntValue();
    }

    // Plugs the pedal in and waits for the application to rest in idle; returns where in the log
    // this connection starts.
    size_t plugAndWaitForIdle()
    {
        const size_t from = session->log().size();
        session->pedal().plug();
        const size_t found = session->waitForLog("=== Found Nimbrel ===", kConnect, from);
        EXPECT_NE(found, std::string::npos) << session->log().substr(from);
        EXPECT_NE(session->waitForLog("InitState( COMM_STATE_IDLE )", kConnect, from), std::string::npos)
            << session->log().substr(from);
        return from;
    }

    // A fingerprint of the header's pixels (ImageMagick's signature of the pixel data).
    juce::String headerPixels(const juce::String& name)
    {
        // The window repaints on a timer; give a state change a moment to reach the screen.
        juce::Thread::sleep(400);
        const auto file = home.folder().getChildFile(name + ".png").getFullPathName();
        const auto crop = juce::String(kHeaderWidth) + "x" + juce::String(kHeaderHeight) + "+"
                          + juce::String(windowX + kHeaderX) + "+" + juce::String(windowY + kHeaderY);
        runCommand({ "import", "-window", "root", "-crop", crop, "+repage", file }, 10000);
        return runCommand({ "identify", "-format", "%#", file }).trim();
    }

    static void screenshot(const juce::String& name)
    {
        const auto shot = juce::File(HV_BUILD_DIR).getChildFile("screenshots/" + name + ".png");
        shot.getParentDirectory().createDirectory();
        runCommand({ "import", "-window", "root", shot.getFullPathName() }, 10000);
        EXPECT_GT(shot.getSize(), 0);
    }

    std::vector<std::string> commandsAfter(size_t first) const
    {
        const auto all = session->pedal().receivedCommands();
        return { all.begin() + (long) std::min(first, all.size()), all.end() };
    }

    ScopedDisplayLock displayLock;
    ScopedHome home;
    std::unique_ptr<TestbedSession> session;
    juce::String window;
    int windowX = 0, windowY = 0;
};

// Identification and the options this firmware has, in this order; then, when the application
// reads the presets, slot after slot from 00.
void expectConnectionCommands(const std::vector<std::string>& received)
{
    const std::vector<std::string> identification { "Version", "Serial", "GetMCh", "GetBPM", "GetDrK", "GetPng" };
    ASSERT_GE(received.size(), identification.size());
    EXPECT_EQ(identification, std::vector<std::string>(received.begin(), received.begin() + 6));
    for (size_t i = identification.size(); i < received.size(); ++i)
        EXPECT_EQ("Preset" + juce::String::toHexString((int) (i - 6)).paddedLeft('0', 2).toUpperCase().toStdString(),
                  received[i]);
}
}

TEST_F(PedalConnectionE2E, APedalPluggedInWhileScanningIsIdentifiedOnTheWireAndOnScreen)
{
    startAppAndWaitForScanning();
    const size_t from = plugAndWaitForIdle();
    const auto log = session->log().substr(from);

    // Found under its USB identity at the path Linux gives it, opened, then identified in order.
    const auto opened = log.find("<GREY>Opened /dev/ttyACM0");
    EXPECT_NE(log.find("  Nimbrel\n"), std::string::npos) << log;
    EXPECT_NE(opened, std::string::npos) << log;
    EXPECT_LT(opened, log.find("=== Found Nimbrel ==="));
    EXPECT_NE(log.find("<BLUE>  rx:v1.04.5.0.UNDEF.0"), std::string::npos) << log;
    EXPECT_NE(log.find("<BLUE>  rx:HV0000001"), std::string::npos) << log;
    expectConnectionCommands(session->pedal().receivedCommands());

    // The line settings reached the device: exclusive, DTR and RTS dropped (they rise on open).
    EXPECT_GE(session->testbed().openCount(), 1);
    EXPECT_TRUE(session->testbed().exclusive());
    EXPECT_EQ(0, session->testbed().modemLines() & (TIOCM_DTR | TIOCM_RTS));

    // Firmware and serial number in the status bar: see the screenshot.
    screenshot("e2e-nimbrel-connected");
}

TEST_F(PedalConnectionE2E, UnpluggingIsNoticedAndTheSamePedalIsFoundAgainWhenReplugged)
{
    startAppAndWaitForScanning();
    const auto noDevice = headerPixels("before");
    plugAndWaitForIdle();
    const auto connected = headerPixels("connected");
    EXPECT_NE(noDevice, connected) << "the header did not change for the connected pedal";

    const size_t unplugged = session->log().size();
    const size_t commandsBefore = session->pedal().receivedCommands().size();
    session->pedal().unplug();
    const size_t lost = session->waitForLog("<RED>Lost connection. (1)", kNoticeUnplug, unplugged);
    ASSERT_NE(lost, std::string::npos) << session->log().substr(unplugged);
    EXPECT_NE(session->waitForLog("<RED>Disconnected.", 1s, lost), std::string::npos);
    EXPECT_NE(session->waitForLog("Scanning for Device...", 5s, lost), std::string::npos)
        << session->log().substr(lost);
    EXPECT_EQ(noDevice, headerPixels("after")) << "the header does not say NO DEVICE FOUND again";
    screenshot("e2e-nimbrel-unplugged");

    // Same node, same testbed, new pty: the application opens it afresh and asks again.
    plugAndWaitForIdle();
    const auto again = commandsAfter(commandsBefore);
    ASSERT_FALSE(again.empty());
    EXPECT_EQ("Version", again.front());
    EXPECT_GE(session->testbed().openCount(), 2);
}

TEST_F(PedalConnectionE2E, APedalPluggedBeforeTheStartIsListedWithItsUsbIdentityAndFound)
{
    session->pedal().plug();
    session->startApp();
    ASSERT_NE(session->waitForLog("=== Found Nimbrel ===", kStart + kConnect), std::string::npos) << session->log();
    const auto log = session->log();
    const auto listing = log.find("Com Ports: ");
    ASSERT_NE(listing, std::string::npos) << log;
    EXPECT_LT(listing, log.find("=== Found Nimbrel ==="));
    // The virtual console in the testbed has no device and is no serial port.
    EXPECT_NE(log.find(":\t  Nimbrel | /dev/ttyACM0 [VID_7a5c&PID_b301&MI_02]\n", listing), std::string::npos) << log;
    EXPECT_EQ(log.find("tty0", listing), std::string::npos) << log;
}

TEST_F(PedalConnectionE2E, APedalLeftInItsBootloaderIsFoundAsTheRomBootloader)
{
    session->pedal().plugInBootloader();
    session->startApp();
    const auto found = session->waitForLog("=== Found Platform bootloader ===", kStart + kConnect);
    ASSERT_NE(found, std::string::npos) << session->log();
    EXPECT_NE(session->waitForLog("<RED>Recovery mode...", 2s, found), std::string::npos) << session->log();
    const auto log = session->log();
    EXPECT_NE(log.find(":\t   | /dev/ttyACM0 [VID_03eb&PID_6124&MI_00]\n"), std::string::npos) << log;
    EXPECT_LT(log.find("<GREY>Opened /dev/ttyACM0"), found) << log;
}
