// The application look and feel, checked on the pixels it paints into an image.
#include "ui/HvLookAndFeel.h"

#include "app/Clock.h"
#include "device/DeviceCatalogue.h"
#include "ui/RenderProbe.h"
#include "ui/Theme.h"

#include <gtest/gtest.h>

namespace
{
class LookAndFeelTest : public testing::Test
{
protected:
    void useTheme(int device)
    {
        Theme::load(device);
        laf.applyTheme(s_theme);
    }

    void TearDown() override { Theme::load(DeviceCatalogue::kBootloader); }

    juce::Colour theme(int slot) const { return juce::Colour(s_theme[(size_t) slot]); }

    hv_lookAndFeel laf;
};

juce::Image paintWith(hv_lookAndFeel& laf, juce::Component& component)
{
    component.setLookAndFeel(&laf);
    auto image = RenderProbe::paint(component);
    component.setLookAndFeel(nullptr);
    return image;
}

juce::Image paintProgress(hv_lookAndFeel& laf, double progress, const juce::String& text, int width = 202,
                          int height = 20)
{
    double value = progress;
    juce::ProgressBar bar(value);
    bar.setLookAndFeel(&laf);
    bar.setSize(width, height);
    auto image = RenderProbe::paint(width, height, [&](juce::Graphics& g) {
        laf.drawProgressBar(g, bar, width, height, progress, text);
    });
    bar.setLookAndFeel(nullptr);
    return image;
}

std::unique_ptr<juce::AlertWindow> alertWith(hv_lookAndFeel& laf, juce::MessageBoxIconType icon)
{
    auto alert = std::make_unique<juce::AlertWindow>("Firmware Update Available", "A firmware update is available.", icon);
    alert->setLookAndFeel(&laf);
    alert->addButton("OK", 1);
    return alert;
}
}

TEST_F(LookAndFeelTest, ButtonTextTakesEachDevicesThemeTextColourAndFadesWhenDisabled)
{
    for (int device : { DeviceCatalogue::kBootloader, DeviceCatalogue::kNimbrel, DeviceCatalogue::kEmbervale,
                        DeviceCatalogue::kNightcrest })
    {
        SCOPED_TRACE(device);
        useTheme(device);
        juce::TextButton button("UPDATE");
        button.setSize(90, 20);
        EXPECT_GT(RenderProbe::countNear(paintWith(laf, button), theme(1)), 10);

        button.setEnabled(false);
        EXPECT_EQ(RenderProbe::countNear(paintWith(laf, button), theme(1), 8), 0);
    }
}

TEST_F(LookAndFeelTest, NotificationLinesKeepTheirOwnTextColour)
{
    useTheme(DeviceCatalogue::kNimbrel);
    juce::TextButton line("Nimbrel firmware update available");
    line.setSize(400, 18);
    line.setColour(juce::TextButton::textColourOffId, juce::Colour(0xFFBFBFBF));
    const auto image = paintWith(laf, line);
    EXPECT_GT(RenderProbe::countNear(image, juce::Colour(0xFFBFBFBF)), 10);
    EXPECT_EQ(RenderProbe::countNear(image, theme(1), 8), 0);
}

TEST_F(LookAndFeelTest, FontsFollowWidgetHeightsAndTheFontSizeProperty)
{
    juce::TextButton button;
    EXPECT_FLOAT_EQ(laf.getTextButtonFont(button, 20).getHeight(), 10.0f);
    EXPECT_FLOAT_EQ(laf.getTextButtonFont(button, 12).getHeight(), 7.2f);
    EXPECT_FLOAT_EQ(laf.getTextButtonFont(button, 40).getHeight(), 10.0f);
    EXPECT_TRUE(laf.getTextButtonFont(button, 20).isBold());

    juce::ComboBox box;
    box.setSize(160, 24);
    EXPECT_FLOAT_EQ(laf.getComboBoxFont(box).getHeight(), 0.85f * 24.0f);
    box.getProperties().set("fontSize", 0.0);
    EXPECT_FLOAT_EQ(laf.getComboBoxFont(box).getHeight(), 0.85f * 24.0f);
    box.getProperties().set("fontSize", 10.0);
    EXPECT_FLOAT_EQ(laf.getComboBoxFont(box).getHeight(), 10.0f);
    box.setSize(160, 40);
    EXPECT_FLOAT_EQ(laf.getComboBoxFont(box).getHeight(), 10.0f);
}

