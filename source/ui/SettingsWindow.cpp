#include "ui/SettingsWindow.h"

#include "app/BuildInfo.h"
#include "ui/Dialogs.h"
#include "ui/MainComponent.h"

namespace
{
constexpr int kOptionRows = 6;
constexpr int kPanelWidth = 240;
}

SettingsWindow::SettingsWindow(MainComponent& parent) : m_parent(parent)
{
    addButton(m_btnSetUserDir, "CHANGE", "Set the default user directory.");
    addButton(m_btnPresetsFactory, "RESET", "Reset all device settings back to their factory defaults.");
    addButton(m_btnAbout, "ABOUT", "About this application.");
    addButton(m_btnClose, "CLOSE", "Close the Settings window.");
    // Created for the parent's skipped-update reset, but given no row: it stays out of sight.
    m_btnResetIgnored.setButtonText("Reset Skipped Updates");
    m_btnResetIgnored.setTooltip("Reset skipped updates.");
    m_btnResetIgnored.addListener(this);
    addChildComponent(m_btnResetIgnored);

    for (int ch = 1; ch <= 16; ++ch)
        m_cbxMidiChannel.addItem("CH " + juce::String(ch), ch);
    m_cbxMidiChannel.addItem("ANY", 256);
    addComboBox(m_cbxMidiChannel, "Sets the MIDI channel that your Nimbrel responds to.");
    m_cbxBpmMode.addItem("Miliseconds", 1);
    m_cbxBpmMode.addItem("Beats per minute", 2);
    addComboBox(m_cbxBpmMode, "Sets the tempo mode.");
    m_cbxDryKill.addItem("Disabled", 1);
    m_cbxDryKill.addItem("Bypass Mutes", 2);
    m_cbxDryKill.addItem("Bypass Dry", 3);
    addComboBox(m_cbxDryKill, "Sets the Dry Kill mode.");
    m_cbxPingPong.addItem("Mono", 1);
    m_cbxPingPong.addItem("Stereo", 2);
    addComboBox(m_cbxPingPong, "Sets the Ping Pong delay mode.");

    m_rows = {
        { &m_btnSetUserDir, 0, "User Directory", -20, 0, 130 },  { &m_cbxMidiChannel, 1, "Midi Channel", -20, 0, 130 },
        { &m_cbxBpmMode, 2, "Tempo Display", -20, 0, 130 },      { &m_cbxDryKill, 3, "Dry Kill Mode", -20, 0, 130 },
        { &m_cbxPingPong, 4, "Ping Pong Mode", -20, 0, 130 },    { &m_btnPresetsFactory, 5, "Factory Reset", -20, 0, 130 },
        { &m_btnAbout, -1, {}, 0, 0, 90 },                        { &m_btnClose, -1, {}, 0, 0, 90 },
    };
    layoutRows();
}

SettingsWindow::~SettingsWindow() = default;

void SettingsWindow::addButton(juce::TextButton& button, const juce::String& text, const juce::String& tooltip)
{
    button.setButtonText(text);
    button.setTooltip(tooltip);
    button.addListener(this);
    addAndMakeVisible(button);
}

void SettingsWindow::addComboBox(juce::ComboBox& box, const juce::String& tooltip)
{
    box.setTooltip(tooltip);
    box.setEditableText(false);
    box.setJustificationType(juce::Justification::centred);
    box.setText({}, juce::dontSendNotification);
    box.setTextWhenNothingSelected("(no choices)");
    box.getProperties().set("fontSize", 10.0);
    box.addListener(this);
    addAndMakeVisible(box);
}

bool SettingsWindow::rowVisible(int row) const
{
    const auto& r = m_rows[(size_t) row];
    if (r.feature < 0)
        return true;
    const int device = juce::jmax(0, m_parent.connectedDevice());
    return device < DeviceCatalogue::kDeviceCount && DeviceSupportsFeature(device, r.feature, m_parent.deviceVersion());
}

void SettingsWindow::layoutRows()
{
    int y = 64;
    int count = 0;
    for (int row = 0; row < kOptionRows; ++row)
    {
        if (!rowVisible(row))
            continue;
        m_rows[(size_t) row].y = y;
        y += 45;
        ++count;
    }
    m_rowsBottom = y;
    if (count < 2)
        y += 45;
    m_contentBottom = y + 10;
}

void SettingsWindow::resized()
{
    applyLayout();
}

void SettingsWindow::applyLayout()
{
    layoutRows();
    for (int row = 0; row < kOptionRows; ++row)
    {
        const auto& r = m_rows[(size_t) row];
        const bool show = rowVisible(row);
        r.component->setVisible(show);
        if (show)
            r.component->setBounds(r.x + 75, r.y + 15, r.width, 20);
    }
    m_btnAbout.setBounds(75, m_contentBottom, 90, 20);
    m_btnClose.setBounds(75, m_contentBottom + 30, 90, 20);
}

