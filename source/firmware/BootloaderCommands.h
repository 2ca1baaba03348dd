#pragma once

#include <juce_core/juce_core.h>

#include <cstdint>

// The ROM monitor's command texts and the target's register map.
namespace BootloaderCommands
{
    inline constexpr uint32_t kFlashBase = 0x00400000;
    inline constexpr uint32_t kEefcFcr = 0x400E0C04;
    inline constexpr uint32_t kEefcFsr = 0x400E0C08;
    inline constexpr uint32_t kEefcFrr = 0x400E0C0C;
    inline constexpr uint32_t kAircr = 0xE000ED0C;
    inline constexpr uint32_t kAircrReset = 0x05FA0004;

    // "w%08x,#": read one 32-bit word.
    juce::String readWord(uint32_t address);

    // "W%08x,%08x#": write one 32-bit word.
    juce::String writeWord(uint32_t address, uint32_t value);

    // 0x5A000000 + (argument << 8) + command: the flash command register value.
    uint32_t flashCommand(uint8_t command, uint32_t argument = 0);

    // Little-endian assembly of the monitor's four reply bytes.
    uint32_t assembleWord(const uint8_t bytes[4]);
}
