#include "app/BuildInfo.h"
#include "app/Clock.h"
#include "app/SettingsKeys.h"
#include "ui/ChangelogAlert.h"
#include "ui/Dialogs.h"
#include "ui/MainComponent.h"
#include "update/DownloadChecks.h"
#include "update/InstallerFile.h"
#include "update/ServerErrorText.h"
#include "update/UpdateUrls.h"

namespace
{
constexpr const char* kProgressTitle = "App Update";
constexpr const char* kCheckingText = "Checking for new version...";
constexpr const char* kOfferTitle = "Halvane Update Tool - update available";
constexpr uint32_t kAppNotificationColour = 0xFFBFBFBF;
}

bool MainComponent::CheckForNewAppUpdate(bool start, bool interactive)
{
    if (m_bRecoveryMode)
    {
        appCheckRunning = false;
        if (appCheckInteractive)
            CloseProgress();
        return false;
    }
    if (start)
    {
        if (appCheckRunning)
            return false;
        startAppCheck(interactive);
    }
    else
    {
        advanceAppCheck(interactive);
    }
    if (!appCheckRunning)
        CheckAllActiveFirmwareAvailable(true);
    return false;
}

void MainComponent::startAppCheck(bool interactive)
{
    appCheckRunning = true;
    appCheckChannel = m_bBetaChannel ? 1 : 0;
    appCheckInteractive = interactive;
    logToFile("CheckForNewAppUpdate( " + juce::String(appCheckChannel) + " )");
    storeFetchTime();
    if (interactive)
    {
        CloseProgress();
        ShowProgress(kProgressTitle, kCheckingText, ProgressDisplay::kIndeterminate);
    }
    appCheckChannel = UpdateUrls::AppCheckChannel(appBaseUrls, appCheckChannel);
    const auto& base = appBaseUrls[(size_t) appCheckChannel];
    if (base.isEmpty())
    {
        stopAppCheck();
        return;
    }
    startRequest(UpdateUrls::AppUpdateInfoUrl(base), appRequest, nullptr);
    appCheckStep = 1;
}

void MainComponent::advanceAppCheck(bool interactive)
{
    if (!appCheckInteractive && interactive)
    {
        appCheckInteractive = true;
        ShowProgress(kProgressTitle, kCheckingText, ProgressDisplay::kIndeterminate);
    }
    if (!appRequest.takeIfDone())
        return;
    if (appCheckStep == 1)
        takeAppUpdateInfo();
    else if (appCheckStep == 2)
        takeAppChangelog();
}

void MainComponent::storeFetchTime()
{
    m_lastUpdateFetchTime = Clock::nowMs();
    m_settings->setValue(SettingsKeys::kLastUpdateFetchTime, juce::String(m_lastUpdateFetchTime));
}

void MainComponent::takeAppUpdateInfo()
{
    const int status = appRequest.statusCode;
    if (status == 200 && AppUpdateInfo::HasHeader(appRequest.body))
    {
        ParseAppUpdateInfo(appRequest.body);
        // The installer is saved under this name and started at exit: a name that could reach
        // outside the Updates folder is an unusable answer, like one with a wrong header.
        if (!InstallerFile::IsSafeName(appUpdate.file))
        {
            logToFile("Refused installer name: " + appUpdate.file);
            endAppCheckWithoutInfo();
            return;
        }
        appUpdateChannel = appCheckChannel;
        decideAppChangelog();
        return;
    }
    if (status == 200)
    {
        logToFile("An unexpected response was received from the update server.");
        endAppCheckWithoutInfo();
        return;
    }
    logToFile("Error: Server responded: " + juce::String(status));
    if (status != 404)
        logToFile(appRequest.body);
    if (status == 404 && appCheckChannel == 1)
    {
        appCheckChannel = 0;
        startRequest(UpdateUrls::AppUpdateInfoUrl(appBaseUrls[0]), appRequest, nullptr);
        return;
    }
    endAppCheckWithoutInfo();
}

void MainComponent::endAppCheckWithoutInfo()
{
    ClearAppUpdateInfo();
    stopAppCheck();
}

void MainComponent::stopAppCheck()
{
    if (appCheckInteractive)
        CloseProgress();
    appCheckRunning = false;
}

void MainComponent::decideAppChangelog()
{
    const auto version = appUpdate.version.toString();
    if (IsChangelogCached(-1, version))
    {
        logToFile("App changelog is cached: " + version);
        appChangelogAvailable = true;
        finishAppCheck();
        return;
    }
    startRequest(UpdateUrls::AppChangelogUrl(appBaseUrls[(size_t) appCheckChannel]), appRequest, nullptr);
    appCheckStep = 2;
}

void MainComponent::takeAppChangelog()
{
    if (appRequest.statusCode == 200)
    {
        SaveChangelog(-1, appUpdate.version.toString(), appRequest.body, true);
        appChangelogAvailable = true;
    }
    finishAppCheck();
}

void MainComponent::finishAppCheck()
{
    SaveAppUpdateInfo();
    stopAppCheck();
    if (IsAppUpdateNewer() || m_bTestAppUpdate)
    {
        const int index = AddNotification(Notification::kAppUpdateKey,
                                          "An application update is available (" + appUpdate.version.toString() + ")");
        if (index < 0)
            return;
        m_notifications[(size_t) index].colour = kAppNotificationColour;
        ApplyNotificationColour(index);
        return;
    }
    RemoveNotification(Notification::kAppUpdateKey);
    if (appCheckInteractive)
        showAppUpToDate();
}

void MainComponent::showAppUpToDate()
{
    logMessage("[Alert: App Is Up to date]", false);
    AlertRequest request;
    request.title = "App is up to date";
    request.message = "Congratulations! Your App is up to date!";
    request.icon = juce::MessageBoxIconType::InfoIcon;
    request.buttons = { { "Close", 1, juce::KeyPress(juce::KeyPress::returnKey) } };
    Dialogs::get().runAlert(request);
}

