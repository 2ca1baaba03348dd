#include "device/AppCommon.h"
#include "ui/ChangelogAlert.h"
#include "ui/Dialogs.h"

// Flashing itself is not in this version: an accepted update downloads and checks the image and
// then reaches the signature step, which says so.
void AppCommon::GetUpdate(int device, bool forced)
{
    logToFile(juce::String::repeatedString("=", 61));
    logToFile("GetUpdate(" + juce::String(device) + ", " + juce::String(forced ? 1 : 0) + ")");
    if (device <= DeviceCatalogue::kBootloader || deviceRow(device) == nullptr)
        return;

    updateDevice = device;
    updateInfoFile = DeviceUpdateFile(device);
    updateChangelogFile = DeviceChangelogFile(device);
    updatePath = DeviceURL(device, m_bBetaChannel);
    logToFile("update path: " + updatePath);
    logToFile("update file: " + updateInfoFile);
    logToFile("update changelog: " + updateChangelogFile);
    forcedUpdate = forced;
    m_timerIntervalMs = 100;

    const auto& available = m_availableUpdates[(size_t) device];
    if (m_deviceVersion.isOlderThan(available.availableVersion) || (forced && !available.availableVersion.isZero()))
    {
        updateVersion = available.availableVersion.toString();
        updateImageFile = available.availableFile;
        updateSize = available.availableSize;
        updateMD5 = available.availableMD5;
        changelogAvailable = IsChangelogCached(device, updateVersion);
        OfferUpdate();
    }
    else
    {
        SetNextState(m_bRecoveryMode ? COMM_INITIALIZE_UPDATE_INFO : COMM_GET_CHANGELOG);
    }
    RefreshStateDisplay(m_state);
}

bool AppCommon::IsUpdateNeeded()
{
    if (forcedUpdate)
    {
        logToFile("-- Force Update");
        return true;
    }
    return m_deviceVersion.isOlderThan(VersionInfo(updateVersion));
}

void AppCommon::OfferUpdate()
{
    int result = 1;
    if (m_bRecoveryMode)
    {
        CloseProgress();
        AlertRequest request;
        request.title = "Recover Device: " + DeviceName(updateDevice);
        request.message = "Current version available is\r\n" + updateVersion + "\r\n\r\nClick OK to begin recovery.";
        request.icon = juce::MessageBoxIconType::WarningIcon;
        request.buttons = { { "OK", 1, juce::KeyPress(juce::KeyPress::returnKey) } };
        logToFile("[Alert: Recover Device] " + request.message);
        Dialogs::get().runAlert(request);
    }
    else if (!forcedUpdate)
    {
        CloseProgress();
        AlertRequest request;
        request.title = "Firmware update available";
        request.message = "A new version is available.\r\n(" + updateVersion + ")\r\n\r\nUpdate now?";
        request.icon = juce::MessageBoxIconType::QuestionIcon;
        request.buttons.push_back({ "OK", 1, juce::KeyPress(juce::KeyPress::returnKey) });
        if (changelogAvailable)
            request.buttons.push_back({ "View Changelog", 2, juce::KeyPress() });
        request.buttons.push_back({ "Cancel", 0, juce::KeyPress(juce::KeyPress::escapeKey) });
        logToFile("[Alert: Update Available] " + request.message);
        result = Dialogs::get().runAlert(request).result;
        if (result == 2)
            result = ChangelogAlert::Show(request.title, updateVersion, LoadChangelog(updateDevice, updateVersion, {}));
    }

    if (result != 1)
    {
        logToFile(" - CANCEL");
        SetNextState(COMM_STATE_IDLE);
        return;
    }
    logToFile(" - OK");
    SetNextState(COMM_CHECK_UPDATE_DATA);
}
