#pragma once

// The termios block of a serial port on Linux, built from a configuration and read back into one.
// Uses the kernel's termios2 (any rate, set and read exactly); do not mix with <termios.h>.
#include "serial/SerialPortConfig.h"

#include <juce_core/juce_core.h>

#if JUCE_LINUX
#include <asm/termbits.h>

namespace SerialTermios
{
    // Raw mode (no line editing, echo, signals, output processing or CR/LF translation; reads
    // return at once with what has arrived), the rate (BOTHER for a rate without a B constant),
    // character size, parity (mark and space through CMSPAR), stop bits and handshake.
    // False for settings no port can take: rate <= 0, data bits outside 5..8, 1.5 stop bits
    // with other than 5 data bits.
    bool build(const SerialPortConfig& config, termios2& t);

    // The configuration a termios block stands for. Flow control reads as xonXoff, hardware or
    // none; DTR/RTS levels are not part of termios, so noneLinesOff reads as none.
    SerialPortConfig read(const termios2& t);
}
#endif
