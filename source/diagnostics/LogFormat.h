#pragma once

#include <juce_core/juce_core.h>

#include <cstdint>

// The pure text rules of the log: record layout, escapes and the colour tags of screen lines.
namespace LogFormat
{
    // Tabs, CR and LF become "{\t}", "{\r}", "{\n}"; then "{END}" becomes a real CR LF.
    juce::String escape(const juce::String& message);

    // "0x%08x" of the low 32 bits of the millisecond time, ":\t", the escaped text, "\n".
    juce::String record(int64_t timeMs, const juce::String& message);

    // Colour of a screen line by its leading tag; `tagMatched` tells whether one of the eight
    // tags matched (an "Error" line is coloured but keeps its text).
    uint32_t parseColourTag(const juce::String& text, bool* tagMatched, uint32_t defaultColour);

    // What a screen line shows: the text after the first ">" when a tag matched, else all of it.
    juce::String displayText(const juce::String& text, bool tagMatched);

    // The lines of a message as the screen shows them, split at CR LF, LF or CR.
    juce::StringArray splitLines(const juce::String& text);

    // Removes entries from the front until at most `count` remain (the debug panel keeps 45,
    // the status line 1).
    void keepNewest(juce::StringArray& lines, int count);

    // 61 "=" characters, the separator of banners and headers.
    juce::String separator();

    // "%Y.%m.%d %H.%M.%S" in local time.
    juce::String bannerTime(const juce::Time& time);
}
