#include "app/Clock.h"
#include "device/AppCommon.h"
#include "diagnostics/LogFormat.h"
#include "ui/HvLookAndFeel.h"
#include "ui/Theme.h"

uint32_t AppCommon::s_tickCounter = 0;

void AppCommon::timerCallback()
{
    stopTimer();
    PreTick();
    Tick();
    if (m_bQuitRequested && s_liveUtilityThreads == 0)
        return;  // the message loop is ending; the timer stays stopped
    if (m_bFlagsChanged)
        OnFlagsChanged();
    startTimer(m_timerIntervalMs);
}

void AppCommon::Tick()
{
    if (m_bQuitRequested && s_liveUtilityThreads == 0)
    {
        juce::JUCEApplicationBase::quit();
        return;
    }
    if (m_state != m_prevState)
    {
        InitState(m_state);
        RefreshStateDisplay(m_state);
        m_prevState = m_state;
        m_stateEntryTime = Clock::nowMs();
    }
    m_timeInState = Clock::nowMs() - m_stateEntryTime;
    ProcessState(m_state);
    if (m_pendingState != COMM_STATE_INVALID)
    {
        m_state = m_pendingState;
        m_pendingState = COMM_STATE_INVALID;
    }
}

juce::String AppCommon::StateName(int state)
{
    return CommStateNames::coreName(state);
}

void AppCommon::DumpStateNames()
{
    for (int state = COMM_STATE_ERROR; state <= COMM_FACTORY_RESET; ++state)
        StateName(state);
}

void AppCommon::SetNextState(int state, bool runNow)
{
    m_retries = 0;
    m_pendingState = state;
    if (runNow)
        Tick();
}

void AppCommon::RestartState(int state)
{
    m_pendingState = state;
    m_prevState = COMM_STATE_INVALID;
}

void AppCommon::ReportError(const juce::String& text, int stateAfterError)
{
    m_errorText = text;
    SetNextState(COMM_STATE_ERROR);
    m_stateAfterError = stateAfterError;
    OnErrorReported();
}

void AppCommon::InitState(int state)
{
    logToFile("InitState( " + StateName(state) + " )");
    switch (state)
    {
        case COMM_STATE_ERROR: EnterErrorState(); break;
        case COMM_ERROR_SCAN_FOR_DISCONNECT: CheckStillConnected(); break;
        case COMM_SCAN_FOR_DEVICES:
            if (!IsAppCheckRunning())
                CloseProgress();
            ScanForDevices(true);
            break;
        case COMM_STATE_IDLE: EnterIdleState(); break;
        case COMM_STATE_REQUEST_VERSION:
            CreateUpdateTracker(m_connectedDevice);
            m_deviceVersion = VersionInfo();
            m_bReadAllOptions = true;
            EnterRequestState("Version", " version");
            break;
        case COMM_STATE_REQUEST_SERIAL:
            m_serialNumber.clear();
            EnterRequestState("Serial", " serial number");
            break;
        case COMM_LOAD_BIN_FILE:
            m_timerIntervalMs = 100;
            if (m_bRecoveryMode)
            {
                SetNextState(COMM_WAIT_FOR_BOOTLOADER);
                juce::ScopedLock lock(m_rxLock);
                m_bLineMode = true;
            }
            else
            {
                SetNextState(COMM_START_UPDATE);
            }
            break;
        case COMM_START_UPDATE: logMessage("Request bootloader...", false); break;
        case COMM_WAIT_FOR_BOOTLOADER: WaitForBootloader(true); break;
        case COMM_STATE_FOUND_BOOTLOADER: EnterFoundBootloaderState(); break;
        case COMM_FACTORY_RESET:
            logMessage("Request Factory Reset...", false);
            SendCommand("Factory", true, 100, 10.0f);
            break;
        default:
            if (state >= COMM_GET_DEVICE_PLATFORM && state <= COMM_REBOOT_DEVICE)
                EnterFirmwareState(state);
            else if (state >= COMM_GET_CHANGELOG && state <= COMM_GET_UPDATE_DATA)
                EnterServerState(state);
            else if (state >= COMM_STATE_COUNT_ || state < 0)
                logMessage("InitState #" + juce::String(state), false);
            break;
    }
}

void AppCommon::EnterErrorState()
{
    m_tooltips.setMillisecondsBeforeTipAppears(1500);
    logMessage("Error: " + m_errorText, false);
    setStatusLine("Error: " + m_errorText, true);
    m_errorText = "Undefined.";
    m_timerIntervalMs = 100;
    m_bRecoveryMode = false;
    if (m_updateNoticeDevice != 0)
    {
        RemoveFirmwareNotification(m_updateNoticeDevice);
        StartFirmwareCheck(m_updateNoticeDevice);
        m_updateNoticeDevice = 0;
    }
    if (m_stateAfterError != 0)
        SetNextState(m_stateAfterError);
}

void AppCommon::EnterIdleState()
{
    // The power-cycle prompt leads into this state and must stay until the port goes.
    if (!m_bReprogrammed && !m_bPowerCyclePending && !IsAppCheckRunning())
        CloseProgress();
    m_tooltips.setMillisecondsBeforeTipAppears(1500);
    logMessage("Idle.", false);
    m_timerIntervalMs = 100;
    if (m_silentDisconnects > 0)
        --m_silentDisconnects;
    else
        setStatusLine("Device connected.", true);
}

