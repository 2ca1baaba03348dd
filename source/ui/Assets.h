#pragma once

#include <juce_graphics/juce_graphics.h>

// The images built into the program (assets/*.png), decoded once through the framework's image
// cache. The logo and the wordmark are white silhouettes: only their alpha channel is meant to be
// drawn, filled with the theme colour.
namespace Assets
{
    juce::Image background();  // 576 × 480
    juce::Image topBar();      // 576 × 66
    juce::Image bottomBar();   // 576 × 30
    juce::Image logo();        // 78 × 55
    juce::Image wordmark();    // 154 × 20

    // The application icon: the smallest of the 64, 256 and 1024 pixel renderings that is at
    // least `size` wide, or the largest one.
    juce::Image appIcon(int size);

    // Draws a silhouette (logo or wordmark) as the window shows it: its alpha channel filled with
    // the text-shadow colour one pixel down and right, then with `colour` in `area`.
    void drawSilhouette(juce::Graphics& g, const juce::Image& silhouette, juce::Rectangle<int> area,
                        juce::RectanglePlacement placement, juce::Colour colour);
}
