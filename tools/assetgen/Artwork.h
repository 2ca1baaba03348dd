#pragma once

#include <juce_graphics/juce_graphics.h>

#include <functional>
#include <vector>

// Renders the main window's images and the application icons. Everything is drawn from fixed
// geometry and seeded noise, so the same program writes the same pixels every time.
namespace Artwork
{
    struct Asset
    {
        juce::String fileName;  // the name under assets/, which also names the embedded resource
        std::function<juce::Image()> render;
    };

    std::vector<Asset> all();
}
