// SerialPort on a real pseudo terminal: open, exclusivity, the line settings as the kernel holds
// them (read back with tcgetattr, independently of the class), and the failure paths.
#include "serial/SerialPort.h"
#include "support/Pty.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/ioctl.h>
#include <termios.h>

namespace
{
termios attributesOf(const SerialPort& port)
{
    termios t {};
    EXPECT_EQ(0, ::tcgetattr(port.getNativeHandle(), &t));
    return t;
}

struct OpenPty : public ::testing::Test
{
    void SetUp() override
    {
        ASSERT_TRUE(pty.ok());
        ASSERT_TRUE(port.open(pty.slavePath()));
    }
    Pty pty;
    SerialPort port;
};
}

TEST(SerialPort, FailedOpenLogsTheSystemErrorAndLeavesNoHandle)
{
    LogTail log;
    SerialPort port("/nonexistent/ttyACM9");
    EXPECT_FALSE(port.isOpen());
    EXPECT_EQ(SerialPort::kNoHandle, port.getNativeHandle());
    EXPECT_EQ(juce::String("/nonexistent/ttyACM9"), port.getPath());
    EXPECT_TRUE(log.contains("\t(SerialPort::open) CreateFile failed with error 2\n")) << log.text();
}

TEST(SerialPort, EveryOperationOnAnUnopenedPortFailsQuietly)
{
    LogTail log;
    SerialPort port;
    SerialPortConfig config;
    config.baudRate = 1;
    EXPECT_FALSE(port.setConfig(SerialPortConfig::pedal()));
    EXPECT_FALSE(port.getConfig(config));
    EXPECT_EQ(1, config.baudRate);  // untouched
    EXPECT_FALSE(port.isOpen());
    EXPECT_FALSE(port.valid());
    EXPECT_TRUE(log.contains("SerialPort::valid : !exists()"));
    EXPECT_FALSE(log.contains("SetCommState"));  // setConfig returned before touching the system
    port.close();  // harmless
}

TEST_F(OpenPty, OpensNonBlockingExclusiveAndWithoutControllingTerminal)
{
    const int fd = port.getNativeHandle();
    EXPECT_TRUE(port.isOpen());
    EXPECT_TRUE(::fcntl(fd, F_GETFL) & O_NONBLOCK);
    EXPECT_EQ(O_RDWR, ::fcntl(fd, F_GETFL) & O_ACCMODE);
    int exclusive = 0;
    ASSERT_EQ(0, ::ioctl(fd, TIOCGEXCL, &exclusive));
    EXPECT_EQ(1, exclusive);

    // A second open of the same port is refused like a busy device (even for root).
    LogTail log;
    SerialPort second(pty.slavePath());
    EXPECT_FALSE(second.isOpen());
    EXPECT_TRUE(log.contains("\t(SerialPort::open) CreateFile failed with error 16\n")) << log.text();

    port.close();
    EXPECT_FALSE(port.isOpen());
    EXPECT_TRUE(second.open(pty.slavePath()));
}

TEST_F(OpenPty, PedalSettingsAreRawAt115200WithEightNoneOne)
{
    ASSERT_TRUE(port.setConfig(SerialPortConfig::pedal()));
    const auto t = attributesOf(port);
    EXPECT_EQ((speed_t) B115200, ::cfgetospeed(&t));
    EXPECT_EQ((speed_t) B115200, ::cfgetispeed(&t));
    EXPECT_EQ((tcflag_t) CS8, t.c_cflag & CSIZE);
    EXPECT_FALSE(t.c_cflag & (PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS));
    EXPECT_TRUE(t.c_cflag & CREAD);
    EXPECT_TRUE(t.c_cflag & CLOCAL);
    // Raw: no line editing, echo, signals, output processing, translation or software flow.
    EXPECT_FALSE(t.c_lflag & (ICANON | ECHO | ECHOE | ECHONL | ISIG | IEXTEN));
    EXPECT_FALSE(t.c_oflag & OPOST);
    EXPECT_FALSE(t.c_iflag & (ICRNL | INLCR | IGNCR | ISTRIP | IXON | IXOFF | IXANY | BRKINT | PARMRK | INPCK));
    EXPECT_EQ(0, t.c_cc[VMIN]);
    EXPECT_EQ(0, t.c_cc[VTIME]);
}

TEST_F(OpenPty, EveryStandardRateIsApplied)
{
    const std::pair<int, speed_t> rates[] = { { 300, B300 },         { 1200, B1200 },     { 9600, B9600 },
                                              { 19200, B19200 },     { 57600, B57600 },   { 115200, B115200 },
                                              { 230400, B230400 },   { 460800, B460800 }, { 921600, B921600 },
                                              { 1000000, B1000000 }, { 4000000, B4000000 } };
    for (const auto& [rate, code] : rates)
    {
        SerialPortConfig config;
        config.baudRate = rate;
        ASSERT_TRUE(port.setConfig(config)) << rate;
        const auto t = attributesOf(port);
        EXPECT_EQ(code, ::cfgetospeed(&t)) << rate;
        SerialPortConfig back;
        ASSERT_TRUE(port.getConfig(back));
        EXPECT_EQ(rate, back.baudRate);
    }
}

TEST_F(OpenPty, NonStandardRatesAreSetExactly)
{
    for (const int rate : { 250000, 31250, 1843200 })
    {
        SerialPortConfig config;
        config.baudRate = rate;
        ASSERT_TRUE(port.setConfig(config)) << rate;
        const auto t = attributesOf(port);
        EXPECT_EQ((tcflag_t) 0010000 /* BOTHER */, t.c_cflag & CBAUD) << rate;
        SerialPortConfig back;
        ASSERT_TRUE(port.getConfig(back));
        EXPECT_EQ(rate, back.baudRate);
    }
}

