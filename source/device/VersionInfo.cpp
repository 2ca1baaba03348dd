#include "device/VersionInfo.h"

namespace
{
// The value of the leading digits (after an optional sign); 0 when there are none.
int64_t leadingDecimal(const juce::String& text)
{
    auto p = text.getCharPointer();
    bool negative = false;
    if (*p == '-' || *p == '+')
    {
        negative = (*p == '-');
        ++p;
    }
    int64_t value = 0;
    while (juce::CharacterFunctions::isDigit(*p))
    {
        value = value * 10 + (*p - '0');
        if (value > 0xFFFFFFFFll)
            value = 0xFFFFFFFFll;  // saturate; only the low bits are ever kept
        ++p;
    }
    return negative ? -value : value;
}

void splitAtLast(juce::String& text, juce::String& tail)
{
    const int dot = text.lastIndexOfChar('.');
    if (dot < 0)
    {
        tail = text;
        return;
    }
    tail = text.substring(dot + 1);
    text = text.substring(0, dot);
}

// Keeps at most `maxBytes` of UTF-8 without cutting a character in half.
juce::String limitUtf8(const juce::String& text, int maxBytes)
{
    if ((int) text.getNumBytesAsUTF8() <= maxBytes)
        return text;
    juce::String kept;
    for (auto p = text.getCharPointer(); !p.isEmpty(); ++p)
    {
        juce::String next = kept + juce::String::charToString(*p);
        if ((int) next.getNumBytesAsUTF8() > maxBytes)
            break;
        kept = next;
    }
    return kept;
}
}

void VersionInfo::parse(const juce::String& text)
{
    *this = VersionInfo();

    juce::String s = text.substring(1);
    juce::String stamp, channelText;
    splitAtLast(s, stamp);
    splitAtLast(s, channelText);
    juce::String numbers = s + ".0.0.0.0";

    const int stampLength = stamp.length();
    time = (int32_t) leadingDecimal(stampLength > 6 ? stamp.substring(stampLength - 6) : stamp);
    date = (int32_t) leadingDecimal(stampLength > 6 ? stamp.substring(0, stampLength - 6) : juce::String());
    channel = limitUtf8(channelText, kMaxChannelBytes);

    for (uint16_t* field : { &major, &minor, &build, &revision })
    {
        *field = (uint16_t) leadingDecimal(numbers.upToFirstOccurrenceOf(".", false, false));
        numbers = numbers.fromFirstOccurrenceOf(".", false, false);
    }
}

juce::String VersionInfo::toString() const
{
    return "v" + formatBody({});
}

juce::String VersionInfo::formatBody(const juce::String& fallback) const
{
    if (fallback.isNotEmpty() && isZero())
        return fallback;
    return juce::String(major) + "." + juce::String(minor).paddedLeft('0', 2) + "."
         + juce::String(build).paddedLeft('0', 3) + "." + juce::String(revision) + "." + channel + "."
         + juce::String(date) + timeText();
}

juce::String VersionInfo::timeText() const
{
    // With a date in front, an unpadded early-morning time (030508 written as 30508) would read
    // back with a different date and time; padding keeps the stored form faithful.
    return date != 0 ? juce::String(time).paddedLeft('0', 6) : juce::String(time);
}

juce::String VersionInfo::toShortString() const
{
    if (isZero())
        return {};
    return juce::String(major) + "." + juce::String(minor).paddedLeft('0', 2) + "."
         + juce::String(build).paddedLeft('0', 3);
}

bool VersionInfo::isZero() const
{
    return major == 0 && minor == 0 && build == 0 && revision == 0 && date == 0 && time == 0;
}

bool VersionInfo::equalNumbers(const VersionInfo& other) const
{
    return major == other.major && minor == other.minor && build == other.build && revision == other.revision;
}

bool VersionInfo::isOlderThan(const VersionInfo& other) const
{
    const uint16_t mine[] = { major, minor, build, revision };
    const uint16_t theirs[] = { other.major, other.minor, other.build, other.revision };
    for (int i = 0; i < 4; ++i)
    {
        if (mine[i] != theirs[i])
            return mine[i] < theirs[i];
    }
    return false;
}
