#include "ui/AlertTextBoxes.h"

#include <cmath>

AlertTextBox::AlertTextBox(juce::AlertWindow* owner, float fontHeight, const juce::String& text)
{
    setReadOnly(true);
    setMultiLine(true, true);
    setCaretVisible(false);
    setScrollbarsShown(true);
    setWantsKeyboardFocus(false);

    const juce::Font font(fontHeight);
    setFont(font);
    setText(text, false);

    if (owner != nullptr)
        adoptOwnerColours(*owner);
    setColour(juce::TextEditor::backgroundColourId, juce::Colour(0x00000000));
    setColour(juce::TextEditor::outlineColourId, juce::Colour(0x00000000));
    setColour(juce::TextEditor::shadowColourId, juce::Colour(0x00000000));

    const int textWidth = (int) std::ceil(font.getStringWidthFloat(text));
    m_bestWidth = 2 * (int) std::sqrt((double) textWidth * fontHeight);

    const int width = (int) (m_bestWidth * 0.8);
    juce::AttributedString layoutText;
    layoutText.setJustification(juce::Justification::topLeft);
    layoutText.append(text, font);
    juce::TextLayout layout;
    layout.createLayout(layoutText, (float) (width - 8));
    const int height = juce::jmin(width, (int) (layout.getHeight() + fontHeight));
    setSize(width, height);
}

void AlertTextBox::adoptOwnerColours(const juce::AlertWindow& owner)
{
    if (owner.isColourSpecified(juce::AlertWindow::textColourId))
        setColour(juce::TextEditor::textColourId, owner.findColour(juce::AlertWindow::textColourId));
}

AlertExtraInfo::AlertExtraInfo(juce::AlertWindow* owner, const juce::String& extraText)
    : AlertTextBox(owner, 11.0f, "Additional info:\r\n" + extraText)
{
}

AlertChangelogDisplay::AlertChangelogDisplay(juce::AlertWindow* owner, const juce::String& changelog)
    : AlertTextBox(owner, 12.0f, changelog)
{
}

AlertSpacer::AlertSpacer(juce::AlertWindow* owner) : AlertTextBox(owner, 12.0f, " ")
{
}
