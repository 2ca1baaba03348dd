// Composes the main window's images, tinted silhouettes and themed widgets the way the window
// paints them, checks the tint, and keeps the result under build/.../ui-previews for a look.
#include "ui/Assets.h"
#include "ui/HvLookAndFeel.h"
#include "ui/Theme.h"

#include "device/DeviceCatalogue.h"
#include "ui/RenderProbe.h"

#include <gtest/gtest.h>

namespace
{
constexpr int kWidth = 576;
constexpr int kHeight = 480;
const juce::Rectangle<int> kLogoArea { 22, 22, 42, 30 };
const juce::Rectangle<int> kWordmarkArea { 406, kHeight - 30, 170, 20 };
const juce::Rectangle<int> kDeviceList { 39, 148, 175, 232 };
const juce::Rectangle<int> kComputerList { 366, 148, 175, 232 };

void paintChild(juce::Graphics& g, juce::Component& child, juce::Rectangle<int> bounds)
{
    child.setBounds(bounds);
    juce::Graphics::ScopedSaveState state(g);
    g.reduceClipRegion(bounds);  // a component's fillAll fills whatever the clip allows
    g.setOrigin(bounds.getPosition());
    child.paintEntireComponent(g, false);
}

void paintImages(juce::Graphics& g, juce::Colour accent)
{
    g.fillAll(juce::Colour(0xFF808080));
    const auto stretched = juce::RectanglePlacement::stretchToFit;
    g.drawImage(Assets::background(), juce::Rectangle<float>(0, 0, kWidth, kHeight), stretched);
    g.drawImage(Assets::topBar(), juce::Rectangle<float>(0, 0, kWidth, 80), stretched);
    g.drawImage(Assets::bottomBar(), juce::Rectangle<float>(0, kHeight - 47, kWidth, 47), stretched);
    Assets::drawSilhouette(g, Assets::logo(), kLogoArea, stretched, accent);
    Assets::drawSilhouette(g, Assets::wordmark(), kWordmarkArea, juce::RectanglePlacement::centred, accent);
}

void paintShadowedText(juce::Graphics& g, const juce::String& text, juce::Rectangle<int> area, juce::Colour colour)
{
    g.setColour(juce::Colour(Theme::kTextShadow));
    g.drawText(text, area.translated(1, 1), juce::Justification::left, false);
    g.setColour(colour);
    g.drawText(text, area, juce::Justification::left, false);
}

void paintHeaderAndStatus(juce::Graphics& g, int device, juce::Colour accent)
{
    const auto row = DeviceCatalogue::rows({}, {})[(size_t) device];
    const auto name = row.name.toUpperCase() + " ";
    g.setFont(juce::Font(27.0f, juce::Font::bold));
    const int nameWidth = g.getCurrentFont().getStringWidth(name);
    paintShadowedText(g, name, { 85, 31, 500, 10 }, accent);
    g.setFont(juce::Font(18.0f, juce::Font::bold));
    paintShadowedText(g, row.subName.toUpperCase() + " ", { 85 + nameWidth, 34, 500, 10 }, accent);
    g.setFont(juce::Font(10.0f));
    paintShadowedText(g, "Device connected.", { 10, kHeight - 31, kWidth - 32, 10 }, accent);
    paintShadowedText(g, "TX RX  | " + row.name + " v1.04.011.0", { 10, kHeight - 16, 400, 10 }, accent);
}

void paintLists(juce::Graphics& g, hv_lookAndFeel& laf)
{
    const juce::DropShadow shadow(juce::Colour(0xBF000000), 15, { 5, 5 });
    for (const auto& area : { kDeviceList, kComputerList })
    {
        shadow.drawForRectangle(g, area);
        juce::ListBox list;
        list.setLookAndFeel(&laf);
        list.setOutlineThickness(4);
        paintChild(g, list, area);
        list.setLookAndFeel(nullptr);
    }
    g.setColour(juce::Colour(s_theme[1]));
    g.setFont(juce::Font(12.0f));
    for (int slot = 0; slot < 8; ++slot)
        g.drawText(juce::String(slot + 1).paddedLeft('0', 3) + "  Preset " + juce::String(slot + 1),
                   kDeviceList.getX() + 8, kDeviceList.getY() + 6 + slot * 16, 160, 16, juce::Justification::left);
}

void paintControls(juce::Graphics& g, hv_lookAndFeel& laf)
{
    const std::pair<const char*, int> buttons[] = { { "UPDATE", 153 },   { "REFRESH", 184 },  { "BACKUP", 230 },
                                                    { "RESTORE", 261 },  { "SETTINGS", 307 }, { "USER MANUAL", 353 } };
    for (const auto& [text, y] : buttons)
    {
        juce::TextButton button(text);
        button.setLookAndFeel(&laf);
        button.setEnabled(y != 353);
        paintChild(g, button, { 245, y, 90, 20 });
        button.setLookAndFeel(nullptr);
    }
    for (const auto& [text, x] : { std::pair<const char*, int> { "ON DEVICE", 39 }, { "ON COMPUTER", 366 } })
    {
        juce::Label label({}, text);
        label.setLookAndFeel(&laf);
        label.setFont(juce::Font(12.0f));
        label.setColour(juce::Label::textColourId, juce::Colours::black);
        paintChild(g, label, { x, 130, 120, 18 });
        label.setLookAndFeel(nullptr);
    }
}

juce::Image composeWindow(hv_lookAndFeel& laf, int device)
{
    Theme::load(device);
    laf.applyTheme(s_theme);
    const juce::Colour accent(s_theme[0]);
    return RenderProbe::paint(kWidth, kHeight, [&](juce::Graphics& g) {
        paintImages(g, accent);
        paintLists(g, laf);
        paintControls(g, laf);
        paintHeaderAndStatus(g, device, accent);
    });
}

juce::Image composeDialogs(hv_lookAndFeel& laf)
{
    juce::AlertWindow alert("About", "Halvane Update Tool\r\n\tNimbrel\r\n\tSerial# 000123", juce::MessageBoxIconType::InfoIcon);
    alert.setLookAndFeel(&laf);
    alert.addButton("Copy Info", 1);
    alert.addButton("Close", 0);
    double progress = -1.0;
    juce::ProgressBar bar(progress);
    bar.setLookAndFeel(&laf);
    auto image = RenderProbe::paint(std::max(alert.getWidth(), 300), alert.getHeight() + 40, [&](juce::Graphics& g) {
        g.fillAll(juce::Colours::darkgrey);
        alert.paintEntireComponent(g, false);
        g.reduceClipRegion(10, alert.getHeight() + 10, 280, 20);
        g.setOrigin(10, alert.getHeight() + 10);
        laf.drawProgressBar(g, bar, 280, 20, 0.4, "Program Device... (40%)");
    });
    alert.setLookAndFeel(nullptr);
    bar.setLookAndFeel(nullptr);
    return image;
}
}

