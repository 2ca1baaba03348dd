#include "firmware/BootloaderCommands.h"

namespace BootloaderCommands
{
juce::String readWord(uint32_t address)
{
    return juce::String::formatted("w%08x,#", address);
}

juce::String writeWord(uint32_t address, uint32_t value)
{
    return juce::String::formatted("W%08x,%08x#", address, value);
}

uint32_t flashCommand(uint8_t command, uint32_t argument)
{
    return 0x5A000000u + ((argument & 0xFFFFu) << 8) + command;
}

uint32_t assembleWord(const uint8_t bytes[4])
{
    return (uint32_t) bytes[0] | ((uint32_t) bytes[1] << 8) | ((uint32_t) bytes[2] << 16) | ((uint32_t) bytes[3] << 24);
}
}
