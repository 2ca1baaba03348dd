#include "serial/SerialPortTermios.h"

#if JUCE_LINUX

namespace
{
struct RateCode
{
    int32_t rate;
    tcflag_t code;
};

constexpr RateCode kRates[] = {
    { 50, B50 },           { 75, B75 },           { 110, B110 },         { 134, B134 },
    { 150, B150 },         { 200, B200 },         { 300, B300 },         { 600, B600 },
    { 1200, B1200 },       { 1800, B1800 },       { 2400, B2400 },       { 4800, B4800 },
    { 9600, B9600 },       { 19200, B19200 },     { 38400, B38400 },     { 57600, B57600 },
    { 115200, B115200 },   { 230400, B230400 },   { 460800, B460800 },   { 500000, B500000 },
    { 576000, B576000 },   { 921600, B921600 },   { 1000000, B1000000 }, { 1152000, B1152000 },
    { 1500000, B1500000 }, { 2000000, B2000000 }, { 2500000, B2500000 }, { 3000000, B3000000 },
    { 3500000, B3500000 }, { 4000000, B4000000 },
};

// The speed bits for a rate: its B constant, or BOTHER with the rate in c_ispeed/c_ospeed.
tcflag_t rateCode(int32_t rate)
{
    for (const auto& r : kRates)
        if (r.rate == rate)
            return r.code;
    return BOTHER;
}

int32_t rateOfCode(tcflag_t code)
{
    for (const auto& r : kRates)
        if (r.code == code)
            return r.rate;
    return 0;
}

tcflag_t sizeBits(int32_t dataBits)
{
    switch (dataBits)
    {
        case 5: return CS5;
        case 6: return CS6;
        case 7: return CS7;
        default: return CS8;
    }
}

}

namespace SerialTermios
{
bool build(const SerialPortConfig& config, termios2& t)
{
    if (config.baudRate <= 0 || config.dataBits < 5 || config.dataBits > 8)
        return false;
    // 1.5 stop bits exist only with 5 data bits (the UART then sends 1.5 for CSTOPB).
    if (config.stopBits == SerialStopBits::oneAndHalf && config.dataBits != 5)
        return false;

    t = {};
    t.c_cflag = CREAD | CLOCAL | HUPCL | sizeBits(config.dataBits);

    const auto code = rateCode(config.baudRate);
    t.c_cflag |= code;
    t.c_ispeed = (speed_t) config.baudRate;
    t.c_ospeed = (speed_t) config.baudRate;

    switch (config.parity)
    {
        case SerialParity::odd: t.c_cflag |= PARENB | PARODD; break;
        case SerialParity::even: t.c_cflag |= PARENB; break;
        case SerialParity::mark: t.c_cflag |= PARENB | CMSPAR | PARODD; break;
        case SerialParity::space: t.c_cflag |= PARENB | CMSPAR; break;
        default: break;
    }
    if (t.c_cflag & PARENB)
        t.c_iflag |= INPCK;

    if (config.stopBits == SerialStopBits::two || config.stopBits == SerialStopBits::oneAndHalf)
        t.c_cflag |= CSTOPB;

    if (config.flowControl == SerialFlowControl::hardware)
        t.c_cflag |= CRTSCTS;
    else if (config.flowControl == SerialFlowControl::xonXoff)
        t.c_iflag |= IXON | IXOFF;

    t.c_cc[VSTART] = 0x11;
    t.c_cc[VSTOP] = 0x13;
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
    return true;
}

SerialPortConfig read(const termios2& t)
{
    SerialPortConfig config;
    config.baudRate = t.c_ospeed != 0 ? (int32_t) t.c_ospeed : rateOfCode(t.c_cflag & CBAUD);

    switch (t.c_cflag & CSIZE)
    {
        case CS5: config.dataBits = 5; break;
        case CS6: config.dataBits = 6; break;
        case CS7: config.dataBits = 7; break;
        default: config.dataBits = 8; break;
    }

    if (!(t.c_cflag & PARENB))
        config.parity = SerialParity::none;
    else if (t.c_cflag & CMSPAR)
        config.parity = (t.c_cflag & PARODD) ? SerialParity::mark : SerialParity::space;
    else
        config.parity = (t.c_cflag & PARODD) ? SerialParity::odd : SerialParity::even;

    if (!(t.c_cflag & CSTOPB))
        config.stopBits = SerialStopBits::one;
    else
        config.stopBits = (t.c_cflag & CSIZE) == CS5 ? SerialStopBits::oneAndHalf : SerialStopBits::two;

    if ((t.c_iflag & IXON) && (t.c_iflag & IXOFF))
        config.flowControl = SerialFlowControl::xonXoff;
    else if (t.c_cflag & CRTSCTS)
        config.flowControl = SerialFlowControl::hardware;
    else
        config.flowControl = SerialFlowControl::none;
    return config;
}
}

#endif
