#pragma once

#include "app/UpdateStateTracker.h"
#include "device/CommState.h"
#include "device/DeviceCatalogue.h"
#include "device/ServerConfig.h"
#include "device/VersionInfo.h"
#include "diagnostics/DebugLogger.h"
#include "update/ProgressDisplay.h"
#include "update/UpdateInfoParser.h"
#include "update/UrlFetch.h"
#include "update/UrlRequestResult.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <array>
#include <memory>

class hv_lookAndFeel;
class SerialPort;
class SerialPortInputStream;
class SerialPortOutputStream;
struct SerialPortConfig;

// The device and connection core: settings, catalogue, update tracking and (in the folders of
// their subsystems) discovery, the state machine, the command protocol, flashing and server work.
// MainComponent derives from it and adds the user interface.
class AppCommon : public juce::Component, public juce::Timer, public juce::ChangeListener, public DebugLogger
{
public:
    AppCommon();
    ~AppCommon() override;

    // ---- Logging and display lists (diagnostics) ----
    virtual void setStatusLine(const juce::String& text, bool repaintNow);
    virtual void logMessage(const juce::String& text, bool replaceLast);

    // ---- Quit (app) ----
    // A quit asked for while URL workers run: the progress window goes at once, and the
    // connection timer quits once the last worker is gone.
    void RequestQuitWhenWorkersDone();
    bool IsQuitRequested() const { return m_bQuitRequested; }

    // ---- Connection state machine (device) ----
    void timerCallback() override;
    void Tick();
    virtual juce::String StateName(int state);
    virtual bool GetLogUrlRequests() { return m_bLogUrlRequests; }
    virtual void SetLogUrlRequests(bool flag) { m_bLogUrlRequests = flag; }
    virtual bool GetDebugMode() { return m_bDebugMode; }
    virtual void SetDebugMode(bool flag) { m_bDebugMode = flag; }
    virtual bool GetBetaChannel() { return m_bBetaChannel; }
    virtual void SetBetaChannel(bool flag) { m_bBetaChannel = flag; }
    virtual void OnFlagsChanged() { m_bFlagsChanged = false; }
    virtual void DumpStateNames();
    virtual void PreTick() {}
    virtual void InitState(int state);
    virtual void ProcessState(int state);
    virtual void SetNextState(int state, bool runNow = false);
    virtual void RestartState(int state);
    virtual void SetStateAfterOptions(int state) { m_stateAfterOptions = state; }
    virtual void ReportError(const juce::String& text, int stateAfterError);
    virtual void GetUpdate(int deviceIndex, bool forced);
    virtual void UpdateTheme(int deviceIndex);
    virtual void OnBootloaderFound();
    virtual void SetConnectedDevice(int deviceIndex);
    virtual void OnDeviceFound(int deviceIndex);
    virtual void OnDeviceUpToDate() {}
    virtual void RaiseError(const juce::String& text, int stateAfterError) { ReportError(text, stateAfterError); }
    virtual void MarkTxActivity() {}
    virtual void MarkRxActivity() {}
    virtual void RefreshStateDisplay(int) {}
    juce::String ConnectionStatusText();
    int state() const { return m_state; }
    int pendingState() const { return m_pendingState; }
    int connectedDevice() const { return m_connectedDevice; }
    const VersionInfo& deviceVersion() const { return m_deviceVersion; }
    const juce::String& serialNumber() const { return m_serialNumber; }
    int timerIntervalMs() const { return m_timerIntervalMs; }
    static uint32_t tickCounter() { return s_tickCounter; }

    // ---- Discovery (device) ----
    int ScanSerialPorts(int deviceIndex);
    bool InitSerialPort(const juce::String& path, const SerialPortConfig& config);
    void ClosePort();
    void ResetConnection();
    void LostConnection(int deviceIndex);
    void ScanForDevices(bool entering);
    void CheckStillConnected();
    void LogPortListing();
    void ListPortsIfDue();
    bool portIsValid();
    void SuppressConnectionMessages(int count) { m_silentDisconnects = count; }
    int silentDisconnects() const { return m_silentDisconnects; }

    // ---- Command protocol (device) ----
    bool SendCommand(const juce::String& command, bool logReplies, int intervalMs, float timeoutSeconds);
    bool HasReply();
    juce::String TakeReply();
    bool CheckReplyTimeout(int failState, int lostState);
    void OnSerialData();
    void changeListenerCallback(juce::ChangeBroadcaster*) override { OnSerialData(); }
    void SetLogRx(bool flag);

    // Pedal options: MIDI channel, BPM mode, dry kill, ping pong.
    enum Option { kMidiChannel = 0, kBpmMode, kDryKill, kPingPong, kOptionSlots };
    int optionValue(Option option) const { return m_optionValues[(size_t) option]; }
    bool optionChanged(Option option) const { return m_optionChanged[(size_t) option]; }
    void clearOptionChanged(Option option) { m_optionChanged[(size_t) option] = false; }
    void markOptionChanged(Option option) { m_optionChanged[(size_t) option] = true; }
    void setOptionValue(Option option, int value);
    void UpdateMidiCh(const juce::String& reply) { UpdateOption(kMidiChannel, reply); }
    void UpdateBpmMode(const juce::String& reply) { UpdateOption(kBpmMode, reply); }
    void UpdateDryKill(const juce::String& reply) { UpdateOption(kDryKill, reply); }
    void UpdatePingPong(const juce::String& reply) { UpdateOption(kPingPong, reply); }
    void ApplyAllOptions(int stateAfter);

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

