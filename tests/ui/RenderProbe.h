#pragma once

// Helpers for tests that paint into an image and look at the pixels.
#include <juce_gui_basics/juce_gui_basics.h>

#include <cstdlib>
#include <functional>

namespace RenderProbe
{
inline juce::Image paint(int width, int height, const std::function<void(juce::Graphics&)>& painter)
{
    juce::Image image(juce::Image::ARGB, width, height, true);
    juce::Graphics g(image);
    painter(g);
    return image;
}

inline juce::Image paint(juce::Component& component)
{
    return paint(component.getWidth(), component.getHeight(),
                 [&component](juce::Graphics& g) { component.paintEntireComponent(g, false); });
}

inline bool near(juce::Colour a, juce::Colour b, int tolerance)
{
    return std::abs(a.getRed() - b.getRed()) <= tolerance && std::abs(a.getGreen() - b.getGreen()) <= tolerance
           && std::abs(a.getBlue() - b.getBlue()) <= tolerance && std::abs(a.getAlpha() - b.getAlpha()) <= tolerance;
}

inline int count(const juce::Image& image, const std::function<bool(juce::Colour)>& wanted)
{
    int found = 0;
    for (int y = 0; y < image.getHeight(); ++y)
        for (int x = 0; x < image.getWidth(); ++x)
            found += wanted(image.getPixelAt(x, y)) ? 1 : 0;
    return found;
}

inline int countNear(const juce::Image& image, juce::Colour colour, int tolerance = 2)
{
    return count(image, [&](juce::Colour c) { return near(c, colour, tolerance); });
}

// Compares premultiplied values; a PNG round trip (PNG stores straight alpha) moves
// semi-transparent pixels by a few steps, which `tolerance` allows.
inline bool samePixels(const juce::Image& a, const juce::Image& b, int tolerance = 0)
{
    if (a.getBounds() != b.getBounds())
        return false;
    for (int y = 0; y < a.getHeight(); ++y)
        for (int x = 0; x < a.getWidth(); ++x)
        {
            const auto pa = a.getPixelAt(x, y).getPixelARGB();
            const auto pb = b.getPixelAt(x, y).getPixelARGB();
            if (std::abs(pa.getAlpha() - pb.getAlpha()) > tolerance || std::abs(pa.getRed() - pb.getRed()) > tolerance
                || std::abs(pa.getGreen() - pb.getGreen()) > tolerance
                || std::abs(pa.getBlue() - pb.getBlue()) > tolerance)
                return false;
        }
    return true;
}

// Writes a PNG for a person to look at; the tests never read it back.
inline void keepForViewing(const juce::Image& image, const juce::String& name)
{
    const auto file = juce::File(HV_BUILD_DIR).getChildFile("ui-previews").getChildFile(name);
    file.getParentDirectory().createDirectory();
    file.deleteFile();
    juce::FileOutputStream out(file);
    juce::PNGImageFormat().writeImageToStream(image, out);
}
}
