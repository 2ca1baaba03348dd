#include "ui/HvLookAndFeel.h"

#include "app/Clock.h"

namespace
{
// Which theme slot each framework colour takes.
struct ColourSlot
{
    int colourId;
    int slot;
};

const ColourSlot kColourSlots[] = {
    { juce::TextEditor::backgroundColourId, 3 },     { juce::TextEditor::textColourId, 1 },
    { juce::TextEditor::highlightColourId, 2 },      { juce::TextEditor::highlightedTextColourId, 1 },
    { juce::TextEditor::outlineColourId, 2 },        { juce::TextEditor::focusedOutlineColourId, 1 },
    { juce::TextEditor::shadowColourId, 2 },         { juce::AlertWindow::textColourId, 1 },
    { juce::AlertWindow::outlineColourId, 2 },       { juce::TextButton::buttonColourId, 3 },
    { juce::TextButton::textColourOffId, 1 },        { juce::ListBox::backgroundColourId, 3 },
    { juce::ListBox::outlineColourId, 3 },           { juce::ListBox::textColourId, 1 },
    { juce::ScrollBar::thumbColourId, 1 },           { juce::ScrollBar::trackColourId, 2 },
    { juce::ScrollBar::backgroundColourId, 2 },      { juce::Label::textColourId, 3 },
    { juce::ComboBox::backgroundColourId, 3 },       { juce::ComboBox::textColourId, 1 },
    { juce::ComboBox::outlineColourId, 1 },          { juce::ComboBox::buttonColourId, 2 },
    { juce::ComboBox::arrowColourId, 2 },            { juce::PopupMenu::backgroundColourId, 3 },
    { juce::PopupMenu::textColourId, 1 },            { juce::ProgressBar::backgroundColourId, 3 },
    { juce::ProgressBar::foregroundColourId, 1 },
};

juce::Colour themeColour(int slot)
{
    return juce::Colour(s_theme[(size_t) slot]);
}

constexpr int kIconSlot = 2;  // alert icon and progress-bar text

float enabledAlpha(const juce::Component& component)
{
    return component.isEnabled() ? 1.0f : 0.5f;
}

// The raised, lit shape of a text button, used behind combo boxes too.
void fillRaisedShape(juce::Graphics& g, const juce::Path& outline, juce::Colour base, float height)
{
    const float brightness = base.getBrightness();
    const float alpha = base.getFloatAlpha();
    g.setGradientFill(juce::ColourGradient::vertical(base.brighter(0.2f), 0.0f, base.darker(0.25f), height));
    g.fillPath(outline);
    g.setColour(juce::Colours::white.withAlpha(0.4f * alpha * brightness * brightness));
    g.strokePath(outline, juce::PathStrokeType(1.0f),
                 juce::AffineTransform::translation(0.0f, 1.0f).scaled(1.0f, (height - 1.6f) / height));
    g.setColour(juce::Colours::black.withAlpha(0.4f * alpha));
    g.strokePath(outline, juce::PathStrokeType(1.0f));
}

void fillUpDownArrows(juce::Graphics& g, juce::Rectangle<float> button, juce::Colour colour)
{
    const auto at = [&button](float fx, float fy) {
        return juce::Point<float>(button.getX() + button.getWidth() * fx, button.getY() + button.getHeight() * fy);
    };
    juce::Path arrows;
    arrows.addTriangle(at(0.5f, 0.25f), at(0.7f, 0.45f), at(0.3f, 0.45f));
    arrows.addTriangle(at(0.5f, 0.75f), at(0.7f, 0.55f), at(0.3f, 0.55f));
    g.setColour(colour);
    g.fillPath(arrows);
}

// The alert icon's outline: a rounded triangle for warnings, a circle for the others, with its
// character cut out.
juce::Path alertIconShape(juce::MessageBoxIconType type, juce::Rectangle<float> area)
{
    juce::Path icon;
    juce::juce_wchar character = '!';
    if (type == juce::MessageBoxIconType::WarningIcon)
    {
        icon.addTriangle(area.getCentreX(), area.getY(), area.getRight(), area.getBottom(), area.getX(),
                         area.getBottom());
        icon = icon.createPathWithRoundedCorners(5.0f);
    }
    else
    {
        character = type == juce::MessageBoxIconType::InfoIcon ? 'i' : '?';
        icon.addEllipse(area);
    }
    juce::GlyphArrangement glyph;
    glyph.addFittedText(juce::Font(area.getHeight() * 0.9f, juce::Font::bold), juce::String::charToString(character),
                        area.getX(), area.getY(), area.getWidth(), area.getHeight(), juce::Justification::centred, 1);
    glyph.createPath(icon);
    icon.setUsingNonZeroWinding(false);
    return icon;
}

int alertIconSize(juce::AlertWindow& alert, const juce::Rectangle<int>& textArea)
{
    int size = std::min(130, alert.getHeight() + 20);
    if (alert.containsAnyExtraComponents() || alert.getNumButtons() > 2)
        size = std::min(size, textArea.getHeight() + 50);
    return size;
}

// The moving block of a bar of unknown progress: it grows from the right end to the full inner
// width, then shrinks towards the left end; one cycle every 4 × inner width milliseconds.
juce::Rectangle<int> unknownProgressBlock(int width, int height, int64_t nowMs)
{
    const int inner = width - 2;
    if (inner <= 0)
        return {};
    const int phase = (int) ((nowMs / 2) % (2 * (int64_t) inner));
    const int remaining = 2 * inner - phase;
    if (remaining < inner)
        return { 1, 1, remaining, height - 2 };
    return { remaining - inner + 1, 1, phase, height - 2 };
}
}

