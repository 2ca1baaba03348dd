#pragma once

#include <juce_core/juce_core.h>

// Pure rules of the pedal option replies and commands.
namespace OptionRules
{
    // MIDI channel 0..15 or 255; BPM mode 0..1; dry kill 0..2; ping pong 0..1. Anything else is 0.
    int clamp(int option, int value);

    // Hex digits of the text used in order, every other character skipped; empty gives 0.
    int hexValue(const juce::String& text);

    // The reply prefix of each option: "MidiCh:", "BmpMode:", "DryKill:", "PingPong:".
    const char* replyPrefix(int option);

    // When `reply` carries the option's prefix (any letter case), its clamped value; else -1.
    int parseReply(int option, const juce::String& reply);

    // The command that reads an option and the one that sets it ("SetMCh" + "%02X").
    juce::String getCommand(int option);
    juce::String setCommand(int option, int value);

    // The texts the protocol shows: "Get MIDI Channel", "Update MidiCh: " ...
    juce::String displayName(int option);
    juce::String updateLogPrefix(int option);

    // The feature number of the catalogue behind an option (BPM mode 2, dry kill 3, ping pong 4).
    int featureNumber(int option);
}
