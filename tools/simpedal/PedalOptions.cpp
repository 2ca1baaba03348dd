#include "simpedal/PedalOptions.h"

#include <cstdio>

bool PedalOptions::inRange(Option option, int value)
{
    switch (option)
    {
        case Option::MidiChannel: return (value >= 0 && value <= 15) || value == 255;
        case Option::BpmMode: return value == 0 || value == 1;
        case Option::DryKill: return value >= 0 && value <= 2;
        case Option::PingPong: return value == 0 || value == 1;
    }
    return false;
}

int PedalOptions::get(Option option) const
{
    switch (option)
    {
        case Option::MidiChannel: return midiChannel;
        case Option::BpmMode: return bpmMode;
        case Option::DryKill: return dryKill;
        case Option::PingPong: return pingPong;
    }
    return 0;
}

bool PedalOptions::set(Option option, int value)
{
    if (!inRange(option, value))
        return false;
    int* field[] = { &midiChannel, &bpmMode, &dryKill, &pingPong };
    *field[static_cast<int>(option)] = value;
    return true;
}

std::string PedalOptions::reply(Option option) const
{
    static const char* const prefixes[] = { "MidiCh:", "BmpMode:", "DryKill:", "PingPong:" };
    char digits[8];
    std::snprintf(digits, sizeof digits, "%02X", get(option));
    return std::string(prefixes[static_cast<int>(option)]) + digits;
}

int PedalOptions::featureNumber(Option option)
{
    static const int numbers[] = { 0, 2, 3, 4 };
    return numbers[static_cast<int>(option)];
}