// The pseudo-terminal driver forces CS8 and clears PARENB whatever is asked (a pty has no
// character framing), so what is checked here is everything else it keeps; the full block,
// PARENB and sizes included, is checked in SerialTermiosTests.
TEST_F(OpenPty, ParityIncludingMarkAndSpaceReachesTheKernel)
{
    struct Case
    {
        SerialParity parity;
        tcflag_t flags;
    };
    const Case cases[] = { { SerialParity::none, 0 },
                           { SerialParity::odd, PARODD },
                           { SerialParity::even, 0 },
                           { SerialParity::mark, PARODD | CMSPAR },
                           { SerialParity::space, CMSPAR } };
    for (const auto& c : cases)
    {
        SerialPortConfig config;
        config.parity = c.parity;
        ASSERT_TRUE(port.setConfig(config));
        const auto t = attributesOf(port);
        EXPECT_EQ(c.flags, t.c_cflag & (PARODD | CMSPAR)) << (int) c.parity;
        EXPECT_EQ(c.parity != SerialParity::none, (t.c_iflag & INPCK) != 0) << (int) c.parity;
    }
}

TEST_F(OpenPty, StopBits)
{
    SerialPortConfig config;
    config.stopBits = SerialStopBits::two;
    ASSERT_TRUE(port.setConfig(config));
    EXPECT_TRUE(attributesOf(port).c_cflag & CSTOPB);
    SerialPortConfig back;
    ASSERT_TRUE(port.getConfig(back));
    EXPECT_EQ(SerialStopBits::two, back.stopBits);

    config.stopBits = SerialStopBits::one;
    ASSERT_TRUE(port.setConfig(config));
    EXPECT_FALSE(attributesOf(port).c_cflag & CSTOPB);
    ASSERT_TRUE(port.getConfig(back));
    EXPECT_EQ(SerialStopBits::one, back.stopBits);
}

TEST_F(OpenPty, OneAndAHalfStopBitsOnlyWithFiveDataBits)
{
    LogTail log;
    SerialPortConfig config;
    config.stopBits = SerialStopBits::oneAndHalf;
    EXPECT_FALSE(port.setConfig(config));
    EXPECT_TRUE(log.contains("\t(SerialPort::setConfig) SetCommState failed with error 22\n")) << log.text();

    config.dataBits = 5;
    EXPECT_TRUE(port.setConfig(config));
    EXPECT_TRUE(attributesOf(port).c_cflag & CSTOPB);
}

TEST_F(OpenPty, ImpossibleSettingsAreRefused)
{
    SerialPortConfig config;
    config.dataBits = 9;
    EXPECT_FALSE(port.setConfig(config));
    config.dataBits = 8;
    config.baudRate = 0;
    EXPECT_FALSE(port.setConfig(config));
}

TEST_F(OpenPty, FlowControlModesAndTheirReadBack)
{
    struct Case
    {
        SerialFlowControl mode;
        bool rtsCts;
        bool xonXoff;
        SerialFlowControl readBack;
    };
    const Case cases[] = { { SerialFlowControl::none, false, false, SerialFlowControl::none },
                           { SerialFlowControl::hardware, true, false, SerialFlowControl::hardware },
                           { SerialFlowControl::xonXoff, false, true, SerialFlowControl::xonXoff },
                           { SerialFlowControl::noneLinesOff, false, false, SerialFlowControl::none } };
    for (const auto& c : cases)
    {
        SerialPortConfig config;
        config.flowControl = c.mode;
        ASSERT_TRUE(port.setConfig(config));
        const auto t = attributesOf(port);
        EXPECT_EQ(c.rtsCts, (t.c_cflag & CRTSCTS) != 0) << (int) c.mode;
        EXPECT_EQ(c.xonXoff, (t.c_iflag & (IXON | IXOFF)) == (IXON | IXOFF)) << (int) c.mode;
        if (c.xonXoff)
        {
            EXPECT_EQ(0x11, t.c_cc[VSTART]);
            EXPECT_EQ(0x13, t.c_cc[VSTOP]);
        }
        SerialPortConfig back;
        ASSERT_TRUE(port.getConfig(back));
        EXPECT_EQ(c.readBack, back.flowControl) << (int) c.mode;
    }
}

TEST_F(OpenPty, ModemLinesThatAPseudoTerminalLacksAreOnlyAWarning)
{
    LogTail log;
    EXPECT_TRUE(port.setConfig(SerialPortConfig::pedal()));
    EXPECT_TRUE(log.contains("DTR/RTS not set, the device has no modem lines, error 25"));
    EXPECT_FALSE(log.contains("SetCommState failed"));
}

TEST_F(OpenPty, ValidUntilTheFarEndGoes)
{
    ASSERT_TRUE(port.setConfig(SerialPortConfig::pedal()));
    EXPECT_TRUE(port.valid());

    LogTail log;
    pty.closeMaster();  // what an unplugged device looks like: the tty is hung up
    EXPECT_FALSE(port.valid());
    EXPECT_TRUE(log.contains("SerialPort::valid : GetCommState() failed"));
    EXPECT_TRUE(port.isOpen());  // still holds its handle until closed
    port.close();
    EXPECT_FALSE(port.isOpen());
}