TEST_F(LookAndFeelTest, LabelsAreDrawnBoldWhateverTheirOwnFont)
{
    auto makeLabel = [](juce::Font font) {
        auto label = std::make_unique<juce::Label>("lbl_onDevice", "ON DEVICE");
        label->setFont(font);
        label->setColour(juce::Label::textColourId, juce::Colours::black);
        label->setSize(120, 18);
        return label;
    };
    juce::LookAndFeel_V3 framework;
    auto plain = makeLabel(juce::Font(12.0f));
    auto bold = makeLabel(juce::Font(12.0f, juce::Font::bold));
    plain->setLookAndFeel(&framework);
    bold->setLookAndFeel(&framework);
    const auto frameworkPlain = RenderProbe::paint(*plain);
    const auto frameworkBold = RenderProbe::paint(*bold);
    plain->setLookAndFeel(nullptr);
    bold->setLookAndFeel(nullptr);

    const auto ours = paintWith(laf, *plain);
    EXPECT_TRUE(RenderProbe::samePixels(ours, frameworkBold));
    EXPECT_FALSE(RenderProbe::samePixels(ours, frameworkPlain));
}

TEST_F(LookAndFeelTest, KnownProgressFillsItsShareAndAFinishedBarIsFull)
{
    useTheme(DeviceCatalogue::kEmbervale);
    const auto half = paintProgress(laf, 0.5, {});
    EXPECT_EQ(half.getPixelAt(1, 10), theme(1));
    EXPECT_EQ(half.getPixelAt(100, 10), theme(1));
    EXPECT_EQ(half.getPixelAt(101, 10), theme(3));
    EXPECT_EQ(half.getPixelAt(0, 10), theme(3));

    Clock::ScopedManualClock clock(1'000'000);
    const auto full = paintProgress(laf, 1.0, {});
    EXPECT_EQ(full.getPixelAt(1, 10), theme(1));
    EXPECT_EQ(full.getPixelAt(200, 10), theme(1));
    clock.advance(300);
    EXPECT_TRUE(RenderProbe::samePixels(full, paintProgress(laf, 1.0, {})));
}

TEST_F(LookAndFeelTest, UnknownProgressGrowsFromTheRightThenShrinksLeftEvery800Ms)
{
    useTheme(DeviceCatalogue::kNightcrest);
    // Inner width 200: the block's phase is (ms / 2) mod 400.
    Clock::ScopedManualClock clock(2'000'000);  // phase 0: nothing shown yet
    const auto start = paintProgress(laf, -1.0, {});
    EXPECT_EQ(RenderProbe::countNear(start, theme(1), 0), 0);

    clock.set(2'000'200);  // phase 100: the right half
    const auto growing = paintProgress(laf, -1.0, {});
    EXPECT_EQ(growing.getPixelAt(100, 10), theme(3));
    EXPECT_EQ(growing.getPixelAt(101, 10), theme(1));
    EXPECT_EQ(growing.getPixelAt(200, 10), theme(1));

    clock.set(2'000'600);  // phase 300: the left half
    const auto shrinking = paintProgress(laf, -1.0, {});
    EXPECT_EQ(shrinking.getPixelAt(1, 10), theme(1));
    EXPECT_EQ(shrinking.getPixelAt(100, 10), theme(1));
    EXPECT_EQ(shrinking.getPixelAt(101, 10), theme(3));

    clock.set(2'001'000);  // one period after phase 100
    EXPECT_TRUE(RenderProbe::samePixels(paintProgress(laf, -1.0, {}), growing));
    EXPECT_FALSE(RenderProbe::samePixels(growing, shrinking));
}

