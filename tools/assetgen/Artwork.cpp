#include "assetgen/Artwork.h"

#include "assetgen/BrandShapes.h"

namespace
{
const juce::Colour kEdgeDark { 0xFF0C0C0D };
const juce::Colour kBarTop { 0xFF2E3033 };
const juce::Colour kBarBottom { 0xFF1A1B1D };

// Fine horizontal grain, as on brushed metal: faint lighter and darker scratches of random length.
void brushGrain(juce::Graphics& g, juce::Rectangle<float> area, juce::Random& random, int scratches, float maxAlpha,
                float thickness)
{
    for (int i = 0; i < scratches; ++i)
    {
        const float length = area.getWidth() * (0.04f + 0.4f * random.nextFloat());
        const float x = area.getX() - length * 0.5f + random.nextFloat() * area.getWidth();
        const float y = area.getY() + random.nextFloat() * area.getHeight();
        const auto tone = random.nextBool() ? juce::Colours::white : juce::Colours::black;
        g.setColour(tone.withAlpha(maxAlpha * random.nextFloat()));
        g.fillRect(x, y, length, thickness);
    }
}

void fillVertical(juce::Graphics& g, juce::Rectangle<float> area, juce::Colour top, juce::Colour bottom)
{
    g.setGradientFill(juce::ColourGradient::vertical(top, area.getY(), bottom, area.getBottom()));
    g.fillRect(area);
}

void fillRadial(juce::Graphics& g, juce::Rectangle<float> area, juce::Point<float> centre, float radius,
                juce::Colour inner, juce::Colour outer)
{
    g.setGradientFill(juce::ColourGradient(inner, centre, outer, centre.translated(radius, 0.0f), true));
    g.fillRect(area);
}

// The body of the window: a satin aluminium plate, lighter in the middle, dark enough at the
// edges to frame the lists.
juce::Image background()
{
    juce::Image image(juce::Image::RGB, 576, 480, true);
    juce::Graphics g(image);
    const auto area = image.getBounds().toFloat();
    juce::Random random(0x6861);
    fillVertical(g, area, juce::Colour(0xFF9FA2A6), juce::Colour(0xFF8A8D91));
    brushGrain(g, area, random, 7000, 0.035f, 1.0f);
    fillRadial(g, area, { 288.0f, 230.0f }, 330.0f, juce::Colours::white.withAlpha(0.10f),
               juce::Colours::white.withAlpha(0.0f));
    fillRadial(g, area, { 288.0f, 240.0f }, 420.0f, juce::Colours::black.withAlpha(0.0f),
               juce::Colours::black.withAlpha(0.28f));
    return image;
}

// A dark graphite band; the rows below `bandRows` hold its soft shadow on the plate.
void paintBar(juce::Graphics& g, juce::Rectangle<float> band, juce::Random& random)
{
    fillVertical(g, band, kBarTop, kBarBottom);
    brushGrain(g, band, random, 2500, 0.03f, 1.0f);
}

juce::Image topBar()
{
    juce::Image image(juce::Image::ARGB, 576, 66, true);
    juce::Graphics g(image);
    juce::Random random(0x7462);
    const juce::Rectangle<float> band { 0.0f, 0.0f, 576.0f, 53.0f };
    paintBar(g, band, random);
    g.setColour(juce::Colours::white.withAlpha(0.07f));
    g.fillRect(0.0f, 0.0f, 576.0f, 1.0f);
    g.setColour(juce::Colours::white.withAlpha(0.11f));
    g.fillRect(0.0f, band.getBottom() - 1.0f, 576.0f, 1.0f);
    g.setColour(kEdgeDark);
    g.fillRect(0.0f, band.getBottom(), 576.0f, 1.0f);
    fillVertical(g, { 0.0f, band.getBottom() + 1.0f, 576.0f, 12.0f }, juce::Colours::black.withAlpha(0.42f),
                 juce::Colours::black.withAlpha(0.0f));
    return image;
}

juce::Image bottomBar()
{
    juce::Image image(juce::Image::ARGB, 576, 30, true);
    juce::Graphics g(image);
    juce::Random random(0x6262);
    fillVertical(g, { 0.0f, 0.0f, 576.0f, 5.0f }, juce::Colours::black.withAlpha(0.0f),
                 juce::Colours::black.withAlpha(0.38f));
    g.setColour(kEdgeDark);
    g.fillRect(0.0f, 5.0f, 576.0f, 1.0f);
    paintBar(g, { 0.0f, 6.0f, 576.0f, 24.0f }, random);
    g.setColour(juce::Colours::white.withAlpha(0.10f));
    g.fillRect(0.0f, 6.0f, 576.0f, 1.0f);
    return image;
}

// Opacity of the disc and of each echo arc: the echoes die away outwards.
constexpr float kDiscOpacity = 1.0f;
constexpr float kEchoOpacity[] = { 0.86f, 0.66f, 0.46f, 0.28f };

void fillMark(juce::Graphics& g, const BrandShapes::Mark& mark)
{
    g.setOpacity(kDiscOpacity);
    g.fillPath(mark.disc);
    for (size_t ring = 0; ring < mark.echoes.size(); ++ring)
    {
        g.setOpacity(kEchoOpacity[ring]);
        g.fillPath(mark.echoes[ring]);
    }
    g.setOpacity(1.0f);
}

// Silhouettes: white with the shape in the alpha channel, for the window to tint.
juce::Image logo()
{
    juce::Image image(juce::Image::ARGB, 78, 55, true);
    juce::Graphics g(image);
    g.setColour(juce::Colours::white);
    fillMark(g, BrandShapes::mark(image.getBounds().toFloat()));
    return image;
}

juce::Image wordmark()
{
    juce::Image image(juce::Image::ARGB, 154, 20, true);
    juce::Graphics g(image);
    g.setColour(juce::Colours::white);
    g.fillPath(BrandShapes::wordmark(image.getBounds().toFloat()));
    return image;
}

// The application icon: a rounded graphite tile with the mark in brushed silver.
juce::Image appIcon(int size)
{
    juce::Image image(juce::Image::ARGB, size, size, true);
    juce::Graphics g(image);
    const float unit = (float) size / 256.0f;
    const auto tileArea = image.getBounds().toFloat().reduced(6.0f * unit);
    juce::Path tile;
    tile.addRoundedRectangle(tileArea, 46.0f * unit);

    g.saveState();
    g.reduceClipRegion(tile);
    juce::Random random(0x6963);
    fillVertical(g, tileArea, juce::Colour(0xFF383B3F), juce::Colour(0xFF141517));
    brushGrain(g, tileArea, random, (int) (1200 * unit), 0.04f, std::max(1.0f, 0.5f * unit));
    fillRadial(g, tileArea, tileArea.getCentre().translated(0.0f, -40.0f * unit), 170.0f * unit,
               juce::Colours::white.withAlpha(0.07f), juce::Colours::white.withAlpha(0.0f));
    g.restoreState();

    g.setGradientFill(juce::ColourGradient::vertical(juce::Colours::white.withAlpha(0.22f), tileArea.getY(),
                                                     juce::Colours::white.withAlpha(0.0f), tileArea.getCentreY()));
    g.strokePath(tile, juce::PathStrokeType(2.0f * unit));
    g.setColour(juce::Colours::black.withAlpha(0.55f));
    g.strokePath(tile, juce::PathStrokeType(std::max(1.0f, 1.0f * unit)));

    const auto markArea = tileArea.reduced(34.0f * unit).translated(4.0f * unit, 0.0f);
    const auto mark = BrandShapes::mark(markArea);
    const auto shadowMark = BrandShapes::mark(markArea.translated(0.0f, 2.0f * unit));
    g.setColour(juce::Colours::black.withAlpha(0.3f));
    fillMark(g, shadowMark);
    g.setGradientFill(juce::ColourGradient::vertical(juce::Colour(0xFFF4F5F6), markArea.getY(), juce::Colour(0xFFA4A9B0),
                                                     markArea.getBottom()));
    fillMark(g, mark);
    return image;
}
}

namespace Artwork
{
std::vector<Asset> all()
{
    return {
        { "hv_bg.png", background },
        { "hv_top_bar.png", topBar },
        { "hv_bottom_bar.png", bottomBar },
        { "hv_top_logo.png", logo },
        { "hv_bottom_logo.png", wordmark },
        { "hv_icon_64.png", [] { return appIcon(64); } },
        { "hv_icon_256.png", [] { return appIcon(256); } },
        { "hv_icon_1024.png", [] { return appIcon(1024); } },
    };
}
}
