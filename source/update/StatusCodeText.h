#pragma once

#include <juce_core/juce_core.h>

#include <cstdint>

// "404 - Not Found": the decimal code and the HTTP name, "Undefined" for codes without one.
juce::String StatusCodeText(int32_t code);
