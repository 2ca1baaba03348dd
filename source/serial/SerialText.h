#pragma once

#include <juce_core/juce_core.h>

#include <cstddef>

// Bytes from a device as text: UTF-8 when they are valid UTF-8, otherwise one character per byte
// (ISO 8859-1), so that no input can upset the string class.
juce::String serialTextFromBytes(const void* data, size_t size);
