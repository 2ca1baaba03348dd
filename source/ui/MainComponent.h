#pragma once

#include "device/AppCommon.h"
#include "update/AppUpdateInfo.h"
#include "ui/Assets.h"
#include "ui/Notification.h"
#include "ui/SettingsWindow.h"

#include <array>
#include <memory>
#include <vector>

// The main window's content: the user interface on top of the connection core.
class MainComponent : public AppCommon, public juce::Button::Listener
{
public:
    MainComponent();
    ~MainComponent() override;

    // ---- Logging and display lists ----
    void setStatusLine(const juce::String& text, bool repaintNow) override;
    void logMessage(const juce::String& text, bool replaceLast) override;
    void logSystemHeader();
    const juce::StringArray& debugLines() const { return m_debugLines; }
    const juce::StringArray& statusLines() const { return m_statusLines; }
    void keepLastLogLine() { m_bKeepLastLogLine = true; }

    // ---- Layout, painting and input ----
    void paint(juce::Graphics& g) override;
    void resized() override;
    void buttonClicked(juce::Button* button) override;
    void mouseDown(const juce::MouseEvent& e) override;
    void UpdateTheme(int deviceIndex) override;
    void MarkTxActivity() override;
    void MarkRxActivity() override;
    void OnFlagsChanged() override;
    void SetLogUrlRequests(bool flag) override;
    void SetBetaChannel(bool flag) override;
    void drawPanelBackground(juce::Graphics& g, juce::Rectangle<int> area);
    juce::Colour themeTextColour() const;
    juce::Rectangle<int> settingsPanelBounds() const;
    juce::Rectangle<int> statusArea() const;
    void repaintChangingAreas();
    void placeSettingsPanel();

    // ---- States 24..37 and the per-tick work ----
    juce::String StateName(int state) override;
    void DumpStateNames() override;
    void InitState(int state) override;
    void ProcessState(int state) override;

    // ---- Notifications and alerts ----
    int AddNotification(const juce::String& key, const juce::String& text);
    void RemoveNotification(const juce::String& key);
    void LayoutNotifications();
    void ApplyNotificationColour(int index);
    void AddFirmwareNotification(int device);
    void RemoveFirmwareNotification(int device) override;
    void FirmwareUpdateAvailableAlert(const juce::String& key);
    void AboutPopupAlert();
    void OnDeviceUpToDate() override;
    void SkipUpdate(int device, const VersionInfo& version);
    void ForgetSkippedUpdate(int device);
    void ForgetAllSkippedUpdates();
    void RefreshStateDisplay(int state) override;
    const std::vector<Notification>& notifications() const { return m_notifications; }
    juce::TextButton* notificationButton(int slot) { return m_notificationButtons[(size_t) slot].get(); }

    // ---- Work that lives in other subsystems ----
    void OnNotificationClicked(const juce::String& key);
    // The application's own update (self-update); the check's result is always false.
    bool CheckForNewAppUpdate(bool start, bool interactive);
    bool OfferAppUpdate();
    void DownloadAppUpdate(bool start);
    bool SaveAppUpdateAndInstall(const juce::MemoryBlock& data);
    void ParseAppUpdateInfo(const juce::String& text);
    void SaveAppUpdateInfo();
    void ClearAppUpdateInfo();
    bool IsAppUpdateNewer();
    const AppUpdateInfo::Record& appUpdateRecord() const { return appUpdate; }
    int appUpdateChannelIndex() const { return appUpdateChannel; }
    bool IsAppCheckRunning() override { return appCheckRunning; }

    // The background check of every model's firmware, documentation link and changelog.
    void CheckAllActiveFirmwareAvailable(bool start);
    bool IsFirmwareCheckRunning() override { return m_firmwareCheck.running; }
    void ChooseUserDirectory();
    void ShowSettingsPanel();

    // ---- Controls (public for the settings panel and for tests) ----
    juce::TextButton m_btnUpdate { "m_btnUpdate" };
    juce::TextButton m_btnPresetsRefresh { "m_btnPresetsRefresh" };
    juce::TextButton m_btnPresetsBackup { "m_btnPresetsBackup" };
    juce::TextButton m_btnPresetsRestore { "m_btnPresetsRestore" };
    juce::TextButton m_btnOpenSettings { "m_btnOpenSettings" };
    juce::TextButton m_btnInstructions { "m_btnInstructions" };
    juce::Label m_lblOnDevice { "lbl_onDevice", "ON DEVICE" };
    juce::Label m_lblOnComputer { "lbl_presets", "ON COMPUTER" };
    juce::ListBox m_deviceList;
    juce::ListBox m_computerList;
    juce::Label m_dragVisual { "m_dragVisual" };
    SettingsWindow m_settingsPanel { *this };

