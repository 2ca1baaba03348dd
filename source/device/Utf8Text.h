#pragma once

#include <juce_core/juce_core.h>

namespace Utf8Text
{
    // Decodes UTF-8, turning every malformed sequence into U+FFFD instead of rejecting the text.
    juce::String decodeLenient(const char* data, size_t size);
}
