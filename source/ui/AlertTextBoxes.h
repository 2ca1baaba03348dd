#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// Read-only text boxes placed inside alert windows; each sizes itself to a roughly square block
// whose height never exceeds its width.
class AlertTextBox : public juce::TextEditor
{
public:
    int bestWidth() const { return m_bestWidth; }

    // Takes the text colour of the alert that shows the box, when that alert has one.
    void adoptOwnerColours(const juce::AlertWindow& owner);

protected:
    AlertTextBox(juce::AlertWindow* owner, float fontHeight, const juce::String& text);

private:
    int m_bestWidth = 0;
};

class AlertExtraInfo : public AlertTextBox
{
public:
    AlertExtraInfo(juce::AlertWindow* owner, const juce::String& extraText);
    ~AlertExtraInfo() override = default;
};

class AlertChangelogDisplay : public AlertTextBox
{
public:
    AlertChangelogDisplay(juce::AlertWindow* owner, const juce::String& changelog);
    ~AlertChangelogDisplay() override = default;
};

class AlertSpacer : public AlertTextBox
{
public:
    explicit AlertSpacer(juce::AlertWindow* owner);
    ~AlertSpacer() override = default;
};
