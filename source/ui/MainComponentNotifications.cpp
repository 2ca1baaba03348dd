#include "app/BuildInfo.h"
#include "app/SettingsKeys.h"
#include "diagnostics/SystemReport.h"
#include "ui/Dialogs.h"
#include "ui/MainComponent.h"
#include "ui/Theme.h"

int MainComponent::AddNotification(const juce::String& key, const juce::String& text)
{
    RemoveNotification(key);
    logToFile("AddNotification( " + key + " )");

    int slot = 0;
    while (slot < Notification::kMaxButtons && m_notificationButtons[(size_t) slot] != nullptr)
        ++slot;
    if (slot == Notification::kMaxButtons)
        return -1;  // the strip is full; the program never raises more than four keys

    auto button = std::make_unique<juce::TextButton>("btn" + key);
    addAndMakeVisible(*button);
    button->toFront(false);
    button->addListener(this);
    button->setButtonText(text);
    button->setEnabled(false);
    m_notificationButtons[(size_t) slot] = std::move(button);

    Notification entry;
    entry.key = key;
    entry.button = slot;
    m_notifications.push_back(entry);
    LayoutNotifications();

    for (size_t i = 0; i < m_notifications.size(); ++i)
        if (m_notifications[i].key == key)
            return (int) i;
    return -1;
}

void MainComponent::RemoveNotification(const juce::String& key)
{
    if (m_notifications.empty())
        return;
    logToFile("RemoveNotification( " + key + " )");
    for (auto it = m_notifications.begin(); it != m_notifications.end(); ++it)
    {
        if (it->key != key)
            continue;
        m_notificationButtons[(size_t) it->button].reset();
        m_notifications.erase(it);
        break;
    }
    LayoutNotifications();
}

void MainComponent::LayoutNotifications()
{
    for (size_t i = 0; i < m_notifications.size(); ++i)
    {
        auto& n = m_notifications[i];
        n.bounds = Notification::boundsFor((int) i);
        if (auto* button = m_notificationButtons[(size_t) n.button].get())
            button->setBounds(n.bounds);
    }
    OnFlagsChanged();
}

void MainComponent::ApplyNotificationColour(int index)
{
    if (index < 0 || index >= (int) m_notifications.size())
        return;
    const auto& n = m_notifications[(size_t) index];
    const uint32_t colour = n.device == m_connectedDevice ? n.colour : 0xFFBFBFBF;
    if (auto* button = m_notificationButtons[(size_t) n.button].get())
    {
        button->setColour(juce::TextButton::textColourOffId, juce::Colour(colour));
        button->repaint();
    }
}

void MainComponent::AddFirmwareNotification(int device)
{
    const auto* row = deviceRow(device);
    if (row == nullptr)
        return;
    const int index = AddNotification(row->platformTag + "_UPDATE",
                                      row->name + " firmware update available ("
                                          + m_availableUpdates[(size_t) device].availableVersion.toString() + ")");
    if (index < 0)
        return;
    m_notifications[(size_t) index].colour = Theme::forDevice(device)[0];
    m_notifications[(size_t) index].device = device;
    ApplyNotificationColour(index);
}

void MainComponent::RemoveFirmwareNotification(int device)
{
    if (const auto* row = deviceRow(device))
        RemoveNotification(row->platformTag + "_UPDATE");
}

void MainComponent::OnNotificationClicked(const juce::String& key)
{
    if (key == Notification::kAppUpdateKey)
        OfferAppUpdate();
    else if (m_connectedDevice > 0 && key == m_devices[(size_t) m_connectedDevice].platformTag + "_UPDATE")
        GetUpdate(m_connectedDevice, false);
    else
        FirmwareUpdateAvailableAlert(key);
}