void hv_lookAndFeel::applyTheme(const Theme::Colours& theme)
{
    for (const auto& entry : kColourSlots)
        setColour(entry.colourId, juce::Colour(theme[(size_t) entry.slot]));
    setColour(juce::AlertWindow::backgroundColourId, juce::Colour(kAlertBackground));
}

void hv_lookAndFeel::drawScrollbar(juce::Graphics& g, juce::ScrollBar& bar, int x, int y, int width, int height,
                                   bool vertical, int thumbStart, int thumbSize, bool isMouseOver, bool isMouseDown)
{
    juce::Path thumb;
    if (thumbSize > 0)
    {
        const float indent = 0.25f * (float) (vertical ? width : height);
        const float breadth = (float) (vertical ? width : height) - 2.0f * indent;
        const float length = (float) thumbSize - 2.0f * indent;
        const float along = (float) thumbStart + indent;
        if (vertical)
            thumb.addRoundedRectangle((float) x + indent, along, breadth, length, breadth * 0.5f);
        else
            thumb.addRoundedRectangle(along, (float) y + indent, length, breadth, breadth * 0.5f);
    }
    const bool active = isMouseOver || isMouseDown;
    auto colour = bar.findColour(juce::ScrollBar::thumbColourId, true);
    if (active)
        colour = colour.withMultipliedAlpha(2.0f);
    g.setColour(colour);
    g.fillPath(thumb);
    g.setColour(colour.contrasting(active ? 0.2f : 0.1f));
    g.strokePath(thumb, juce::PathStrokeType(1.0f));
}

juce::Font hv_lookAndFeel::getTextButtonFont(juce::TextButton&, int buttonHeight)
{
    const float height = juce::jlimit(0.1f, 10000.0f, std::min(0.6f * (float) buttonHeight, 10.0f));
    return juce::Font(juce::Font::getDefaultSansSerifFontName(), "Bold", height);
}

void hv_lookAndFeel::drawButtonText(juce::Graphics& g, juce::TextButton& button, bool, bool)
{
    const auto font = getTextButtonFont(button, button.getHeight());
    const auto colourId = button.getToggleState() ? juce::TextButton::textColourOnId : juce::TextButton::textColourOffId;
    g.setFont(font);
    g.setColour(button.findColour(colourId).withMultipliedAlpha(enabledAlpha(button)));

    const int yIndent = std::min(4, button.proportionOfHeight(0.3f));
    const int corner = std::min(button.getWidth(), button.getHeight()) / 2;
    const int fontIndent = juce::roundToInt(font.getHeight() * 0.6f);
    const int left = std::min(fontIndent, 2 + corner / (button.isConnectedOnLeft() ? 4 : 2));
    const int right = std::min(fontIndent, 2 + corner / (button.isConnectedOnRight() ? 4 : 2));
    const int textWidth = button.getWidth() - left - right;
    if (textWidth > 0)
        g.drawFittedText(button.getButtonText(), left, yIndent, textWidth, button.getHeight() - 2 * yIndent,
                         juce::Justification::centred, 2);
}

juce::CaretComponent* hv_lookAndFeel::createCaretComponent(juce::Component* keyFocusOwner)
{
    auto* caret = new juce::CaretComponent(keyFocusOwner);
    if (keyFocusOwner != nullptr)
        caret->setColour(juce::CaretComponent::caretColourId,
                         keyFocusOwner->findColour(juce::CaretComponent::caretColourId, true));
    return caret;
}