TEST(WindowPreview, SilhouettesAreTintedInTheAccentColourOverTheirShadow)
{
    hv_lookAndFeel laf;
    for (int device : { DeviceCatalogue::kBootloader, DeviceCatalogue::kNimbrel, DeviceCatalogue::kEmbervale,
                        DeviceCatalogue::kNightcrest })
    {
        SCOPED_TRACE(device);
        const auto window = composeWindow(laf, device);
        const juce::Colour accent(s_theme[0]);
        EXPECT_EQ(window.getPixelAt(30, 37), accent);  // inside the logo's half disc
        EXPECT_GT(RenderProbe::countNear(window.getClippedImage(kWordmarkArea), accent, 0), 200);
        RenderProbe::keepForViewing(window, "window-" + juce::String(device) + ".png");
    }
    Theme::load(DeviceCatalogue::kBootloader);
}

TEST(WindowPreview, DialogsKeptForViewing)
{
    hv_lookAndFeel laf;
    Theme::load(DeviceCatalogue::kEmbervale);
    laf.applyTheme(s_theme);
    const auto dialogs = composeDialogs(laf);
    EXPECT_GT(RenderProbe::countNear(dialogs, juce::Colour(s_theme[2]), 0), 500);  // the icon
    RenderProbe::keepForViewing(dialogs, "dialogs-embervale.png");
    Theme::load(DeviceCatalogue::kBootloader);
}
