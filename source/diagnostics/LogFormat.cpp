#include "diagnostics/LogFormat.h"

namespace LogFormat
{
juce::String escape(const juce::String& message)
{
    return message.replace("\t", "{\\t}")
        .replace("\r", "{\\r}")
        .replace("\n", "{\\n}")
        .replace("{END}", "\r\n");
}

juce::String record(int64_t timeMs, const juce::String& message)
{
    const auto stamp = static_cast<uint32_t>(static_cast<uint64_t>(timeMs) & 0xFFFFFFFFu);
    return juce::String::formatted("0x%08x", stamp) + ":\t" + escape(message) + "\n";
}

uint32_t parseColourTag(const juce::String& text, bool* tagMatched, uint32_t defaultColour)
{
    struct Tag
    {
        const char* name;
        uint32_t colour;
    };
    static const Tag tags[] = {
        { "<RED>", 0xFFFF3F3F },    { "<BLUE>", 0xFF7F7FFF },   { "<GREY>", 0xFFD3D3D3 },
        { "<MDGREY>", 0xFF808080 }, { "<DKGREY>", 0xFF555555 }, { "<ORANGE>", 0xFFFFA500 },
        { "<GREEN>", 0xFF00FF00 },  { "<PROFILE>", 0xFFCF3FFF },
    };

    if (tagMatched != nullptr)
        *tagMatched = false;
    if (text.startsWith("Error"))
        return 0xFFFF0000;

    const int close = text.indexOfChar('>');
    const juce::String tag = close < 0 ? text : text.substring(0, close + 1);
    for (const auto& t : tags)
    {
        if (tag == t.name)
        {
            if (tagMatched != nullptr)
                *tagMatched = true;
            return t.colour;
        }
    }
    return defaultColour;
}

juce::String displayText(const juce::String& text, bool tagMatched)
{
    return tagMatched ? text.fromFirstOccurrenceOf(">", false, false) : text;
}

juce::StringArray splitLines(const juce::String& text)
{
    juce::StringArray lines;
    const auto unified = text.replace("\r\n", "\n").replace("\r", "\n");
    int start = 0;
    for (int lf = unified.indexOfChar('\n'); lf >= 0; lf = unified.indexOfChar(start, '\n'))
    {
        lines.add(unified.substring(start, lf));
        start = lf + 1;
    }
    lines.add(unified.substring(start));
    return lines;
}

void keepNewest(juce::StringArray& lines, int count)
{
    const int excess = lines.size() - juce::jmax(0, count);
    if (excess > 0)
        lines.removeRange(0, excess);
}

juce::String separator()
{
    return juce::String::repeatedString("=", 61);
}

juce::String bannerTime(const juce::Time& time)
{
    return time.formatted("%Y.%m.%d %H.%M.%S");
}
}
