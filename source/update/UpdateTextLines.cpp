#include "update/UpdateTextLines.h"

#include <limits>

juce::String UpdateTextLines::next()
{
    const int end = m_rest.indexOf("\r\n");
    const auto line = end < 0 ? m_rest : m_rest.substring(0, end);
    m_rest = end < 0 ? juce::String() : m_rest.substring(end + 2).trim();
    return line.trim();
}

namespace UpdateText
{
int32_t leadingDecimal(const juce::String& text)
{
    auto p = text.getCharPointer();
    while (*p == ' ' || *p == '\t')
        ++p;
    const bool negative = *p == '-';
    if (negative)
        ++p;

    constexpr int64_t limit = (int64_t) std::numeric_limits<int32_t>::max() + 1;
    int64_t value = 0;
    for (; *p >= '0' && *p <= '9'; ++p)
        value = juce::jmin(limit, value * 10 + (int64_t) (*p - '0'));

    const int64_t signedValue = negative ? -value : value;
    return (int32_t) juce::jlimit<int64_t>(std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max(),
                                           signedValue);
}

juce::String afterFirstColon(const juce::String& line)
{
    return line.fromFirstOccurrenceOf(":", false, false);
}
}
