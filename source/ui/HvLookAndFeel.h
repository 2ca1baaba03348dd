#pragma once

#include "ui/Theme.h"

#include <juce_gui_basics/juce_gui_basics.h>

// The one look and feel of the application, installed as the desktop default. Colours come from
// the framework colour table, which applyTheme() fills from the active device theme; the alert
// icon and the progress-bar text read `s_theme` directly. The overridden drawings are owned here
// rather than inherited so a framework upgrade cannot change the product's look.
class hv_lookAndFeel : public juce::LookAndFeel_V3
{
public:
    // Writes a theme's colours into the framework colour table of every widget kind we use.
    void applyTheme(const Theme::Colours& theme);

    void drawScrollbar(juce::Graphics& g, juce::ScrollBar& bar, int x, int y, int width, int height, bool vertical,
                       int thumbStart, int thumbSize, bool isMouseOver, bool isMouseDown) override;

    juce::Font getTextButtonFont(juce::TextButton& button, int buttonHeight) override;
    void drawButtonText(juce::Graphics& g, juce::TextButton& button, bool isHighlighted, bool isDown) override;

    juce::CaretComponent* createCaretComponent(juce::Component* keyFocusOwner) override;

    void drawAlertBox(juce::Graphics& g, juce::AlertWindow& alert, const juce::Rectangle<int>& textArea,
                      juce::TextLayout& textLayout) override;

    void drawComboBox(juce::Graphics& g, int width, int height, bool isButtonDown, int buttonX, int buttonY,
                      int buttonW, int buttonH, juce::ComboBox& box) override;
    juce::Font getComboBoxFont(juce::ComboBox& box) override;

    void drawLabel(juce::Graphics& g, juce::Label& label) override;
    juce::Font getLabelFont(juce::Label& label) override;

    void drawProgressBar(juce::Graphics& g, juce::ProgressBar& bar, int width, int height, double progress,
                         const juce::String& text) override;

    // Width of the space the alert icon takes from the text area.
    static constexpr int kAlertIconSpace = 80;
    // The fixed background of every alert, whatever the theme.
    static constexpr uint32_t kAlertBackground = 0xFF3F3F3F;
};
