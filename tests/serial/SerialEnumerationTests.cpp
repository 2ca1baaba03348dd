// Port enumeration on fake sysfs trees: what is listed, how it is keyed and filtered, the scan
// report and its change rule, and trees that are incomplete or wrong.
#include "serial/SerialPort.h"
#include "serial/SerialPortEnumeration.h"
#include "support/FakeSysfs.h"
#include "support/Pty.h"

#include <gtest/gtest.h>

namespace
{
struct Enumeration : public ::testing::Test
{
    void SetUp() override { sysfs.install(); }

    static juce::StringPairArray scan(const juce::String& vid = {}, const juce::String& pid = {}, uint16_t iface = 0)
    {
        return SerialPort::getSerialPortPaths(vid, pid, iface);
    }

    juce::String devPath(const juce::String& name) const
    {
        return sysfs.deviceFolder().getChildFile(name).getFullPathName();
    }

    // How the connection code reads a key: upper-cased, four characters after VID_ and PID_.
    static std::pair<juce::String, juce::String> identityOf(const juce::String& key)
    {
        const auto upper = key.toUpperCase();
        return { upper.fromFirstOccurrenceOf("VID_", false, false).substring(0, 4),
                 upper.fromFirstOccurrenceOf("PID_", false, false).substring(0, 4) };
    }

    FakeSysfs sysfs;
};

juce::StringArray paths(std::initializer_list<juce::String> items)
{
    juce::StringArray array;
    for (const auto& item : items)
        array.add(item);
    return array;
}

FakeSysfs::UsbTty pedal(const juce::String& name = "ttyACM0", const juce::String& usbPath = "1-1")
{
    FakeSysfs::UsbTty tty;
    tty.name = name;
    tty.usbPath = usbPath;
    return tty;
}
}

TEST_F(Enumeration, AUsbPortIsListedWithItsIdentityAndDevicePath)
{
    sysfs.addUsbTty(pedal());
    const auto ports = scan();
    ASSERT_EQ(1, ports.size());
    const auto key = ports.getAllKeys()[0];
    EXPECT_EQ(devPath("ttyACM0"), ports.getAllValues()[0]);
    EXPECT_EQ("Nimbrel | " + devPath("ttyACM0") + " [VID_7a5c&PID_b301&MI_02]", key);
    EXPECT_EQ(std::make_pair(juce::String("7A5C"), juce::String("B301")), identityOf(key));
}

TEST_F(Enumeration, IdsMatchInEitherCase)
{
    auto upper = pedal("ttyACM0", "1-1");
    upper.vendorId = "7A5C";
    upper.productId = "B301";
    sysfs.addUsbTty(upper);
    auto lower = pedal("ttyACM1", "1-2");
    lower.productId = "b302";
    sysfs.addUsbTty(lower);

    EXPECT_EQ(juce::StringArray(devPath("ttyACM0")), scan("7a5c", "b301", 2).getAllValues());
    EXPECT_EQ(juce::StringArray(devPath("ttyACM1")), scan("7A5C", "B302", 2).getAllValues());
    EXPECT_EQ(2, scan("7a5C").size());  // the vendor alone
    EXPECT_EQ(0, scan("7a5c", "b303").size());
    EXPECT_EQ(0, scan("03eb", "6124").size());
}

TEST_F(Enumeration, ADeviceWithoutProductStringHasAKeyThatStartsWithTheSeparator)
{
    auto tty = pedal();
    tty.product.reset();
    tty.manufacturer.reset();
    sysfs.addUsbTty(tty);
    const auto ports = scan("7a5c", "b301", 2);
    ASSERT_EQ(1, ports.size());
    EXPECT_TRUE(ports.getAllKeys()[0].startsWith(" | ")) << ports.getAllKeys()[0];
}

TEST_F(Enumeration, InterfaceNumberSelectsThePortOfAComposite)
{
    // One USB device with two serial functions, on interfaces 0 and 2.
    auto first = pedal("ttyACM0", "1-1");
    first.interfaceNumber = "00";
    sysfs.addUsbTty(first);
    auto second = pedal("ttyACM1", "1-1");
    second.interfaceNumber = "02";
    sysfs.addUsbTty(second);

    EXPECT_EQ(juce::StringArray(devPath("ttyACM1")), scan("7a5c", "b301", 2).getAllValues());
    EXPECT_EQ(0, scan("7a5c", "b301", 1).size());
    // Interface 0 means "no interface asked for": both.
    EXPECT_EQ(paths({ devPath("ttyACM0"), devPath("ttyACM1") }), scan("7a5c", "b301", 0).getAllValues());
    EXPECT_TRUE(scan("7a5c", "b301", 0).getAllKeys()[0].contains("&MI_00]"));

    auto wide = pedal("ttyACM2", "1-3");
    wide.interfaceNumber = "0a";  // hex, as the kernel writes it
    sysfs.addUsbTty(wide);
    EXPECT_EQ(juce::StringArray(devPath("ttyACM2")), scan("7a5c", "b301", 10).getAllValues());
}

