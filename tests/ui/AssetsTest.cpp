// The images built into the program: sizes, transparency where the window relies on it, and
// that the committed PNGs are what the generator draws today.
#include "ui/Assets.h"

#include "assetgen/Artwork.h"
#include "ui/RenderProbe.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>

namespace
{
struct Expected
{
    std::function<juce::Image()> load;
    int width;
    int height;
    bool alpha;
};

const std::map<juce::String, Expected>& expectedAssets()
{
    static const std::map<juce::String, Expected> assets {
        { "hv_bg.png", { Assets::background, 576, 480, false } },
        { "hv_top_bar.png", { Assets::topBar, 576, 66, true } },
        { "hv_bottom_bar.png", { Assets::bottomBar, 576, 30, true } },
        { "hv_top_logo.png", { Assets::logo, 78, 55, true } },
        { "hv_bottom_logo.png", { Assets::wordmark, 154, 20, true } },
        { "hv_icon_64.png", { [] { return Assets::appIcon(64); }, 64, 64, true } },
        { "hv_icon_256.png", { [] { return Assets::appIcon(256); }, 256, 256, true } },
        { "hv_icon_1024.png", { [] { return Assets::appIcon(1024); }, 1024, 1024, true } },
    };
    return assets;
}

uint8_t alphaAt(const juce::Image& image, int x, int y)
{
    return image.getPixelAt(x, y).getAlpha();
}
}

TEST(Assets, EveryImageDecodesToItsSizeWithAlphaWhereTheWindowNeedsIt)
{
    for (const auto& [name, expected] : expectedAssets())
    {
        SCOPED_TRACE(name);
        const auto image = expected.load();
        ASSERT_TRUE(image.isValid());
        EXPECT_EQ(image.getWidth(), expected.width);
        EXPECT_EQ(image.getHeight(), expected.height);
        EXPECT_EQ(image.hasAlphaChannel(), expected.alpha);
    }
}

TEST(Assets, SilhouettesAreShapesInTheAlphaChannel)
{
    // The window fills their alpha with the theme colour: a solid rectangle would show as a block.
    for (const auto& image : { Assets::logo(), Assets::wordmark() })
    {
        const int opaque = RenderProbe::count(image, [](juce::Colour c) { return c.getAlpha() == 255; });
        const int clear = RenderProbe::count(image, [](juce::Colour c) { return c.getAlpha() == 0; });
        EXPECT_GT(opaque, image.getWidth() * image.getHeight() / 10);
        EXPECT_GT(clear, image.getWidth() * image.getHeight() / 3);
        EXPECT_EQ(alphaAt(image, 0, 0), 0);
        EXPECT_EQ(alphaAt(image, image.getWidth() - 1, image.getHeight() - 1), 0);
    }
}

TEST(Assets, BarsAreOpaqueWhereTextIsDrawnOnThem)
{
    // Header texts sit around y 31..40 of the 80-pixel-high top bar; status texts in the lower
    // two thirds of the 47-pixel-high bottom bar. Both images are drawn stretched.
    const auto top = Assets::topBar();
    const auto bottom = Assets::bottomBar();
    for (int x : { 0, 85, 300, 575 })
    {
        EXPECT_EQ(alphaAt(top, x, 28), 255);
        EXPECT_EQ(alphaAt(bottom, x, 12), 255);
        EXPECT_LT(alphaAt(top, x, 65), 8);  // the shadows fade out to nothing
        EXPECT_LT(alphaAt(bottom, x, 0), 8);
    }
}

TEST(Assets, ApplicationIconComesInTheSmallestSizeThatIsLargeEnough)
{
    EXPECT_EQ(Assets::appIcon(16).getWidth(), 64);
    EXPECT_EQ(Assets::appIcon(65).getWidth(), 256);
    EXPECT_EQ(Assets::appIcon(256).getWidth(), 256);
    EXPECT_EQ(Assets::appIcon(4096).getWidth(), 1024);

    const auto icon = Assets::appIcon(256);
    EXPECT_EQ(alphaAt(icon, 0, 0), 0);  // rounded corners
    EXPECT_EQ(alphaAt(icon, 128, 128), 255);
}

TEST(Assets, CommittedImagesAreWhatTheGeneratorDraws)
{
    // Fails when the generator was changed without running it (build/release/assetgen assets).
    const auto artwork = Artwork::all();
    ASSERT_EQ(artwork.size(), expectedAssets().size());
    for (const auto& asset : artwork)
    {
        SCOPED_TRACE(asset.fileName);
        const auto found = expectedAssets().find(asset.fileName);
        ASSERT_NE(found, expectedAssets().end());
        const auto embedded = found->second.load().convertedToFormat(juce::Image::ARGB);
        const auto drawn = asset.render().convertedToFormat(juce::Image::ARGB);
        EXPECT_TRUE(RenderProbe::samePixels(embedded, drawn, 3));
    }
}
