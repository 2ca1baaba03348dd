// What the main window paints, read back from its pixels: the header, the activity letters, the
// recovery box, the beta mark and the banners.
#include "support/ProbedMain.h"
#include "ui/RenderProbe.h"

#include "app/Clock.h"

#include <gtest/gtest.h>

namespace
{
const juce::Rectangle<int> kHeader { 85, 15, 491, 50 };
const juce::Colour kNoDeviceGrey(0xFF555555);
const juce::Colour kNimbrelGreen(0xFF00BF00);
const juce::Colour kBetaRed(0xFFFF0000);
const juce::Colour kBannerRed(0xFF8B0000);

int inArea(const juce::Image& image, juce::Rectangle<int> area, juce::Colour colour, int tolerance = 2)
{
    return RenderProbe::countNear(image.getClippedImage(area), colour, tolerance);
}

// Thin 10-point letters are mostly edge pixels: count what is clearly green over the grey bar.
int greenish(const juce::Image& image, juce::Rectangle<int> area)
{
    return RenderProbe::count(image.getClippedImage(area), [](juce::Colour c) {
        return c.getGreen() - c.getRed() > 60 && c.getGreen() - c.getBlue() > 60;
    });
}

bool reddish(juce::Colour c)
{
    return c.getRed() > 100 && c.getGreen() < 40 && c.getBlue() < 40;
}

class MainWindowLook : public testing::Test
{
protected:
    juce::Image render() { return RenderProbe::paint(main); }

    Clock::ScopedManualClock clock;
    ProbedMain main;
};
}

TEST_F(MainWindowLook, HeaderNamesNoDeviceInGreyAndAPedalInItsAccent)
{
    auto image = render();
    EXPECT_GT(inArea(image, kHeader, kNoDeviceGrey), 150);
    EXPECT_EQ(inArea(image, kHeader, kNimbrelGreen), 0);

    main.setDevice(1, "v1.04.5.0.UNDEF.0");
    image = render();
    EXPECT_EQ(inArea(image, kHeader, kNoDeviceGrey), 0);
    EXPECT_GT(inArea(image, kHeader, kNimbrelGreen), 150);
    // The logo takes the accent too.
    EXPECT_EQ(image.getPixelAt(30, 37), kNimbrelGreen);
    RenderProbe::keepForViewing(image, "main-nimbrel.png");
}

TEST_F(MainWindowLook, ActivityLettersShowRightAfterTrafficAndAreGoneAQuarterSecondLater)
{
    main.setDevice(1, "v1.04.5.0.UNDEF.0");
    const int h = main.getHeight();
    const juce::Rectangle<int> tx { 10, h - 18, 16, 14 };
    const juce::Rectangle<int> rx { 27, h - 18, 13, 14 };
    EXPECT_EQ(greenish(render(), tx), 0);
    main.MarkTxActivity();
    auto image = render();
    const int full = greenish(image, tx);
    EXPECT_GT(full, 10);
    EXPECT_EQ(greenish(image, rx), 0);

    clock.advance(100);
    main.markRxActivity();
    image = render();
    EXPECT_EQ(greenish(image, tx), full);  // 100 ms: still at full strength
    EXPECT_GT(greenish(image, rx), 10);

    clock.advance(150);
    image = render();
    EXPECT_EQ(greenish(image, tx), 0);  // 250 ms after the last transmit
    EXPECT_GT(greenish(image, rx), 0);  // the receive letters are fading

    clock.advance(100);
    EXPECT_EQ(greenish(render(), rx), 0);
}

TEST_F(MainWindowLook, RecoveryModeBoxIsBlackWithRedTextOnlyInRecovery)
{
    const juce::Rectangle<int> box { 155, 93, 266, 34 };
    EXPECT_LT(inArea(render(), box, kBetaRed), 10);
    main.setDevice(0, "v0.0.0.0.UNDEF.0");
    main.setRecoveryMode(true);
    const auto image = render();
    EXPECT_GT(inArea(image, box, kBetaRed), 300);
    EXPECT_EQ(image.getPixelAt(156, 125), juce::Colours::black);
    EXPECT_TRUE(reddish(image.getPixelAt(153, 110)));  // the outline
    EXPECT_FALSE(reddish(image.getPixelAt(150, 110)));
    RenderProbe::keepForViewing(image, "main-recovery.png");
}

TEST_F(MainWindowLook, BetaMarkNeedsAConnectedPedal)
{
    main.SetBetaChannel(true);
    EXPECT_EQ(inArea(render(), kHeader, kBetaRed), 0);
    main.setDevice(0, "v0.0.0.0.UNDEF.0");  // the bootloader is no pedal
    EXPECT_EQ(inArea(render(), kHeader, kBetaRed), 0);
    main.setDevice(1, "v1.04.5.0.UNDEF.0");
    const auto image = render();
    EXPECT_GT(inArea(image, kHeader, kBetaRed), 40);
    // It follows the name and the sub-name.
    const juce::Font nameFont(27.0f, juce::Font::bold);
    const int nameEnd = 85 + nameFont.getStringWidth("NIMBREL ");
    EXPECT_EQ(inArea(image, { 85, 15, nameEnd - 85, 50 }, kBetaRed), 0);
}

TEST_F(MainWindowLook, BannersStackFromY76InTwelvePixelSteps)
{
    const juce::Rectangle<int> first { 3, 76, 560, 11 };
    const juce::Rectangle<int> second { 3, 88, 560, 11 };
    const juce::Rectangle<int> third { 3, 100, 560, 11 };
    EXPECT_EQ(inArea(render(), first, kBannerRed, 30), 0);

    main.SetBetaChannel(true);
    auto image = render();
    EXPECT_GT(inArea(image, first, kBannerRed, 30), 40);
    EXPECT_EQ(inArea(image, second, kBannerRed, 30), 0);

    main.SetLogUrlRequests(true);
    main.setTestAppUpdate(true);
    image = render();
    EXPECT_GT(inArea(image, first, kBannerRed, 30), 40);
    EXPECT_GT(inArea(image, second, kBannerRed, 30), 40);
    EXPECT_GT(inArea(image, third, kBannerRed, 30), 40);
    RenderProbe::keepForViewing(image, "main-banners.png");
}

TEST_F(MainWindowLook, StatusLineShowsOnlyTheNewestEntryInItsTagColour)
{
    main.setStatusLine("Device connected.", false);
    main.setStatusLine("<RED>Lost connection.", false);
    const auto image = render();
    EXPECT_EQ(main.statusLines(), juce::StringArray("<RED>Lost connection."));
    EXPECT_GT(inArea(image, { 10, main.getHeight() - 34, 300, 14 }, juce::Colour(0xFFFF3F3F), 10), 10);
}
