// The simulated pedal in a umockdev testbed, read without the preload: the testbed's sys and dev
// folders must hold what the port enumeration looks for, in either of the pedal's modes, and
// nothing once it is unplugged, however often the cable moves.
#include "PortClient.h"
#include "serial/SerialPort.h"
#include "simpedal/SimulatedPedal.h"
#include "simpedal/UmockdevAttachment.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace std::chrono_literals;
namespace fs = std::filesystem;

namespace
{
class UmockdevTestbed : public testing::Test
{
protected:
    void SetUp() override
    {
        auto attachment = std::make_unique<UmockdevAttachment>();
        testbed = attachment.get();
        root = testbed->rootDir();
        pedal = std::make_unique<SimulatedPedal>(PedalSettings {}, std::move(attachment));
        SerialPort::setEnumerationRoots(juce::File(root + "/sys"), juce::File(root + "/dev"));
    }

    void TearDown() override { SerialPort::setEnumerationRoots(juce::File("/sys"), juce::File("/dev")); }

    static juce::StringPairArray scan() { return SerialPort::getSerialPortPaths({}, {}, 0); }
    std::string node() const { return root + "/dev/ttyACM0"; }

    UmockdevAttachment* testbed = nullptr;
    std::string root;
    std::unique_ptr<SimulatedPedal> pedal;
};
}

TEST_F(UmockdevTestbed, TheApplicationFunctionIsListedOnInterface2AndItsNodeReachesTheFirmware)
{
    pedal->plug();
    EXPECT_EQ("/dev/ttyACM0", pedal->devicePath());
    const auto ports = scan();
    ASSERT_EQ(1, ports.size()) << ports.getDescription();
    EXPECT_EQ("Nimbrel | " + node() + " [VID_7a5c&PID_b301&MI_02]", ports.getAllKeys()[0]);
    EXPECT_EQ(juce::String(node()), ports.getAllValues()[0]);
    EXPECT_EQ(1, SerialPort::getSerialPortPaths("7A5C", "B301", 2).size());
    EXPECT_EQ(0, SerialPort::getSerialPortPaths("7A5C", "B301", 0x01).size());

    PortClient client(node());
    ASSERT_TRUE(client.isOpen());
    client.write("Version");
    EXPECT_EQ("v1.04.5.0.UNDEF.0", client.readLine());
}

TEST_F(UmockdevTestbed, UpdateReplacesTheFunctionByTheRomBootloaderOnInterface0)
{
    pedal->plug();
    {
        PortClient client(node());
        client.write("Update");
        ASSERT_TRUE(pedal->waitForMode(PedalMode::Bootloader, 3s));
    }
    const auto ports = scan();
    ASSERT_EQ(1, ports.size()) << ports.getDescription();
    EXPECT_EQ(" | " + node() + " [VID_03eb&PID_6124&MI_00]", ports.getAllKeys()[0]);
    EXPECT_FALSE(fs::exists(root + "/sys/devices/pci0000:00/0000:00:14.0/usb1/1-1/1-1:1.2"));
    EXPECT_TRUE(fs::exists(root + "/sys/devices/pci0000:00/0000:00:14.0/usb1/1-1/1-1:1.0/tty/ttyACM0/dev"));
}

TEST_F(UmockdevTestbed, UnpluggingLeavesNoTraceButTheConsoleAndReplugsWork)
{
    for (int round = 0; round < 3; ++round)
    {
        pedal->plug();
        ASSERT_EQ(1, scan().size()) << "round " << round;
        pedal->unplug();
        bool failed = true;
        juce::String report;
        EXPECT_EQ(0, SerialPort::getSerialPortPaths({}, {}, 0, &report, &failed).size()) << "round " << round;
        EXPECT_FALSE(failed) << report;  // the tty class stays, with its console in it
        EXPECT_TRUE(fs::is_symlink(root + "/sys/class/tty/tty0"));
        EXPECT_FALSE(fs::exists(root + "/sys/class/tty/ttyACM0"));
        EXPECT_FALSE(fs::exists(root + "/sys/devices/pci0000:00/0000:00:14.0/usb1/1-1"));
        EXPECT_FALSE(fs::exists(fs::symlink_status(node())));
    }
}