void MainComponent::FirmwareUpdateAvailableAlert(const juce::String& key)
{
    logMessage("[Alert: Firmware Update Available]", false);
    int model = 0;
    for (int d = 1; d < DeviceCatalogue::kDeviceCount && model == 0; ++d)
        if (m_devices[(size_t) d].platformTag + "_UPDATE" == key)
            model = d;
    if (model == 0)
    {
        RemoveNotification(key);
        return;
    }
    AlertRequest request;
    request.title = "Firmware Update Available";
    request.message = "A firmware update for " + DeviceName(model)
                    + " is available.  Please connect \r\nyour device then click this notification again to update.";
    request.icon = juce::MessageBoxIconType::InfoIcon;
    request.buttons = { { "OK", 1, juce::KeyPress(juce::KeyPress::returnKey) } };
    Dialogs::get().runAlert(request);
}

juce::String MainComponent::aboutMessage()
{
    const juce::String nl = "\r\n";
    juce::String m = "Halvane Update Tool:" + nl + "\t" + BuildInfo::appBuildString() + nl + nl;
    m << "Connected Device:" << nl;
    if (m_themeDevice != 0)
    {
        m << "\t" << DeviceName(m_themeDevice) << nl << "\t" << m_deviceVersion.toString() << nl << "\t"
          << "Serial# " << m_serialNumber << nl;
    }
    else
    {
        m << "\tNone" << nl << nl << "Last Active Device:" << nl;
        const auto lastDevice = m_settings->getValue(SettingsKeys::kLastActiveDevice);
        if (lastDevice.isNotEmpty())
            m << "\t" << lastDevice << nl << "\t" << m_settings->getValue(SettingsKeys::kLastActiveVersion) << nl
              << "\tSerial# " << m_settings->getValue(SettingsKeys::kLastActiveSerial) << nl;
        else
            m << "\tNone" << nl;
    }
    m << nl << "Your System:" << nl << "\t" << SystemReport::operatingSystemName()
      << (SystemReport::isWow64Process() ? " (64 bit)" : "") << nl;
    m << "\t" << juce::SystemStats::getNumCpus() << " cores, " << juce::SystemStats::getCpuSpeedInMegahertz() << "MHz ("
      << juce::SystemStats::getCpuVendor() << ")" << nl;
    m << "\t" << juce::SystemStats::getMemorySizeInMegabytes() << "mb RAM";
    return m;
}

void MainComponent::AboutPopupAlert()
{
    logToFile("AboutPopupAlert()");
    const auto message = aboutMessage();
    AlertRequest request;
    request.title = "About";
    request.message = message;
    request.icon = juce::MessageBoxIconType::InfoIcon;
    request.buttons = { { "Copy Info", 1, juce::KeyPress(juce::KeyPress::returnKey) },
                        { "Check for Updates", 2, juce::KeyPress() },
                        { "Close", 0, juce::KeyPress(juce::KeyPress::escapeKey) } };
    const int result = Dialogs::get().runAlert(request).result;
    if (result == 1)
    {
        logToFile(" - message copied to clipboard");
        juce::SystemClipboard::copyTextToClipboard(message);
    }
    else if (result == 2)
    {
        ForgetSkippedUpdate(0);
        m_settingsPanel.setVisible(false);
        RefreshStateDisplay(m_state);
        repaint();
        CheckForNewAppUpdate(!IsAppCheckRunning(), true);
    }
}

void MainComponent::OnDeviceUpToDate()
{
    logMessage("<RED>Device is up to date.", false);
    setStatusLine("Device is up to date.", true);
    SetNextState(COMM_STATE_IDLE);
}

void MainComponent::SkipUpdate(int device, const VersionInfo& version)
{
    if (deviceRow(device) == nullptr)
        return;
    m_ignoredVersion[(size_t) device] = version;
    m_settings->setValue(SettingsKeys::kIgnoredUpdate + m_devices[(size_t) device].platformTag, version.toString());
}

void MainComponent::ForgetSkippedUpdate(int device)
{
    if (deviceRow(device) == nullptr)
        return;
    m_settings->removeValue(SettingsKeys::kIgnoredUpdate + m_devices[(size_t) device].platformTag);
    m_ignoredVersion[(size_t) device] = VersionInfo();
}

void MainComponent::ForgetAllSkippedUpdates()
{
    for (int device = 0; device < DeviceCatalogue::kDeviceCount; ++device)
        ForgetSkippedUpdate(device);
}
