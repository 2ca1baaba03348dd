#pragma once

#include <cstdint>

// Line settings of a serial port. The numbers are shared with the serial settings dialog and the
// connection code and never change (note: space comes before mark).
enum class SerialParity : int32_t
{
    none = 0,
    odd = 1,
    even = 2,
    space = 3,
    mark = 4,
};

enum class SerialStopBits : int32_t
{
    one = 0,
    oneAndHalf = 1,
    two = 2,
};

enum class SerialFlowControl : int32_t
{
    none = 0,         // no handshake, DTR and RTS asserted
    hardware = 1,     // RTS/CTS handshake, DTR asserted
    xonXoff = 2,      // XON/XOFF in both directions, DTR and RTS asserted
    noneLinesOff = 3, // no handshake, DTR and RTS not asserted
};

struct SerialPortConfig
{
    int32_t baudRate = 115200;
    int32_t dataBits = 8;
    SerialParity parity = SerialParity::none;
    SerialStopBits stopBits = SerialStopBits::one;
    SerialFlowControl flowControl = SerialFlowControl::noneLinesOff;

    SerialPortConfig() = default;
    SerialPortConfig(int32_t rate, int32_t bits, SerialParity p, SerialStopBits s, SerialFlowControl f)
        : baudRate(rate), dataBits(bits), parity(p), stopBits(s), flowControl(f)
    {
    }

    // The settings of every pedal connection and the dialog's initial value:
    // 115200 bit/s, 8 data bits, no parity, one stop bit, no handshake with DTR and RTS off.
    static SerialPortConfig pedal() { return {}; }
};
