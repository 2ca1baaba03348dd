#include "app/Clock.h"
#include "ui/MainComponent.h"

void MainComponent::RefreshStateDisplay(int state)
{
    const int c = juce::jmax(0, m_connectedDevice);
    m_btnOpenSettings.setEnabled(true);
    const bool panel = m_settingsPanel.isVisible();
    placeSettingsPanel();

    bool skipped = true;
    if (c > 0 && c < DeviceCatalogue::kDeviceCount)
    {
        const auto& ignored = m_ignoredVersion[(size_t) c];
        skipped = !ignored.isZero() && !ignored.isOlderThan(m_availableUpdates[(size_t) c].availableVersion);
    }
    const int displayState = m_bPowerCyclePending ? (int) COMM_REBOOT_DEVICE : state;

    refreshUpdateButton(c, skipped, displayState);
    refreshManualButton(c, panel);
    const bool notificationsEnabled = refreshControlsForState(c, skipped, panel, displayState);

    for (const auto& n : m_notifications)
        if (auto* button = m_notificationButtons[(size_t) n.button].get())
            button->setEnabled(notificationsEnabled && !panel);
    for (int i = 0; i < (int) m_notifications.size(); ++i)
        ApplyNotificationColour(i);
    repaint();
}

void MainComponent::refreshUpdateButton(int c, bool skipped, int displayState)
{
    const bool checking = IsFirmwareCheckRunning() || IsAppCheckRunning();
    const bool known = m_deviceVersion.isKnown();
    const auto& available = m_availableUpdates[(size_t) juce::jmin(c, DeviceCatalogue::kDeviceCount - 1)].availableVersion;

    juce::String text = "UPDATE";
    juce::String tip = "Check for firmware updates.";
    if (checking)
        text = "Checking for updates", tip = "Checking for firmware updates.";
    else if (c > 0 && !m_deviceVersion.isOlderThan(available) && known)
        text = "UP TO DATE", tip = "Your firmware is up to date.";
    else if (!skipped && known)
        text = "Update available", tip = "An update is available. Click for more info.";

    if (displayState >= COMM_LOAD_BIN_FILE && displayState <= COMM_VERIFY_DEVICE)
        text = "Updating...";
    else if (displayState >= COMM_GET_CHANGELOG && displayState <= COMM_GET_UPDATE_DATA)
        text = "Retrieving info...";
    m_btnUpdate.setButtonText(text);
    m_btnUpdate.setTooltip(tip);
}

void MainComponent::refreshManualButton(int c, bool panel)
{
    m_btnInstructions.setVisible(m_availableUpdates[(size_t) juce::jmin(c, DeviceCatalogue::kDeviceCount - 1)].docUrl.isNotEmpty());
    if (m_manualLockUntil > Clock::nowMs())
    {
        m_btnInstructions.setEnabled(false);
        return;
    }
    m_manualLockUntil = 0;
    m_btnInstructions.setEnabled(!panel);
}

bool MainComponent::refreshControlsForState(int c, bool skipped, bool panel, int displayState)
{
    auto& s = m_settingsPanel;
    juce::Component* deviceControls[] = { &m_btnUpdate,         &s.m_cbxMidiChannel,    &s.m_cbxBpmMode,
                                          &s.m_cbxDryKill,       &s.m_cbxPingPong,       &m_btnPresetsRefresh,
                                          &m_btnPresetsBackup,   &m_btnPresetsRestore,   &s.m_btnPresetsFactory,
                                          &m_deviceList,         &m_computerList };

    if (displayState == COMM_STATE_ERROR || displayState == COMM_STATE_IDLE)
    {
        const bool checking = IsFirmwareCheckRunning() || IsAppCheckRunning();
        const auto& available = m_availableUpdates[(size_t) juce::jmin(c, DeviceCatalogue::kDeviceCount - 1)].availableVersion;
        m_btnUpdate.setEnabled(c >= 1 && !checking && !skipped && !panel && m_deviceVersion.isOlderThan(available)
                               && m_deviceVersion.isKnown());
        m_btnOpenSettings.setEnabled(!panel);
        m_computerList.setEnabled(!panel);
        // The display is refreshed in the idle state also while a lost pedal is being let go of,
        // and the bootloader holds no presets: the pedal's presets are offered only with a pedal.
        for (juce::Component* control : { (juce::Component*) &m_btnPresetsRefresh, (juce::Component*) &m_btnPresetsBackup,
                                          (juce::Component*) &m_btnPresetsRestore, (juce::Component*) &m_deviceList })
            control->setEnabled(!panel && c >= 1);
        s.m_cbxMidiChannel.setEnabled(panel);
        s.m_btnPresetsFactory.setEnabled(panel);
        s.m_cbxBpmMode.setEnabled(panel && DeviceSupportsFeature(m_connectedDevice, DeviceCatalogue::kOptionBpmMode, m_deviceVersion));
        s.m_cbxDryKill.setEnabled(panel && DeviceSupportsFeature(m_connectedDevice, DeviceCatalogue::kOptionDryKill, m_deviceVersion));
        s.m_cbxPingPong.setEnabled(panel && DeviceSupportsFeature(m_connectedDevice, DeviceCatalogue::kOptionPingPong, m_deviceVersion));
        return !checking;
    }
    if (displayState == COMM_SCAN_FOR_DEVICES)
        return true;
    if ((displayState >= COMM_LOAD_BIN_FILE && displayState <= COMM_GET_UPDATE_DATA)
        || displayState == COMM_RESTORE_PRESETS_FROM_ARCHIVE)
        m_btnOpenSettings.setEnabled(false);
    for (auto* control : deviceControls)
        control->setEnabled(false);
    m_tooltips.hideTip();
    return false;
}
