#pragma once

#include <cstdint>
#include <string>

// The four pedal options with the ranges the firmware accepts.
struct PedalOptions
{
    int midiChannel = 0;  // 0 to 15, or 255 for none
    int bpmMode = 0;      // 0 or 1
    int dryKill = 0;      // 0 to 2
    int pingPong = 0;     // 0 or 1

    enum class Option { MidiChannel, BpmMode, DryKill, PingPong };

    static bool inRange(Option option, int value);
    int get(Option option) const;
    // Values outside the option's range are refused and leave it unchanged.
    bool set(Option option, int value);

    // The reply to a Get command: the prefix (with the firmware's own "BmpMode:" spelling) and two
    // upper-case digits.
    std::string reply(Option option) const;

    // The catalogue's option number for the feature table; the MIDI channel exists on every pedal.
    static int featureNumber(Option option);
};
