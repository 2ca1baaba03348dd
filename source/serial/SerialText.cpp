#include "serial/SerialText.h"

#include <cstdint>
#include <string>

juce::String serialTextFromBytes(const void* data, size_t size)
{
    const auto* bytes = static_cast<const char*>(data);
    if (juce::CharPointer_UTF8::isValidString(bytes, (int) size))
        return juce::String::fromUTF8(bytes, (int) size);

    std::string utf8;
    utf8.reserve(size * 2);
    for (size_t i = 0; i < size; ++i)
    {
        const auto c = (uint8_t) bytes[i];
        if (c < 0x80)
        {
            utf8 += (char) c;
        }
        else
        {
            utf8 += (char) (0xC0 | (c >> 6));
            utf8 += (char) (0x80 | (c & 0x3F));
        }
    }
    return juce::String::fromUTF8(utf8.data(), (int) utf8.size());
}
