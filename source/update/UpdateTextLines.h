#pragma once

#include <juce_core/juce_core.h>

#include <cstdint>

// Reads the server's small text files line by line: a line is the text up to the next CR LF,
// trimmed at both ends, and the remainder is trimmed again, so blank lines never count.
class UpdateTextLines
{
public:
    explicit UpdateTextLines(const juce::String& text) : m_rest(text.trim()) {}

    // The next line; empty once the text is used up.
    juce::String next();
    bool atEnd() const { return m_rest.isEmpty(); }
    const juce::String& rest() const { return m_rest; }

private:
    juce::String m_rest;
};

namespace UpdateText
{
    // The decimal number at the start of `text` (leading blanks skipped, an optional minus sign);
    // 0 when there is none. Values beyond 32 bits saturate.
    int32_t leadingDecimal(const juce::String& text);

    // Everything after the first ":" of `line`; empty when it has none.
    juce::String afterFirstColon(const juce::String& line);
}