void hv_lookAndFeel::drawAlertBox(juce::Graphics& g, juce::AlertWindow& alert, const juce::Rectangle<int>& textArea,
                                  juce::TextLayout& textLayout)
{
    g.fillAll(alert.findColour(juce::AlertWindow::backgroundColourId));

    int iconSpace = 0;
    if (alert.getAlertType() != juce::MessageBoxIconType::NoIcon)
    {
        const int size = alertIconSize(alert, textArea);
        const juce::Rectangle<int> iconArea { -size / 10, -size / 10, size, size };
        g.setColour(themeColour(kIconSlot));
        g.fillPath(alertIconShape(alert.getAlertType(), iconArea.toFloat()));
        iconSpace = kAlertIconSpace;
    }

    g.setColour(alert.findColour(juce::AlertWindow::textColourId));
    textLayout.draw(g, textArea.withTrimmedLeft(iconSpace).toFloat());

    g.setColour(alert.findColour(juce::AlertWindow::outlineColourId));
    g.drawRect(alert.getLocalBounds());
}

void hv_lookAndFeel::drawComboBox(juce::Graphics& g, int width, int height, bool, int buttonX, int buttonY, int buttonW,
                                  int buttonH, juce::ComboBox& box)
{
    const float shapeWidth = (float) width - 1.0f;
    const float shapeHeight = (float) height - 1.0f;
    if (shapeWidth > 0.0f && shapeHeight > 0.0f)
    {
        const auto base = box.findColour(juce::ComboBox::backgroundColourId)
                              .withMultipliedSaturation(box.hasKeyboardFocus(true) ? 1.3f : 0.9f)
                              .withMultipliedAlpha(box.isEnabled() ? 0.9f : 0.5f);
        juce::Path outline;
        outline.addRoundedRectangle(0.5f, 0.5f, shapeWidth, shapeHeight, 4.0f);
        fillRaisedShape(g, outline, base, shapeHeight);
    }
    const auto arrowColour = box.findColour(juce::ComboBox::arrowColourId).withMultipliedAlpha(box.isEnabled() ? 1.0f : 0.3f);
    fillUpDownArrows(g, juce::Rectangle<int>(buttonX, buttonY, buttonW, buttonH).toFloat(), arrowColour);
}

juce::Font hv_lookAndFeel::getComboBoxFont(juce::ComboBox& box)
{
    double height = box.getProperties()["fontSize"];
    if (!(height > 0.0))
        height = 0.85 * box.getHeight();
    return LookAndFeel_V3::getComboBoxFont(box).withHeight((float) height);
}

void hv_lookAndFeel::drawLabel(juce::Graphics& g, juce::Label& label)
{
    g.fillAll(label.findColour(juce::Label::backgroundColourId));
    const float alpha = enabledAlpha(label);
    if (!label.isBeingEdited())
    {
        const auto font = getLabelFont(label).boldened();
        const auto textArea = getLabelBorderSize(label).subtractedFrom(label.getLocalBounds());
        g.setColour(label.findColour(juce::Label::textColourId).withMultipliedAlpha(alpha));
        g.setFont(font);
        g.drawFittedText(label.getText(), textArea, label.getJustificationType(),
                         std::max(1, (int) ((float) textArea.getHeight() / font.getHeight())),
                         label.getMinimumHorizontalScale());
        g.setColour(label.findColour(juce::Label::outlineColourId).withMultipliedAlpha(alpha));
    }
    else if (label.isEnabled())
    {
        g.setColour(label.findColour(juce::Label::outlineColourId));
    }
    g.drawRect(label.getLocalBounds());
}

juce::Font hv_lookAndFeel::getLabelFont(juce::Label& label)
{
    return label.getFont();
}

void hv_lookAndFeel::drawProgressBar(juce::Graphics& g, juce::ProgressBar& bar, int width, int height, double progress,
                                     const juce::String& text)
{
    g.fillAll(bar.findColour(juce::ProgressBar::backgroundColourId));
    g.setColour(bar.findColour(juce::ProgressBar::foregroundColourId));
    // A finished bar (exactly 1) is shown full; only values outside 0 to 1 mean "unknown".
    if (progress >= 0.0 && progress <= 1.0)
    {
        const double filled = juce::jlimit(0.0, (double) (width - 2), (width - 2) * progress);
        g.fillRect(juce::Rectangle<double>(1.0, 1.0, filled, height - 2.0).toFloat());
    }
    else
    {
        g.fillRect(unknownProgressBlock(width, height, Clock::nowMs()));
    }

    if (text.isNotEmpty())
    {
        g.setColour(themeColour(kIconSlot));
        g.setFont(g.getCurrentFont().withHeight(0.6f * (float) height));
        g.drawText(text, 0, 0, width, height, juce::Justification::centred, false);
    }
}
