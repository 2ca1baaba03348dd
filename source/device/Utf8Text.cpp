#include "device/Utf8Text.h"

namespace Utf8Text
{
juce::String decodeLenient(const char* data, size_t size)
{
    juce::String result;
    const auto* bytes = reinterpret_cast<const uint8_t*>(data);
    size_t i = 0;
    while (i < size)
    {
        const uint8_t lead = bytes[i];
        int length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
        uint32_t cp = length == 1 ? lead : length == 2 ? (lead & 0x1F) : length == 3 ? (lead & 0x0F) : (lead & 0x07);
        bool valid = length > 0 && i + (size_t) length <= size;
        for (int k = 1; valid && k < length; ++k)
        {
            if ((bytes[i + (size_t) k] & 0xC0) != 0x80)
                valid = false;
            else
                cp = (cp << 6) | (bytes[i + (size_t) k] & 0x3F);
        }
        const uint32_t minimum[] = { 0, 0, 0x80, 0x800, 0x10000 };
        if (valid && (cp < minimum[length] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)))
            valid = false;
        if (!valid)
        {
            result += juce::String::charToString((juce::juce_wchar) 0xFFFD);
            ++i;
            continue;
        }
        result += juce::String::charToString((juce::juce_wchar) cp);
        i += (size_t) length;
    }
    return result;
}
}
