#pragma once

#include <juce_graphics/juce_graphics.h>

#include <array>

// The Halvane mark and wordmark as outlines, built from straight strokes and circle arcs so that
// every rendering is the same on every machine (no system font is involved).
namespace BrandShapes
{
    // The mark: a half disc whose missing half trails off as four echo arcs. The arcs are kept
    // apart so a renderer can fade them one by one.
    struct Mark
    {
        juce::Path disc;
        std::array<juce::Path, 4> echoes;
    };

    // Both shapes keep their proportions and are centred in `area`.
    Mark mark(juce::Rectangle<float> area);
    juce::Path wordmark(juce::Rectangle<float> area);
}