void MainComponent::ParseAppUpdateInfo(const juce::String& text)
{
    appUpdate = AppUpdateInfo::ParseAppUpdateInfo(text);
    appChangelogAvailable = false;
}

void MainComponent::SaveAppUpdateInfo()
{
    storeFetchTime();
    const std::pair<const char*, juce::var> values[] = {
        { "updateAppVersion", appUpdate.version.toString() }, { "updateAppFile", appUpdate.file },
        { "updateAppSize", appUpdate.size },                  { "updateAppMD5", appUpdate.md5 },
        { "updateAppChangeLog", appChangelogAvailable ? 1 : 0 },
    };
    for (const auto& [key, value] : values)
    {
        m_settings->setValue(key, value);
        logToFile(juce::String(key) + ": " + value.toString());
    }
    m_settings->setValue("uab", appUpdateChannel);
    logToFile("uab: " + juce::String(appUpdateChannel));
}

void MainComponent::ClearAppUpdateInfo()
{
    m_settings->setValue("updateAppVersion", VersionInfo::kUnknown);
    m_settings->setValue("updateAppFile", juce::String());
    m_settings->setValue("updateAppSize", 0);
    m_settings->setValue("updateAppMD5", juce::String());
    m_settings->setValue("updateAppChangeLog", 0);
    m_settings->setValue("uab", 0);
}

bool MainComponent::IsAppUpdateNewer()
{
    return m_ignoredVersion[0].isOlderThan(appUpdate.version)
           && (m_bTestAppUpdate || VersionInfo(BuildInfo::appBuildString()).isOlderThan(appUpdate.version));
}

bool MainComponent::OfferAppUpdate()
{
    logMessage("[Alert: App Update Available]", false);
    const auto version = appUpdate.version.toString();
    AlertRequest request;
    request.title = kOfferTitle;
    request.message = "A new version of the Halvane Update Tool is available.\r\n(" + version
                    + ")\r\n\r\nClick Update to download and install now.";
    request.icon = juce::MessageBoxIconType::InfoIcon;
    request.buttons = { { "Update", 1, juce::KeyPress(juce::KeyPress::returnKey) },
                        { "View Changelog", 2, juce::KeyPress() },
                        { "Cancel", 0, juce::KeyPress(juce::KeyPress::escapeKey) } };
    int result = Dialogs::get().runAlert(request).result;
    if (result == 2)
        result = ChangelogAlert::Show(kOfferTitle, version, LoadChangelog(-1, version, {}));
    if (result != 1)
        return false;
    m_state = COMM_DOWNLOAD_APP_UPDATE;
    DownloadAppUpdate(true);
    return true;
}

void MainComponent::DownloadAppUpdate(bool start)
{
    if (start)
    {
        logToFile("DownloadAppUpdate()");
        CloseProgress();
        ShowProgress(kProgressTitle, "Downloading update...", ProgressDisplay::kIndeterminate);
        startRequest(UpdateUrls::InstallerUrl(appBaseUrls[(size_t) appUpdateChannel], appUpdate.file), appRequest,
                     &appImageData);
        appDownloadStep = 1;
        return;
    }
    if (appDownloadStep != 1 || !appRequest.takeIfDone())
        return;
    appDownloadStep = 0;
    CloseProgress();
    if (appRequest.statusCode == 200)
        SaveAppUpdateAndInstall(appImageData);
    else if (appRequest.statusCode == 404)
        ReportServerFileNotFound();
    else
        OnServerError(ServerErrorText::ServerErrorMessage(appRequest.statusCode, appRequest.body));
}

void MainComponent::reportInstallerFailure(const juce::String& title, const juce::String& message,
                                           const juce::StringArray& panelLines)
{
    for (const auto& line : panelLines)
    {
        logMessage(line, false);
        m_bKeepLastLogLine = true;
    }
    ReportError("Unable to retrieve update file.", COMM_STATE_IDLE);
    ErrorMessage(title, message, false);
}

bool MainComponent::SaveAppUpdateAndInstall(const juce::MemoryBlock& data)
{
    logToFile("SaveAppUpdateAndInstall()");
    if (const auto failure = DownloadChecks::CheckInstaller(data, appUpdate.size, appUpdate.md5))
    {
        reportInstallerFailure(failure->title, failure->message, failure->panelLines);
        return false;
    }
    // Quitting to start an installer that was never written would leave the user with nothing.
    const auto installer = InstallerFile::Save(m_userDirectory, appUpdate.file, data);
    if (installer == juce::File())
    {
        const auto message = InstallerFile::IsSafeName(appUpdate.file)
                                 ? InstallerFile::NotSavedMessage(InstallerFile::InstallerPath(m_userDirectory, appUpdate.file))
                                 : InstallerFile::UnsafeNameMessage(appUpdate.file);
        reportInstallerFailure(DownloadChecks::kTitle, message, {});
        return false;
    }
    m_settings->setValue(SettingsKeys::kInstaller, installer.getFullPathName());
    m_settings->setValue("lastAppUpdate", juce::Time::getCurrentTime().formatted("%Y.%m.%d %H.%M.%S"));
    s_installerToLaunch = installer;

    AlertRequest request;
    request.title = "Halvane Update Tool - update ready";
    request.message = "Version " + appUpdate.version.toString() + " will now be installed.";
    request.icon = juce::MessageBoxIconType::InfoIcon;
    request.buttons = { { "OK", 1, juce::KeyPress(juce::KeyPress::returnKey) } };
    Dialogs::get().runAlert(request);
    RequestQuitWhenWorkersDone();
    return true;
}