    // ---- Progress window (update) ----
    // Virtual so that tests can watch what the window would show.
    void ShowProgress(const juce::String& message, float value);
    virtual void ShowProgress(const juce::String& title, const juce::String& message, float value);
    void SetProgress(float value);
    virtual void CloseProgress();
    bool IsProgressShowing() const { return m_progress.window() != nullptr; }

    // ---- Server work for the connected pedal (update) ----
    void CheckChannelKeys();
    void GetChangelog(bool start);
    void GetUpdateInfo(bool start);
    void GetUpdateData(bool start);
    void HandleUpdateInfoResponse(int statusCode, const juce::String& body);
    // False when the text ended without its closing "EOF".
    virtual bool ParseUpdateInfo(const juce::String& body);
    virtual void OnServerFileNotFound(const juce::String& text);
    virtual void OnServerError(const juce::String& text);
    // The alert, log line and error report of a file the server does not have.
    void ReportServerFileNotFound();
    bool IsUpdateNeeded();
    void OfferUpdate();
    void ReportUpdateFileError(const juce::String& title, const juce::String& message, int nextState);
    void SetAvailableUpdate(int index, const VersionInfo& version);
    void SetAvailableUpdateFile(int index, const juce::String& file);
    void SetAvailableUpdateSize(int index, int32_t size);
    void SetAvailableUpdateMD5(int index, const juce::String& md5);
    void SetDocUrl(int index, const juce::String& url);
    void ClearAvailableUpdate(int index);
    bool IsChangelogCached(int index, const juce::String& version);
    juce::String LoadChangelog(int index, const juce::String& version, const juce::String& fallback);
    void SaveChangelog(int index, const juce::String& version, const juce::String& text, bool overwrite);
    bool debugKey() const { return m_bDebugKey; }
    void SetSaveImage(bool flag) { m_bSaveImage = flag; }
    const juce::MemoryBlock& downloadedImage() const { return imageData; }
    bool isImageReady() const { return imageReady; }
    const ServerConfig::Urls& serverUrls() const { return m_serverUrls; }

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
    const AvailableUpdate& availableUpdate(int index) const
    {
        return m_availableUpdates[(size_t) juce::jlimit(0, DeviceCatalogue::kDeviceCount - 1, index)];
    }

    static int s_liveUtilityThreads;
    // How long a closing component waits for requests still writing into its records.
    static constexpr int kWorkerWaitMs = 120000;
    static juce::File s_installerToLaunch;

protected:
    // ---- Hooks the main component fills ----
    // The value the settings window holds for an option, used while applying all options.
    virtual int OptionValueFromSettings(Option option) { return optionValue(option); }
    // Selects the option's item in the settings window after a read or an apply.
    virtual void SelectOptionItem(Option, int) {}
    // The pedal's presets must be read again (the pedal list marks every entry).
    virtual void MarkPedalPresetsForReread() {}
    // The firmware availability check for a model (server work).
    virtual void StartFirmwareCheck(int) {}
    virtual void RaiseFirmwareNotification(int) {}
    virtual void RemoveFirmwareNotification(int) {}
    virtual bool IsAppCheckRunning() { return false; }
    virtual bool IsFirmwareCheckRunning() { return false; }
    virtual bool IsPresetArchiveRestorePending() { return false; }
    virtual void ContinueWithPresetArchiveRestore() {}
    virtual void OnConnectionReset() {}

    // Preset write started from idle when the pedal bank was modified; true when it started.
    virtual bool StartPresetWriteIfModified() { return false; }
    // The erase, program and verify steps clear their in-progress flags here.
    virtual void OnErrorReported() {}

    // ---- State entry and process steps ----
    void EnterErrorState();
    void EnterIdleState();
    void EnterFoundBootloaderState();
    void ProcessIdleState();

    // ---- Option chain ----
    void UpdateOption(Option option, const juce::String& reply);
    void EnterOptionGetState(Option option);
    void EnterOptionSetState(Option option);
    void ProcessOptionGetState(Option option);
    void ContinueOptionChain(Option after, bool applying);
    int nextSupportedOption(Option after);
    static int optionGetState(Option option);
    static int optionSetState(Option option);
    static Option optionOfState(int state);

    // ---- Identification ----
    void ProcessVersionReply();
    void ProcessSerialReply();
    void ProcessFactoryReply();
    void EnterRequestState(const juce::String& command, const juce::String& what);

