#include "device/OptionRules.h"

namespace OptionRules
{
namespace
{
struct OptionText
{
    const char* prefix;
    const char* getCommand;
    const char* setCommand;
    const char* displayName;
    const char* updateLog;
    int feature;
};

const OptionText kOptions[] = {
    { "MidiCh:", "GetMCh", "SetMCh", "MIDI Channel", "Update MidiCh: ", 1 },
    { "BmpMode:", "GetBPM", "SetBPM", "BPM Mode", "Update BpmMode: ", 2 },
    { "DryKill:", "GetDrK", "SetDrK", "Dry Kill", "Update DryKill: ", 3 },
    { "PingPong:", "GetPng", "SetPng", "Ping Pong", "Update PingPong: ", 4 },
};

const OptionText& textOf(int option)
{
    return kOptions[juce::jlimit(0, 3, option)];
}
}

int clamp(int option, int value)
{
    switch (option)
    {
        case 0: return (value >= 0 && value <= 15) || value == 255 ? value : 0;
        case 1: return value >= 0 && value <= 1 ? value : 0;
        case 2: return value >= 0 && value <= 2 ? value : 0;
        case 3: return value >= 0 && value <= 1 ? value : 0;
        default: return 0;
    }
}

int hexValue(const juce::String& text)
{
    uint32_t value = 0;
    for (auto p = text.getCharPointer(); !p.isEmpty(); ++p)
    {
        const int digit = juce::CharacterFunctions::getHexDigitValue(*p);
        if (digit >= 0)
            value = (value << 4) | (uint32_t) digit;
    }
    return (int) value;
}

const char* replyPrefix(int option)
{
    return textOf(option).prefix;
}

int parseReply(int option, const juce::String& reply)
{
    const int colon = reply.indexOfChar(':');
    if (colon < 0 || !reply.substring(0, colon + 1).equalsIgnoreCase(replyPrefix(option)))
        return -1;
    return clamp(option, hexValue(reply.substring(colon + 1)));
}

juce::String getCommand(int option)
{
    return textOf(option).getCommand;
}

juce::String setCommand(int option, int value)
{
    return textOf(option).setCommand + juce::String::formatted("%02X", clamp(option, value));
}

juce::String displayName(int option)
{
    return textOf(option).displayName;
}

juce::String updateLogPrefix(int option)
{
    return textOf(option).updateLog;
}

int featureNumber(int option)
{
    return textOf(option).feature;
}
}
