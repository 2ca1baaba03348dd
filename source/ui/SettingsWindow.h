#pragma once

#include "diagnostics/DebugLogger.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <vector>

class MainComponent;

// The settings panel the main window shows on top of its content: the pedal's options, factory
// reset, the user folder, About and Close. It never talks to the pedal; it asks the state
// machine to send a changed value.
class SettingsWindow : public juce::Component,
                       public juce::Button::Listener,
                       public juce::ComboBox::Listener,
                       public DebugLogger
{
public:
    explicit SettingsWindow(MainComponent& parent);
    ~SettingsWindow() override;

    void layoutRows();
    // Rows, then the bounds and visibility of every row's control.
    void applyLayout();
    void resized() override;
    void paint(juce::Graphics& g) override;
    void buttonClicked(juce::Button* button) override;
    void comboBoxChanged(juce::ComboBox* box) override;

    // After a theme change: the combo boxes pick up the new look.
    void refreshLook();

    // Selects the item standing for `value` (pedal terms: item id - 1) with an asynchronous
    // change notification.
    void selectOptionValue(int option, int value);
    // The value the user chose for an option (item id - 1); -1 when nothing is selected.
    int selectedOptionValue(int option) const;

    int contentBottom() const { return m_contentBottom; }
    int panelHeight() const { return m_contentBottom + 60 + 10; }
    bool rowVisible(int row) const;

    juce::TextButton m_btnSetUserDir { "m_btnSetUserDir" };
    juce::TextButton m_btnPresetsFactory { "m_btnPresetsFactory" };
    juce::TextButton m_btnAbout { "m_btnAbout" };
    juce::TextButton m_btnClose { "m_btnClose" };
    juce::TextButton m_btnResetIgnored { "m_btnResetIgnored" };
    juce::ComboBox m_cbxMidiChannel { "m_cbxMidiChannel" };
    juce::ComboBox m_cbxBpmMode { "m_cbxBpmMode" };
    juce::ComboBox m_cbxDryKill { "m_cbxDryKill" };
    juce::ComboBox m_cbxPingPong { "m_cbxPingPong" };

private:
    struct SettingsRow
    {
        juce::Component* component;
        int feature;  // -1: not an option row
        juce::String label;
        int x;
        int y;
        int width;
    };

    void addButton(juce::TextButton& button, const juce::String& text, const juce::String& tooltip);
    void addComboBox(juce::ComboBox& box, const juce::String& tooltip);
    juce::ComboBox* comboForOption(int option);
    void confirmFactoryReset();

    MainComponent& m_parent;
    std::vector<SettingsRow> m_rows;
    int m_contentBottom = 0;
    int m_rowsBottom = 0;
};