    // ---- Bootloader link (firmware) ----
    void InvokeBootloader();
    void WaitForBootloader(bool start);
    void HandshakeBootloader();
    void CheckHandshakeTimeout();
    void ReadWord(uint32_t address);
    void WriteWord(uint32_t address, uint32_t value);
    void DrainInput();
    void BootloaderFailure(const juce::String& message);
    void ShowPowerCycle();
    void HandleBootloaderLine(const juce::String& line);
    void ReceiveRawWords();
    void SwitchToBinaryMode();
    void writeToPort(const juce::String& text);
    juce::String readLineFromInput();
    // Steps of the signature, flashing and server states, in the folders of their subsystems.
    void EnterFirmwareState(int state);
    void ProcessFirmwareState(int state);
    void OnWordReceived(int state);
    void EnterServerState(int state);
    void ProcessServerState(int state);

    // Where the tracker's events go; the event reporter in the product.
    virtual std::unique_ptr<EventSink> CreateEventSink(int deviceIndex);

    // Every server request: logged when request logging is on, sent with the User-Agent line.
    void startRequest(const juce::String& url, UrlRequestResult& record, juce::MemoryBlock* destination,
                      bool usePost = true);
    void showServerStep(const juce::String& text);
    void clearUpdateTarget();
    void setAvailableValue(int index, const char* key, const juce::var& value);
    void offerOrReportUpToDate();
    void AcceptDownloadedImage();

    void logInvalidDevice(int index, const juce::String& accessor);
    juce::String rowText(int index, const char* accessor, juce::String DeviceRow::*field);
    void writeStartBanner();
    void writeEndBanner();

    juce::ApplicationProperties m_appProperties;
    std::unique_ptr<hv_lookAndFeel> m_lookAndFeel;
    juce::Image m_wordmark;
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

    // State machine
    int m_state = COMM_SCAN_FOR_DEVICES;
    int m_prevState = COMM_STATE_INVALID;
    int m_pendingState = COMM_STATE_INVALID;
    juce::int64 m_stateEntryTime = 0;
    juce::int64 m_timeInState = 0;
    int m_timerIntervalMs = 100;
    int m_stateAfterError = 0;
    juce::String m_errorText;
    int m_stateAfterOptions = 0;
    VersionInfo m_deviceVersion;
    juce::String m_serialNumber;
    uint32_t m_connectedPlatformKey = 0x7A5CB301;
    int m_updateNoticeDevice = 0;
    juce::TooltipWindow m_tooltips { nullptr, 1500 };
    int m_repaintPeriodMs = 200;
    juce::int64 m_nextRepaintTime = 0;
    bool m_bFlagsChanged = false;
    int m_themeDevice = 0;
    bool m_bRecoveryMode = false;
    bool m_recoveryDone = false;
    bool m_bReprogrammed = false;
    bool m_bPowerCyclePending = false;
    static uint32_t s_tickCounter;

    // Discovery
    std::unique_ptr<SerialPort> m_port;
    std::unique_ptr<SerialPortInputStream> m_inputStream;
    std::unique_ptr<SerialPortOutputStream> m_outputStream;
    int m_silentDisconnects = 0;
    int m_scanCountdown = 100;
    int m_scanCountdownReload = 100;

    // Command protocol
    juce::CriticalSection m_rxLock;
    juce::String m_rxLine;
    bool m_bLineMode = true;
    bool m_bLogRx = false;
    int m_ticksLeft = 0;
    int m_ticksReload = 0;
    int m_retries = 0;
    std::array<int, kOptionSlots> m_optionValues {};
    std::array<bool, kOptionSlots> m_optionChanged {};
    bool m_bReadAllOptions = false;
    bool m_bApplyAllOptions = false;

    // Bootloader link
    int m_handshakeState = 0;
    uint8_t m_rxBytes[4] {};
    int m_rxByteCount = 0;
    uint32_t m_rxWord = 0;
    bool m_wordReceived = false;
    juce::int64 m_bootloaderDeadline = 0;

    // Server requests about the connected pedal, and the update being prepared for it.
    UrlRequestResult m_request;
    juce::MemoryBlock imageData;
    juce::String m_userAgent = UrlFetch::userAgentHeader();
    ProgressDisplay m_progress { *this, [this] { return m_bQuitRequested; } };
    int updateDevice = 0;
    juce::String updatePath;
    juce::String updateInfoFile;
    juce::String updateChangelogFile;
    juce::String updateImageFile;
    juce::String updateVersion;
    int32_t updateSize = 0;
    juce::String updateMD5;
    juce::String changelogText;
    bool changelogAvailable = false;
    bool forcedUpdate = false;
    bool imageReady = false;
    bool m_bSaveImage = false;

    std::array<AvailableUpdate, DeviceCatalogue::kDeviceCount> m_availableUpdates;
    std::array<VersionInfo, DeviceCatalogue::kDeviceCount> m_activeVersion;
    std::array<juce::String, DeviceCatalogue::kDeviceCount> m_activeSerial;
    std::array<bool, DeviceCatalogue::kDeviceCount> m_deviceKnown {};
    std::array<VersionInfo, DeviceCatalogue::kDeviceCount> m_ignoredVersion;

    JUCE_DECLARE_NON_COPYABLE(AppCommon)
};
