#include "ui/Assets.h"

#include "AssetData.h"
#include "ui/Theme.h"

namespace
{
juce::Image decode(const unsigned char* data, std::size_t size)
{
    return juce::ImageCache::getFromMemory(data, (int) size);
}
}

namespace Assets
{
juce::Image background()
{
    return decode(AssetData::hv_bg_png, AssetData::hv_bg_pngSize);
}

juce::Image topBar()
{
    return decode(AssetData::hv_top_bar_png, AssetData::hv_top_bar_pngSize);
}

juce::Image bottomBar()
{
    return decode(AssetData::hv_bottom_bar_png, AssetData::hv_bottom_bar_pngSize);
}

juce::Image logo()
{
    return decode(AssetData::hv_top_logo_png, AssetData::hv_top_logo_pngSize);
}

juce::Image wordmark()
{
    return decode(AssetData::hv_bottom_logo_png, AssetData::hv_bottom_logo_pngSize);
}

juce::Image appIcon(int size)
{
    if (size <= 64)
        return decode(AssetData::hv_icon_64_png, AssetData::hv_icon_64_pngSize);
    if (size <= 256)
        return decode(AssetData::hv_icon_256_png, AssetData::hv_icon_256_pngSize);
    return decode(AssetData::hv_icon_1024_png, AssetData::hv_icon_1024_pngSize);
}

void drawSilhouette(juce::Graphics& g, const juce::Image& silhouette, juce::Rectangle<int> area,
                    juce::RectanglePlacement placement, juce::Colour colour)
{
    g.setColour(juce::Colour(Theme::kTextShadow));
    g.drawImage(silhouette, area.translated(1, 1).toFloat(), placement, true);
    g.setColour(colour);
    g.drawImage(silhouette, area.toFloat(), placement, true);
}
}