TEST_F(Enumeration, TtysThatAreNotOnUsbAreIgnored)
{
    sysfs.addVirtualTty("tty0");
    sysfs.addVirtualTty("ptmx");
    sysfs.addPlatformTty("ttyS0");
    EXPECT_EQ(0, scan().size());

    sysfs.addUsbTty(pedal("ttyUSB0"));
    EXPECT_EQ(juce::StringArray(devPath("ttyUSB0")), scan().getAllValues());
}

TEST_F(Enumeration, PortsAreListedInNaturalOrder)
{
    sysfs.addUsbTty(pedal("ttyUSB0", "1-4"));
    sysfs.addUsbTty(pedal("ttyACM10", "1-3"));
    sysfs.addUsbTty(pedal("ttyACM2", "1-2"));
    EXPECT_EQ(paths({ devPath("ttyACM2"), devPath("ttyACM10"), devPath("ttyUSB0") }), scan().getAllValues());
}

TEST_F(Enumeration, APortAppearsAndDisappears)
{
    EXPECT_EQ(0, scan("7a5c", "b301", 2).size());
    sysfs.addUsbTty(pedal());
    EXPECT_EQ(1, scan("7a5c", "b301", 2).size());
    sysfs.removeTty("ttyACM0");
    EXPECT_EQ(0, scan("7a5c", "b301", 2).size());
    sysfs.addUsbTty(pedal("ttyACM1"));  // back, under another name
    EXPECT_EQ(juce::StringArray(devPath("ttyACM1")), scan("7a5c", "b301", 2).getAllValues());
}

TEST_F(Enumeration, ReportIsAppendedOnlyWhenItChanges)
{
    sysfs.addUsbTty(pedal());
    juce::String log;
    scan();  // whatever ran before, the kept report is now this tree's
    SerialPort::getSerialPortPaths({}, {}, 0, &log);
    EXPECT_EQ(juce::String(), log);

    sysfs.addUsbTty(pedal("ttyACM1", "1-2"));
    SerialPort::getSerialPortPaths({}, {}, 0, &log);
    const auto classTty = sysfs.sysfsRoot().getChildFile("class/tty").getFullPathName();
    const auto expected = "Port scan:\n  UsingSysfs " + classTty + "\n" + "    Nimbrel | " + devPath("ttyACM0")
                          + " [VID_7a5c&PID_b301&MI_02]\n" + "    Nimbrel | " + devPath("ttyACM1")
                          + " [VID_7a5c&PID_b301&MI_02]\n" + "Complete.\r\n";
    EXPECT_EQ(expected, log);

    // Same ports, another filter: the report lists every port, so it is unchanged.
    SerialPort::getSerialPortPaths("03eb", "6124", 0, &log);
    SerialPort::getSerialPortPaths({}, {}, 0, &log);
    EXPECT_EQ(expected, log);

    sysfs.removeTty("ttyACM1");
    juce::String second;
    SerialPort::getSerialPortPaths({}, {}, 0, &second);
    EXPECT_TRUE(second.startsWith("Port scan:\n"));
    EXPECT_TRUE(second.endsWith("Complete.\r\n"));
    EXPECT_FALSE(second.contains("ttyACM1"));
}

TEST_F(Enumeration, ReportOfAnEmptyTree)
{
    juce::String log;
    SerialPortEnumeration::publishReport("init", nullptr);
    SerialPort::getSerialPortPaths({}, {}, 0, &log);
    EXPECT_EQ("Port scan:\n  UsingSysfs " + sysfs.sysfsRoot().getChildFile("class/tty").getFullPathName()
                  + "\nComplete.\r\n",
              log);
}

TEST(SerialPortReport, KeptReportStartsAsInitAndIsReplacedByEachNewOne)
{
    juce::String log;
    SerialPortEnumeration::publishReport("init", &log);  // equal to what is kept, or made so
    log.clear();
    SerialPortEnumeration::publishReport("init", &log);
    EXPECT_EQ(juce::String(), log);
    SerialPortEnumeration::publishReport("A", &log);
    SerialPortEnumeration::publishReport("A", &log);
    EXPECT_EQ(juce::String("A\r\n"), log);
    SerialPortEnumeration::publishReport("B", nullptr);  // a caller without a log still moves it on
    SerialPortEnumeration::publishReport("B", &log);
    EXPECT_EQ(juce::String("A\r\n"), log);
}

