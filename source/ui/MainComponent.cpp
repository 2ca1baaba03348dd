#include "ui/MainComponent.h"

#include "app/BuildInfo.h"
#include "app/Clock.h"
#include "app/ProcessLauncher.h"
#include "diagnostics/LogFormat.h"
#include "diagnostics/SystemReport.h"
#include "update/UpdateUrls.h"
#include "update/UtilityThread.h"

MainComponent::MainComponent()
{
    addButton(m_btnUpdate, "UPDATE", "Check for firmware updates.");
    addButton(m_btnPresetsRefresh, "REFRESH", "Refresh the on-device preset list.");
    addButton(m_btnPresetsBackup, "BACKUP", "Backup all presets from your Nimbrel.");
    addButton(m_btnPresetsRestore, "RESTORE", "Restore presets to your Nimbrel from an existing backup.");
    addButton(m_btnOpenSettings, "SETTINGS", "Advanced device options and settings.");
    addButton(m_btnInstructions, "USER MANUAL", "View online user manual.");
    m_btnInstructions.setVisible(false);
    setupLabel(m_lblOnDevice);
    setupLabel(m_lblOnComputer);
    setupList(m_deviceList, "Presets on your Nimbrel.\r\nDrag to reorder, or drag to the other list to backup.");
    setupList(m_computerList, "Presets backed-up on your computer.\r\nDrag to the other list to transfer preset to your Nimbrel.");
    addChildComponent(m_dragVisual);
    addChildComponent(m_settingsPanel);

    appBaseUrls = UpdateUrls::AppBaseUrls(m_serverUrls);
    LoadSettings();
    CheckChannelKeys();
    LoadDeviceSettings();
    SetLogRx(true);
    UpdateTheme(0);
    setSize(kWidth, kHeight);
    startTimer(m_timerIntervalMs);
    m_tooltips.setMillisecondsBeforeTipAppears(1500);
    logSystemHeader();
    CheckForNewAppUpdate(true, false);
}

MainComponent::~MainComponent()
{
    stopTimer();
    UtilityThread::waitForRunningWorkers(kWorkerWaitMs);
    if (m_updateTracker != nullptr)
        m_updateTracker->MarkAppClosing();
    for (auto& button : m_notificationButtons)
        button.reset();
}

void MainComponent::addButton(juce::TextButton& button, const juce::String& text, const juce::String& tooltip)
{
    button.setButtonText(text);
    button.setTooltip(tooltip);
    button.addListener(this);
    addAndMakeVisible(button);
    button.setEnabled(false);
}

void MainComponent::setupLabel(juce::Label& label)
{
    label.setFont(juce::Font(12.0f));
    label.setJustificationType(juce::Justification::centredLeft);
    label.setEditable(false);
    label.setColour(juce::Label::textColourId, juce::Colours::black);
    label.setColour(juce::Label::backgroundColourId, juce::Colours::transparentBlack);
    addAndMakeVisible(label);
}

void MainComponent::setupList(juce::ListBox& list, const juce::String& tooltip)
{
    list.setTooltip(tooltip);
    list.setOutlineThickness(4);
    list.addMouseListener(this, true);
    addAndMakeVisible(list);
    list.setEnabled(false);
}

void MainComponent::resized()
{
    m_btnUpdate.setBounds(245, 153, 90, 20);
    m_btnPresetsRefresh.setBounds(245, 184, 90, 20);
    m_btnPresetsBackup.setBounds(245, 230, 90, 20);
    m_btnPresetsRestore.setBounds(245, 261, 90, 20);
    m_btnOpenSettings.setBounds(245, 307, 90, 20);
    m_btnInstructions.setBounds(245, 353, 90, 20);
    m_lblOnDevice.setBounds(39, 130, 120, 18);
    m_lblOnComputer.setBounds(366, 130, 120, 18);
    m_deviceList.setBounds(39, 148, 175, 232);
    m_computerList.setBounds(366, 148, 175, 232);
    placeSettingsPanel();
    for (const auto& n : m_notifications)
        if (auto* button = m_notificationButtons[(size_t) n.button].get())
            button->setBounds(n.bounds);
}

// The panel's rows follow the connected pedal and its firmware, so its size and the places of its
// controls are worked out again whenever the display is refreshed, also while it is open.
void MainComponent::placeSettingsPanel()
{
    m_settingsPanel.applyLayout();
    m_settingsPanel.setBounds(settingsPanelBounds());
}

juce::Rectangle<int> MainComponent::statusArea() const
{
    return { 0, getHeight() - 47, getWidth(), 47 };
}

void MainComponent::repaintChangingAreas()
{
    // Only the header, the banners, the recovery box, the bottom bar's lines and the debug panel
    // change from tick to tick; the lists and buttons repaint themselves when they change.
    repaint(0, 0, getWidth(), 130);
    repaint(statusArea());
    if (m_bDebugMode)
        repaint(kWidth, 0, getWidth() - kWidth, getHeight());
}

juce::Rectangle<int> MainComponent::settingsPanelBounds() const
{
    const int height = m_settingsPanel.panelHeight();
    return { 168, (kHeight - height) / 2, 240, height };
}

void MainComponent::setStatusLine(const juce::String& text, bool repaintNow)
{
    m_statusLines.add(text);
    if (repaintNow)
        repaint(statusArea());
}