TEST_F(LookAndFeelTest, ProgressTextIsDrawnInThemeColourTwoOnlyWhenGiven)
{
    useTheme(DeviceCatalogue::kNimbrel);
    // 40 pixels high for a 24-pixel text, so that its strokes have solid pixels.
    EXPECT_GT(RenderProbe::countNear(paintProgress(laf, 0.25, "Program Device... (25%)", 202, 40), theme(2), 0), 20);
    const auto silent = paintProgress(laf, 0.25, {});
    EXPECT_EQ(RenderProbe::countNear(silent, theme(2), 0), 0);
    EXPECT_EQ(RenderProbe::countNear(silent, theme(1), 0) + RenderProbe::countNear(silent, theme(3), 0), 202 * 20);
}

TEST_F(LookAndFeelTest, ABarTooNarrowForAnyBlockDrawsOnlyItsBackground)
{
    useTheme(DeviceCatalogue::kNimbrel);
    Clock::ScopedManualClock clock(123'457);
    const auto image = paintProgress(laf, -1.0, {}, 2);
    EXPECT_EQ(RenderProbe::countNear(image, theme(3), 0), 2 * 20);
}

TEST_F(LookAndFeelTest, AlertIconIsCutOutOfAShapeInThemeColourTwo)
{
    for (int device : { DeviceCatalogue::kBootloader, DeviceCatalogue::kNightcrest })
    {
        useTheme(device);
        for (auto icon : { juce::MessageBoxIconType::InfoIcon, juce::MessageBoxIconType::WarningIcon,
                           juce::MessageBoxIconType::QuestionIcon })
        {
            SCOPED_TRACE(juce::String(device) + " / " + juce::String((int) icon));
            auto alert = alertWith(laf, icon);
            const auto image = RenderProbe::paint(*alert);
            const int size = std::min(130, alert->getHeight() + 20);
            const int centre = size / 2 - size / 10;
            // Inside the shape but clear of the character, then the character's hole at the centre.
            EXPECT_EQ(image.getPixelAt(centre, size - size / 10 - 8), theme(2));
            const int holes = RenderProbe::count(image.getClippedImage({ centre - 6, centre - 10, 12, 30 }),
                                                 [](juce::Colour c) { return c == juce::Colour(0xFF3F3F3F); });
            EXPECT_GT(holes, 20);
        }
    }
}

TEST_F(LookAndFeelTest, AlertWithoutIconDrawsNoThemeColourAndFrameInOutlineColour)
{
    useTheme(DeviceCatalogue::kNimbrel);
    auto alert = alertWith(laf, juce::MessageBoxIconType::NoIcon);
    alert->setColour(juce::AlertWindow::outlineColourId, juce::Colours::red);
    const auto image = RenderProbe::paint(*alert);
    EXPECT_EQ(image.getPixelAt(0, alert->getHeight() / 2), juce::Colours::red);
    EXPECT_EQ(image.getPixelAt(40, 40), juce::Colour(hv_lookAndFeel::kAlertBackground));
}

TEST_F(LookAndFeelTest, ScrollBarThumbIsInsetAndDoublesItsAlphaUnderTheMouse)
{
    juce::ScrollBar bar(true);
    bar.setColour(juce::ScrollBar::thumbColourId, juce::Colour(0x80FF0000));
    auto paintThumb = [&](bool over) {
        return RenderProbe::paint(12, 100, [&](juce::Graphics& g) { laf.drawScrollbar(g, bar, 0, 0, 12, 100, true, 20, 40, over, false); });
    };
    const auto resting = paintThumb(false);
    EXPECT_EQ(resting.getPixelAt(6, 40).getAlpha(), 0x80);
    EXPECT_EQ(resting.getPixelAt(6, 21).getAlpha(), 0);  // indent of a quarter of the width
    EXPECT_EQ(resting.getPixelAt(1, 40).getAlpha(), 0);
    EXPECT_EQ(paintThumb(true).getPixelAt(6, 40).getAlpha(), 0xFF);
}

TEST_F(LookAndFeelTest, CaretTakesTheEditorsCaretColour)
{
    juce::TextEditor editor;
    editor.setColour(juce::CaretComponent::caretColourId, juce::Colours::orange);
    std::unique_ptr<juce::CaretComponent> caret(laf.createCaretComponent(&editor));
    EXPECT_EQ(caret->findColour(juce::CaretComponent::caretColourId), juce::Colours::orange);
}
