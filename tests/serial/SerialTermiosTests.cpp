// The termios block built for each configuration and the configuration read back from a block,
// bit by bit (a pseudo terminal cannot show all of them: it forces CS8 and clears PARENB).
#include "serial/SerialPortTermios.h"

#include <gtest/gtest.h>

namespace
{
termios2 built(const SerialPortConfig& config)
{
    termios2 t {};
    EXPECT_TRUE(SerialTermios::build(config, t));
    return t;
}

SerialPortConfig with(SerialParity parity)
{
    SerialPortConfig config;
    config.parity = parity;
    return config;
}
}

TEST(SerialTermios, PedalBlockIsRaw8N1At115200WithoutHandshake)
{
    const auto t = built(SerialPortConfig::pedal());
    EXPECT_EQ((tcflag_t) (CREAD | CLOCAL | HUPCL | CS8 | B115200), t.c_cflag);
    EXPECT_EQ(0u, t.c_iflag);
    EXPECT_EQ(0u, t.c_oflag);
    EXPECT_EQ(0u, t.c_lflag);
    EXPECT_EQ(115200u, t.c_ospeed);
    EXPECT_EQ(115200u, t.c_ispeed);
    EXPECT_EQ(0, t.c_cc[VMIN]);
    EXPECT_EQ(0, t.c_cc[VTIME]);
}

TEST(SerialTermios, ParityBitsAndTheirReadBack)
{
    const std::pair<SerialParity, tcflag_t> cases[] = { { SerialParity::none, 0 },
                                                        { SerialParity::odd, PARENB | PARODD },
                                                        { SerialParity::even, PARENB },
                                                        { SerialParity::mark, PARENB | PARODD | CMSPAR },
                                                        { SerialParity::space, PARENB | CMSPAR } };
    for (const auto& [parity, flags] : cases)
    {
        const auto t = built(with(parity));
        EXPECT_EQ(flags, t.c_cflag & (PARENB | PARODD | CMSPAR)) << (int) parity;
        EXPECT_EQ(parity != SerialParity::none, (t.c_iflag & INPCK) != 0) << (int) parity;
        EXPECT_EQ(parity, SerialTermios::read(t).parity);
    }
    // An unknown parity value is no parity.
    EXPECT_EQ(0u, built(with((SerialParity) 7)).c_cflag & (PARENB | PARODD | CMSPAR));
}

TEST(SerialTermios, DataBitsAndStopBits)
{
    const std::pair<int, tcflag_t> sizes[] = { { 5, CS5 }, { 6, CS6 }, { 7, CS7 }, { 8, CS8 } };
    for (const auto& [bits, size] : sizes)
    {
        SerialPortConfig config;
        config.dataBits = bits;
        config.stopBits = SerialStopBits::two;
        const auto t = built(config);
        EXPECT_EQ(size, t.c_cflag & CSIZE);
        EXPECT_TRUE(t.c_cflag & CSTOPB);
        const auto back = SerialTermios::read(t);
        EXPECT_EQ(bits, back.dataBits);
        EXPECT_EQ(bits == 5 ? SerialStopBits::oneAndHalf : SerialStopBits::two, back.stopBits);
    }

    SerialPortConfig config;
    config.stopBits = SerialStopBits::oneAndHalf;
    termios2 t {};
    EXPECT_FALSE(SerialTermios::build(config, t));
    config.dataBits = 5;
    EXPECT_TRUE(SerialTermios::build(config, t));
    EXPECT_EQ(SerialStopBits::oneAndHalf, SerialTermios::read(t).stopBits);

    for (const int bits : { 4, 9, 0, -1 })
    {
        config.dataBits = bits;
        EXPECT_FALSE(SerialTermios::build(config, t)) << bits;
    }
}

TEST(SerialTermios, RatesUseTheirConstantOrBother)
{
    SerialPortConfig config;
    config.baudRate = 9600;
    EXPECT_EQ((tcflag_t) B9600, built(config).c_cflag & CBAUD);
    config.baudRate = 250000;
    const auto t = built(config);
    EXPECT_EQ((tcflag_t) BOTHER, t.c_cflag & CBAUD);
    EXPECT_EQ(250000u, t.c_ospeed);
    EXPECT_EQ(250000, SerialTermios::read(t).baudRate);

    termios2 legacy {};  // a block with no speed fields filled reads its rate from the constant
    legacy.c_cflag = B57600 | CS8;
    EXPECT_EQ(57600, SerialTermios::read(legacy).baudRate);

    config.baudRate = 0;
    EXPECT_FALSE(SerialTermios::build(config, legacy));
}

TEST(SerialTermios, FlowControlNeverReadsBackAsLinesOff)
{
    const std::pair<SerialFlowControl, SerialFlowControl> cases[] = {
        { SerialFlowControl::none, SerialFlowControl::none },
        { SerialFlowControl::hardware, SerialFlowControl::hardware },
        { SerialFlowControl::xonXoff, SerialFlowControl::xonXoff },
        { SerialFlowControl::noneLinesOff, SerialFlowControl::none },
        { (SerialFlowControl) 9, SerialFlowControl::none },
    };
    for (const auto& [mode, readBack] : cases)
    {
        SerialPortConfig config;
        config.flowControl = mode;
        EXPECT_EQ(readBack, SerialTermios::read(built(config)).flowControl) << (int) mode;
    }

    termios2 onlyXon {};  // XON without XOFF is not xonXoff
    onlyXon.c_iflag = IXON;
    EXPECT_EQ(SerialFlowControl::none, SerialTermios::read(onlyXon).flowControl);
}