    static constexpr int kWidth = 576;
    static constexpr int kDebugWidth = 926;
    static constexpr int kHeight = 480;
    static constexpr int kMaxDebugLines = 45;

protected:
    void RaiseFirmwareNotification(int device) override { AddFirmwareNotification(device); }
    void StartFirmwareCheck(int) override { CheckAllActiveFirmwareAvailable(true); }
    int OptionValueFromSettings(Option option) override;
    void SelectOptionItem(Option option, int value) override;

private:
    void addButton(juce::TextButton& button, const juce::String& text, const juce::String& tooltip);
    void setupLabel(juce::Label& label);
    void setupList(juce::ListBox& list, const juce::String& tooltip);
    void EnterPresetState(int state);
    void ProcessPresetState(int state);
    void refreshUpdateButton(int c, bool skipped, int displayState);
    void refreshManualButton(int c, bool panel);
    bool refreshControlsForState(int c, bool skipped, bool panel, int displayState);
    void showNotAvailable(const juce::String& what);

    // Self-update steps.
    void startAppCheck(bool interactive);
    void advanceAppCheck(bool interactive);
    void takeAppUpdateInfo();
    void decideAppChangelog();
    void takeAppChangelog();
    void endAppCheckWithoutInfo();
    void stopAppCheck();
    void finishAppCheck();
    void showAppUpToDate();
    void storeFetchTime();
    void reportInstallerFailure(const juce::String& title, const juce::String& message, const juce::StringArray& panelLines);

    // Background firmware check steps.
    void firmwareCheckNextModel();
    void firmwareCheckRequest(const juce::String& url, bool usePost, int nextStep);
    bool firmwareCheckAnswered(int waitId);
    void firmwareCheckTakeUpdateInfo();
    void firmwareCheckChangelog();
    void firmwareCheckTakeChangelog();
    void firmwareCheckTakeReference();
    void firmwareCheckProbeDocumentation();
    void firmwareCheckTakeProbe();
    void firmwareCheckFinish();
    juce::String aboutMessage();

    const juce::Image& staticLayer();
    void paintImages(juce::Graphics& g);
    void paintHeader(juce::Graphics& g);
    void paintBanners(juce::Graphics& g);
    void paintIndicators(juce::Graphics& g);
    void paintStatus(juce::Graphics& g);
    void paintDebugPanel(juce::Graphics& g);
    float indicatorAlpha(juce::int64 lastTime, int& indicator, juce::int64 now);

    juce::Image m_background = Assets::background();
    juce::Image m_topBar = Assets::topBar();
    juce::Image m_bottomBar = Assets::bottomBar();
    juce::Image m_logo = Assets::logo();
    juce::Image m_staticLayer;
    juce::Colour m_staticLayerAccent;
    std::vector<Notification> m_notifications;
    std::array<std::unique_ptr<juce::TextButton>, Notification::kMaxButtons> m_notificationButtons;
    juce::int64 m_manualLockUntil = 0;
    juce::int64 m_lastTxTime = 0;
    juce::int64 m_lastRxTime = 0;
    int m_txIndicator = 0;
    int m_rxIndicator = 0;
    juce::Point<int> m_pendingSize;

    // Self-update: the newest version the server names, and the requests about it.
    AppUpdateInfo::Record appUpdate;
    bool appChangelogAvailable = false;
    int appUpdateChannel = 0;
    UrlRequestResult appRequest;
    juce::MemoryBlock appImageData;
    bool appCheckRunning = false;
    int appCheckStep = 0;
    bool appCheckInteractive = false;
    int appCheckChannel = 0;
    int appDownloadStep = 0;
    std::array<juce::String, 2> appBaseUrls;

    // Background firmware check. Its record is process-wide, as the check is.
    struct FirmwareCheck
    {
        bool running = false;
        int model = 0;
        int step = 0;
        bool beta = false;
        juce::int64 requestStartMs = 0;
        std::array<VersionInfo, DeviceCatalogue::kDeviceCount> comparisonBase;
    };
    FirmwareCheck m_firmwareCheck;
    static UrlRequestResult s_firmwareCheckRequest;
};
