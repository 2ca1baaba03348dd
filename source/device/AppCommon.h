#pragma once

#include "app/UpdateStateTracker.h"
#include "device/DeviceCatalogue.h"
#include "device/ServerConfig.h"
#include "device/VersionInfo.h"
#include "diagnostics/DebugLogger.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <array>
#include <memory>

// The device and connection core: settings, catalogue, update tracking and (in the folders of
// their subsystems) discovery, the state machine, the command protocol, flashing and server work.
// MainComponent derives from it and adds the user interface.
class AppCommon : public juce::Component, public juce::Timer, public DebugLogger
{
public:
    AppCommon();
    ~AppCommon() override;

    // ---- Logging and display lists (diagnostics) ----
    virtual void setStatusLine(const juce::String& text, bool repaintNow);
    virtual void logMessage(const juce::String& text, bool replaceLast);

    // ---- Quit (app) ----
    // A quit asked for while URL workers run: the connection timer quits once the last is gone.
    void RequestQuitWhenWorkersDone();
    bool IsQuitRequested() const { return m_bQuitRequested; }

    // ---- Connection timer ----
    void timerCallback() override;

    // ---- Errors and alerts (app) ----
    void ErrorMessage(const juce::String& title, const juce::String& message, bool truncate);
    void ErrorMessage(const juce::String& message, bool truncate);
    void WarnMultipleAppInstance(const juce::String& commandLine);
    juce::String GetErrorExtraInfo();

    // ---- Device catalogue (device) ----
    juce::String DeviceName(int index);
    juce::String DeviceSubName(int index);
    juce::String DeviceVID(int index);
    juce::String DevicePID(int index);
    uint32_t DevicePlatformKey(int index);
    juce::String DeviceUpdateFile(int index);
    juce::String DeviceChangelogFile(int index);
    juce::String DeviceURL(int index, bool beta);
    juce::String ConnectedDeviceName();
    juce::String DeviceKeyName(int index);
    const DeviceRow* deviceRow(int index) const;

    // ---- Settings (app) ----
    juce::PropertiesFile* settings() { return m_settings; }
    void LoadSettings();
    void LoadDeviceSettings();
    juce::String deviceSettingsKey(int index, const juce::String& key, bool betaSuffix = false);
    void SetActiveVersion(int index, const juce::String& version);
    const juce::File& userDirectory() const { return m_userDirectory; }

    // ---- Update-state tracking (app) ----
    // A fresh tracker for the device; called each time a pedal's version is requested.
    void CreateUpdateTracker(int deviceIndex);
    UpdateStateTracker* updateTracker() { return m_updateTracker.get(); }

    // Per-model values kept between runs and shown by the window.
    struct AvailableUpdate
    {
        VersionInfo availableVersion;
        juce::String availableFile;
        int32_t availableSize = 0;
        juce::String availableMD5;
        juce::String docUrl;
    };

    static int s_liveUtilityThreads;
    static juce::File s_installerToLaunch;

protected:
    // Where the tracker's events go; the event reporter in the product.
    virtual std::unique_ptr<EventSink> CreateEventSink(int deviceIndex);

    void logInvalidDevice(int index, const juce::String& accessor);
    juce::String rowText(int index, const char* accessor, juce::String DeviceRow::*field);
    void writeStartBanner();
    void writeEndBanner();

    juce::ApplicationProperties m_appProperties;
    juce::PropertiesFile* m_settings = nullptr;
    ServerConfig::Urls m_serverUrls;
    std::array<DeviceRow, DeviceCatalogue::kDeviceCount> m_devices;
    std::unique_ptr<UpdateStateTracker> m_updateTracker;

    juce::StringArray m_debugLines;
    juce::StringArray m_statusLines;
    bool m_bKeepLastLogLine = false;
    bool m_bDebugMode = false;
    bool m_bBetaChannel = false;
    bool m_bDebugKey = false;
    bool m_bLogUrlRequests = false;
    bool m_bQuitRequested = false;
    bool m_bLogFileSetting = false;
    bool m_bTestAppUpdate = false;
    juce::int64 m_lastUpdateFetchTime = 0;
    juce::File m_userDirectory;

    int m_connectedDevice = -1;

    std::array<AvailableUpdate, DeviceCatalogue::kDeviceCount> m_availableUpdates;
    std::array<VersionInfo, DeviceCatalogue::kDeviceCount> m_activeVersion;
    std::array<juce::String, DeviceCatalogue::kDeviceCount> m_activeSerial;
    std::array<bool, DeviceCatalogue::kDeviceCount> m_deviceKnown {};
    std::array<VersionInfo, DeviceCatalogue::kDeviceCount> m_ignoredVersion;

    JUCE_DECLARE_NON_COPYABLE(AppCommon)
};