TEST_F(Enumeration, MissingOrMalformedAttributesSkipThePortSilently)
{
    auto noVendor = pedal("ttyACM0", "1-1");
    noVendor.vendorId.reset();
    sysfs.addUsbTty(noVendor);
    auto shortVendor = pedal("ttyACM1", "1-2");
    shortVendor.vendorId = "7a5";
    sysfs.addUsbTty(shortVendor);
    auto badProduct = pedal("ttyACM2", "1-3");
    badProduct.productId = "zzzz";
    sysfs.addUsbTty(badProduct);
    auto noProductId = pedal("ttyACM3", "1-4");
    noProductId.productId = "";
    sysfs.addUsbTty(noProductId);
    auto badInterface = pedal("ttyACM4", "1-5");
    badInterface.interfaceNumber = "xyz";
    sysfs.addUsbTty(badInterface);
    auto noInterface = pedal("ttyACM5", "1-6");
    noInterface.interfaceNumber.reset();
    sysfs.addUsbTty(noInterface);
    auto oddName = pedal("ttyACM6", "1-7");
    sysfs.addUsbTty(oddName);
    // A product string that is not UTF-8.
    sysfs.sysfsRoot().getChildFile("devices/pci0000:00/0000:00:14.0/usb1/1-7/product").replaceWithData("Nim\xff\xfe\x80\n", 7);
    auto good = pedal("ttyACM7", "1-8");
    sysfs.addUsbTty(good);

    juce::String log;
    bool error = true;
    const auto ports = SerialPort::getSerialPortPaths({}, {}, 0, &log, &error);
    EXPECT_FALSE(error);
    EXPECT_EQ(paths({ devPath("ttyACM6"), devPath("ttyACM7") }), ports.getAllValues());
    EXPECT_TRUE(ports.getAllKeys()[0].startsWith("Nim"));
    EXPECT_EQ(std::make_pair(juce::String("7A5C"), juce::String("B301")), identityOf(ports.getAllKeys()[0]));
}

TEST_F(Enumeration, ADeviceLinkThatLeadsNowhereIsSkipped)
{
    sysfs.addUsbTty(pedal("ttyACM0", "1-1"));
    sysfs.addUsbTty(pedal("ttyACM1", "1-2"));
    // Half-removed: the interface folder is gone but the class link is still there.
    sysfs.sysfsRoot().getChildFile("devices/pci0000:00/0000:00:14.0/usb1/1-1").deleteRecursively();
    EXPECT_EQ(juce::StringArray(devPath("ttyACM1")), scan().getAllValues());
}

TEST(SerialEnumeration, AnUnreadableSysfsSetsTheErrorFlag)
{
    const auto missing = juce::File::createTempFile("hv-no-sysfs");
    SerialPort::setEnumerationRoots(missing, juce::File("/dev"));
    juce::String log;
    bool error = false;
    const auto ports = SerialPort::getSerialPortPaths({}, {}, 0, &log, &error);
    SerialPort::setEnumerationRoots(juce::File("/sys"), juce::File("/dev"));

    EXPECT_TRUE(error);
    EXPECT_EQ(0, ports.size());
    EXPECT_TRUE(log.startsWith("SerialPort::getSerialPortPaths :: cannot list " + missing.getFullPathName()));
    EXPECT_TRUE(log.endsWith("\r\n"));
    EXPECT_FALSE(log.contains("Port scan:"));  // the report is left unfinished
}

TEST(SerialEnumeration, TheRealSysfsCanBeScanned)
{
    EXPECT_EQ(juce::File("/sys"), SerialPort::getSysfsRoot());
    EXPECT_EQ(juce::File("/dev"), SerialPort::getDeviceFolder());
    bool error = true;
    const auto ports = SerialPort::getSerialPortPaths({}, {}, 0, nullptr, &error);
    EXPECT_EQ(juce::File("/sys/class/tty").isDirectory(), !error);
    for (const auto& path : ports.getAllValues())
        EXPECT_TRUE(path.startsWith("/dev/"));
}

TEST_F(Enumeration, AListedPortOpensThroughItsDeviceNodeUntilItVanishes)
{
    auto pty = std::make_unique<Pty>();
    ASSERT_TRUE(pty->ok());
    auto tty = pedal();
    tty.deviceNode = pty->slavePath();
    sysfs.addUsbTty(tty);

    const auto ports = scan("7A5C", "B301", 2);
    ASSERT_EQ(1, ports.size());
    const auto path = ports.getAllValues()[0];
    {
        SerialPort port(path);
        EXPECT_TRUE(port.isOpen());
        EXPECT_TRUE(port.setConfig(SerialPortConfig::pedal()));
    }

    // Unplugged between the scan and the open: the node is gone.
    pty.reset();
    sysfs.removeTty("ttyACM0");
    LogTail log;
    SerialPort port(path);
    EXPECT_FALSE(port.isOpen());
    EXPECT_TRUE(log.contains("\t(SerialPort::open) CreateFile failed with error 2\n")) << log.text();
    EXPECT_FALSE(port.setConfig(SerialPortConfig::pedal()));
    EXPECT_FALSE(port.valid());
}

TEST_F(Enumeration, APortWhoseNodeLeadsToAClosedPtyFailsToOpen)
{
    auto pty = std::make_unique<Pty>();
    ASSERT_TRUE(pty->ok());
    auto tty = pedal();
    tty.deviceNode = pty->slavePath();
    sysfs.addUsbTty(tty);
    const auto path = scan().getAllValues()[0];
    pty.reset();  // the sysfs entry is still there, the device behind it is not

    LogTail log;
    SerialPort port(path);
    EXPECT_FALSE(port.isOpen());
    EXPECT_TRUE(log.contains("(SerialPort::open) CreateFile failed with error ")) << log.text();
}