void SettingsWindow::paint(juce::Graphics& g)
{
    layoutRows();
    m_parent.drawPanelBackground(g, { 0, 0, kPanelWidth, m_contentBottom + 70 });
    g.setColour(juce::Colour(0xFF808080));
    g.drawRect(getLocalBounds(), 1);

    g.setColour(m_parent.themeTextColour());
    g.setFont(juce::Font(20.0f, juce::Font::bold));
    g.drawText("SETTINGS", 0, 12, kPanelWidth, 12, juce::Justification::centred, false);
    g.setColour(juce::Colours::black);
    g.setFont(juce::Font(12.0f));
    g.drawText(BuildInfo::appName(), 0, 32, kPanelWidth, 8, juce::Justification::centred, false);
    g.drawText("(" + BuildInfo::appVersionShort() + "." + BuildInfo::appVersionBuild() + "." + BuildInfo::appVersionPatch() + ")",
               0, 44, kPanelWidth, 8, juce::Justification::centred, false);

    int visible = 0;
    g.setFont(juce::Font(12.0f, juce::Font::bold));
    for (int row = 0; row < kOptionRows; ++row)
    {
        const auto& r = m_rows[(size_t) row];
        const bool show = rowVisible(row);
        r.component->setVisible(show);
        if (!show)
            continue;
        ++visible;
        g.drawText(r.label, 0, r.y, kPanelWidth, 12, juce::Justification::centred, false);
    }
    if (visible < 2)
    {
        g.setFont(juce::Font(12.0f));
        g.drawText("Connect device for more settings.", 0, m_rowsBottom + 20, kPanelWidth, 12,
                   juce::Justification::centred, false);
    }
}

void SettingsWindow::buttonClicked(juce::Button* button)
{
    if (button == &m_btnSetUserDir)
        m_parent.ChooseUserDirectory();
    else if (button == &m_btnAbout)
        m_parent.AboutPopupAlert();
    else if (button == &m_btnResetIgnored)
    {
        m_parent.ForgetAllSkippedUpdates();
        repaint();
    }
    else if (button == &m_btnClose)
    {
        setVisible(false);
        m_parent.RefreshStateDisplay(m_parent.state());
        m_parent.repaint();
    }
    else if (button == &m_btnPresetsFactory)
        confirmFactoryReset();
}

void SettingsWindow::confirmFactoryReset()
{
    m_parent.logMessage("<RED>User clicked FACTORY RESET.", false);
    m_parent.setStatusLine("<RED>Factory reset?", true);

    AlertRequest request;
    request.title = "Factory Reset";
    request.message = "This will return all unit setting back to factory defaults.\r\n\r\nContinue?";
    request.icon = juce::MessageBoxIconType::WarningIcon;
    request.buttons = { { "OK", 1, juce::KeyPress(juce::KeyPress::returnKey) },
                        { "Cancel", 0, juce::KeyPress(juce::KeyPress::escapeKey) } };
    if (Dialogs::get().runAlert(request).result != 1)
    {
        m_parent.setStatusLine("Factory reset canceled.", true);
        return;
    }
    m_parent.logMessage("<RED>Factory reset...", false);
    m_parent.setStatusLine("<RED>Performing factory reset.", true);
    m_parent.SetNextState(COMM_FACTORY_RESET);
    setVisible(false);
    m_parent.RefreshStateDisplay(m_parent.state());
    m_parent.repaint();
}

juce::ComboBox* SettingsWindow::comboForOption(int option)
{
    juce::ComboBox* boxes[] = { &m_cbxMidiChannel, &m_cbxBpmMode, &m_cbxDryKill, &m_cbxPingPong };
    return option >= 0 && option < 4 ? boxes[option] : nullptr;
}

void SettingsWindow::comboBoxChanged(juce::ComboBox* box)
{
    static const char* const flagNames[] = { "m_bIgnoreChannelSet", "m_bIgnoreBpmModeSet", "m_bIgnoreDryKillSet",
                                             "m_bIgnorePingPongSet" };
    static const int setStates[] = { COMM_SET_MIDI_CHANNEL, COMM_SET_BPM_MODE, COMM_SET_DRY_KILL, COMM_SET_PING_PONG };

    m_parent.logMessage("comboBoxChanged( " + box->getName() + " ), selectedId: " + juce::String(box->getSelectedId()),
                        false);
    for (int option = 0; option < 4; ++option)
    {
        if (comboForOption(option) != box)
            continue;
        const auto opt = (AppCommon::Option) option;
        const bool fromPedal = m_parent.optionChanged(opt);
        m_parent.logMessage("   " + juce::String(flagNames[option]) + ": " + juce::String(fromPedal ? 1 : 0), false);
        if (!fromPedal)
        {
            m_parent.setOptionValue(opt, box->getSelectedId() - 1);
            m_parent.SetStateAfterOptions(COMM_STATE_IDLE);
            m_parent.SetNextState(setStates[option], true);
        }
        m_parent.clearOptionChanged(opt);
    }
}

void SettingsWindow::selectOptionValue(int option, int value)
{
    if (auto* box = comboForOption(option))
        box->setSelectedId(value + 1, juce::sendNotificationAsync);
}

int SettingsWindow::selectedOptionValue(int option) const
{
    auto* box = const_cast<SettingsWindow*>(this)->comboForOption(option);
    return box != nullptr && box->getSelectedId() > 0 ? box->getSelectedId() - 1 : -1;
}

void SettingsWindow::refreshLook()
{
    for (auto* box : { &m_cbxMidiChannel, &m_cbxBpmMode, &m_cbxDryKill, &m_cbxPingPong })
        box->lookAndFeelChanged();
}