void MainComponent::logMessage(const juce::String& text, bool replaceLast)
{
    if (m_bKeepLastLogLine)
    {
        m_bKeepLastLogLine = false;
        replaceLast = false;
    }
    if (replaceLast)
    {
        const juce::String newest = m_debugLines.isEmpty() ? juce::String() : m_debugLines[m_debugLines.size() - 1];
        if (text == newest)
            return;
        if (!m_debugLines.isEmpty())
            m_debugLines.remove(m_debugLines.size() - 1);
    }
    else
    {
        logToFile(text);
    }

    m_debugLines.addArray(LogFormat::splitLines(text));
    if (m_bDebugMode)
        repaint();
}

void MainComponent::logSystemHeader()
{
    logMessage(LogFormat::separator(), false);
    logMessage("System:", false);
    logMessage(SystemReport::getSystemLine(), false);
    logMessage(LogFormat::separator(), false);
    logMessage("Application:", false);
    logMessage("  " + BuildInfo::appTitleWithVersion(), false);
    logMessage("  " + juce::String(getWidth()) + " x " + juce::String(getHeight()) + " px", false);
    logMessage(LogFormat::separator(), false);
}

void MainComponent::MarkTxActivity()
{
    m_lastTxTime = Clock::nowMs();
    if (m_txIndicator == 0)
        m_txIndicator = 2;
}

void MainComponent::MarkRxActivity()
{
    m_lastRxTime = Clock::nowMs();
    if (m_rxIndicator == 0)
        m_rxIndicator = 2;
}

void MainComponent::OnFlagsChanged()
{
    m_pendingSize = { m_bDebugMode ? kDebugWidth : kWidth, kHeight + 18 * (int) m_notifications.size() };
    if (!isShowing())
    {
        m_bFlagsChanged = true;
        return;
    }
    setSize(m_pendingSize.x, m_pendingSize.y);
    repaint();
    m_bFlagsChanged = false;
}

void MainComponent::SetLogUrlRequests(bool flag)
{
    AppCommon::SetLogUrlRequests(flag);
    OnFlagsChanged();
}

void MainComponent::SetBetaChannel(bool flag)
{
    AppCommon::SetBetaChannel(flag);
    OnFlagsChanged();
}

void MainComponent::buttonClicked(juce::Button* button)
{
    logToFile("buttonClicked(" + button->getName() + ")");
    if (button == &m_btnUpdate)
        GetUpdate(m_connectedDevice, false);
    else if (button == &m_btnPresetsRefresh || button == &m_btnPresetsBackup || button == &m_btnPresetsRestore)
        showNotAvailable("Preset transfer");
    else if (button == &m_btnOpenSettings)
        ShowSettingsPanel();
    else if (button == &m_btnInstructions)
    {
        const auto& url = m_availableUpdates[(size_t) juce::jmax(0, m_connectedDevice)].docUrl;
        if (url.isEmpty())
        {
            m_btnInstructions.setVisible(false);
            return;
        }
        m_btnInstructions.setEnabled(false);
        ProcessLauncher::openUrl(url);
        m_manualLockUntil = Clock::nowMs() + 2000;
    }
    else
    {
        for (const auto& n : m_notifications)
            if (m_notificationButtons[(size_t) n.button].get() == button)
                return OnNotificationClicked(n.key);
    }
}

void MainComponent::ShowSettingsPanel()
{
    placeSettingsPanel();
    m_settingsPanel.setVisible(true);
    m_settingsPanel.toFront(false);
    RefreshStateDisplay(m_state);
}

void MainComponent::mouseDown(const juce::MouseEvent& e)
{
    if (!e.mods.isRightButtonDown())
        return;
    const auto position = e.getEventRelativeTo(this).getPosition();
    for (juce::Component* c : std::initializer_list<juce::Component*> {
             &m_btnUpdate, &m_btnPresetsRefresh, &m_btnPresetsBackup, &m_btnPresetsRestore, &m_btnOpenSettings,
             &m_btnInstructions, &m_deviceList, &m_computerList, &m_dragVisual })
        if (c->isVisible() && c->getBounds().contains(position))
            return;

    juce::PopupMenu menu;
    menu.addItem(1, "About");
    menu.showMenuAsync(juce::PopupMenu::Options(), [this](int result) {
        if (result == 1)
            AboutPopupAlert();
    });
}

void MainComponent::showNotAvailable(const juce::String& what)
{
    logMessage("<GREY>" + what + " is not available in this version.", false);
    setStatusLine("<GREY>" + what + " is not available in this version.", true);
}

void MainComponent::ChooseUserDirectory()
{
    showNotAvailable("Changing the user directory");
}

int MainComponent::OptionValueFromSettings(Option option)
{
    const int value = m_settingsPanel.selectedOptionValue(option);
    return value < 0 ? optionValue(option) : value;
}

void MainComponent::SelectOptionItem(Option option, int value)
{
    // The selection's change notification must be known as the pedal's report, not a choice of
    // the user, or the value would be sent straight back; that holds whenever the selection
    // moves, not only when the held value changed (the box starts with nothing selected). When
    // it does not move no notification comes to clear the mark, and a mark left standing would
    // swallow the user's next choice, so it is cleared.
    if (m_settingsPanel.selectedOptionValue(option) != value)
        markOptionChanged(option);
    else
        clearOptionChanged(option);
    m_settingsPanel.selectOptionValue(option, value);
}