void AppCommon::EnterFoundBootloaderState()
{
    m_tooltips.hideTip();
    m_tooltips.setMillisecondsBeforeTipAppears(150000);
    logMessage("Found bootloader!", false);
    setStatusLine("Ready to update.", true);
    m_repaintPeriodMs = 1000;
    MarkTxActivity();
    HandshakeBootloader();
}

void AppCommon::ProcessState(int state)
{
    switch (state)
    {
        case COMM_ERROR_SCAN_FOR_DISCONNECT: CheckStillConnected(); break;
        case COMM_SCAN_FOR_DEVICES: ScanForDevices(false); break;
        case COMM_STATE_IDLE: ProcessIdleState(); break;
        case COMM_STATE_REQUEST_VERSION: ProcessVersionReply(); break;
        case COMM_STATE_REQUEST_SERIAL: ProcessSerialReply(); break;
        case COMM_FACTORY_RESET: ProcessFactoryReply(); break;
        case COMM_START_UPDATE:
            m_repaintPeriodMs = 1000;
            MarkTxActivity();
            InvokeBootloader();
            SetNextState(COMM_WAIT_FOR_BOOTLOADER);
            break;
        case COMM_WAIT_FOR_BOOTLOADER: WaitForBootloader(false); break;
        case COMM_STATE_FOUND_BOOTLOADER: CheckHandshakeTimeout(); break;
        default:
            if (state >= COMM_GET_DEVICE_PLATFORM && state <= COMM_REBOOT_DEVICE)
                ProcessFirmwareState(state);
            else if (state == COMM_GET_CHANGELOG || state == COMM_GET_UPDATE_INFO || state == COMM_GET_UPDATE_DATA)
                ProcessServerState(state);
            break;
    }
}

void AppCommon::ProcessIdleState()
{
    if (m_bReprogrammed && m_timeInState > 2000 && !IsProgressShowing())
        ShowProgress("Reprogrammed. Please power-cycle the device.", ProgressDisplay::kIndeterminate);
    if (StartPresetWriteIfModified())
        return;
    if (s_tickCounter % 20 == 0)
        ScanForDevices(false);
    else if (m_silentDisconnects == 0 && m_timeInState > 2000)
        setStatusLine("Device connected.", true);
}

void AppCommon::OnDeviceFound(int deviceIndex)
{
    const auto underline = juce::String::repeatedString("_", 61);
    logMessage(underline, false);
    logMessage(" ", false);
    logMessage("=== Found " + DeviceName(deviceIndex) + " ===", false);
    logMessage(underline, false);
    logMessage(" ", false);
    logMessage(DeviceName(deviceIndex) + " connected.", false);
    UpdateTheme(deviceIndex);
    m_bRecoveryMode = false;
    // Only a pedal back in application mode ends "recovered"; the bootloader showing up again
    // must not re-arm the automatic recovery.
    if (deviceIndex != DeviceCatalogue::kBootloader)
        m_recoveryDone = false;
    if (deviceIndex >= 0 && deviceIndex < DeviceCatalogue::kDeviceCount)
        m_connectedDevice = deviceIndex;
    if (deviceIndex == DeviceCatalogue::kBootloader)
        OnBootloaderFound();
    else
        SetConnectedDevice(deviceIndex);
}

void AppCommon::OnBootloaderFound()
{
    m_bRecoveryMode = true;
    m_connectedDevice = DeviceCatalogue::kBootloader;
    m_deviceVersion = VersionInfo(VersionInfo::kUnknown);
    logMessage("<RED>Recovery mode...", false);
    setStatusLine("<RED>Recovery mode...", true);
    SetNextState(COMM_GET_DEVICE_PLATFORM);
}

void AppCommon::SetConnectedDevice(int deviceIndex)
{
    StartFirmwareCheck(deviceIndex);
    SetNextState(COMM_STATE_REQUEST_VERSION);
}

void AppCommon::UpdateTheme(int deviceIndex)
{
    const int index = (deviceIndex >= 0 && deviceIndex < DeviceCatalogue::kDeviceCount) ? deviceIndex : 0;
    logToFile("UpdateTheme(" + juce::String(index) + ")");
    m_themeDevice = index;
    Theme::load(index);
    m_lookAndFeel->applyTheme(s_theme);
}

juce::String AppCommon::ConnectionStatusText()
{
    if (m_connectedDevice < 0)
        return "No device connected.";
    if (m_connectedDevice >= DeviceCatalogue::kDeviceCount)
        return "INVALID DEVICE INDEX";

    juce::String text = DeviceName(m_connectedDevice);
    if (m_connectedDevice == DeviceCatalogue::kBootloader)
        return m_serialNumber.isNotEmpty() ? text + " | S/N " + m_serialNumber : text;

    if (!m_deviceVersion.isZero())
        text << " | Firmware v" << m_deviceVersion.toShortString();
    else if (m_state == COMM_STATE_REQUEST_VERSION)
        text << " | Firmware [checking...]";
    else
        text << " | Firmware v-.--.---";

    if (m_serialNumber.isNotEmpty())
        text << " | S/N " << m_serialNumber;
    else if (m_state == COMM_STATE_REQUEST_SERIAL)
        text << " | S/N [checking...]";
    else
        text << " | S/N --------";
    return text;
}
