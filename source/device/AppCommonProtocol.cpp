#include "app/Clock.h"
#include "device/AppCommon.h"
#include "device/OptionRules.h"
#include "device/Utf8Text.h"
#include "serial/SerialPort.h"
#include "serial/SerialPortStreams.h"

namespace
{
uint8_t s_requestDots = 0;

juce::String requestDots()
{
    static const char* const dots[] = { ".", "..", "...", "" };
    return dots[s_requestDots++ % 4];
}
}

bool AppCommon::SendCommand(const juce::String& command, bool logReplies, int intervalMs, float timeoutSeconds)
{
    if (!portIsValid() || m_outputStream == nullptr)
    {
        ClosePort();
        SetNextState(COMM_SCAN_FOR_DEVICES);
        return false;
    }
    {
        juce::ScopedLock lock(m_rxLock);
        m_rxLine.clear();
        m_bLineMode = true;
        m_bLogRx = logReplies;
    }
    DrainInput();
    m_repaintPeriodMs = 200;
    MarkTxActivity();
    writeToPort(command);

    m_timerIntervalMs = intervalMs;
    m_ticksLeft = m_ticksReload = juce::roundToInt((float) (1000 / intervalMs) * timeoutSeconds);
    return true;
}

void AppCommon::writeToPort(const juce::String& text)
{
    if (m_outputStream == nullptr)
        return;
    m_outputStream->write(text.toRawUTF8(), text.getNumBytesAsUTF8());
    m_outputStream->flush();
}

void AppCommon::DrainInput()
{
    if (m_inputStream == nullptr)
        return;
    char byte;
    while (!m_inputStream->isExhausted())
        m_inputStream->read(&byte, 1);
}

bool AppCommon::HasReply()
{
    juce::ScopedLock lock(m_rxLock);
    return m_rxLine.isNotEmpty();
}

juce::String AppCommon::TakeReply()
{
    juce::ScopedLock lock(m_rxLock);
    auto reply = m_rxLine;
    m_rxLine.clear();
    return reply;
}

void AppCommon::SetLogRx(bool flag)
{
    juce::ScopedLock lock(m_rxLock);
    m_bLogRx = flag;
}

bool AppCommon::CheckReplyTimeout(int failState, int lostState)
{
    if (--m_ticksLeft != 0)
        return false;
    ++m_retries;
    m_ticksLeft = m_ticksReload;
    if (m_retries < 3)
    {
        RestartState(m_state);
        return false;
    }
    SetNextState(failState);
    if (portIsValid())
        return true;
    ResetConnection();
    SetNextState(lostState);
    return false;
}

juce::String AppCommon::readLineFromInput()
{
    juce::MemoryOutputStream bytes;
    char byte;
    while (m_inputStream->read(&byte, 1) == 1 && byte != '\n')
        bytes.writeByte(byte);
    return Utf8Text::decodeLenient(static_cast<const char*>(bytes.getData()), bytes.getDataSize()).trim();
}

void AppCommon::OnSerialData()
{
    juce::ScopedLock lock(m_rxLock);
    MarkRxActivity();
    if (m_inputStream == nullptr)
        return;
    if (!m_bLineMode)
    {
        if (!m_wordReceived)
            ReceiveRawWords();
        return;
    }
    while (m_inputStream != nullptr && m_inputStream->hasLine())
    {
        const auto line = readLineFromInput();
        if (m_handshakeState == 1 && line.startsWithChar('v'))
        {
            DrainInput();
            m_handshakeState = 2;
        }
        if (m_state == COMM_STATE_FOUND_BOOTLOADER || m_state == COMM_GET_DEVICE_PLATFORM
            || m_state == COMM_VERIFY_DEVICE_PLATFORM || m_state == COMM_REQUEST_DEVICE_INFO)
        {
            HandleBootloaderLine(line);
            continue;
        }
        m_rxLine = line;
        if (m_bLogRx)
        {
            logMessage("<BLUE>  rx:" + m_rxLine, false);
            logMessage("<BLUE>  rx state: " + StateName(m_state), false);
        }
        DrainInput();
    }
}

void AppCommon::EnterRequestState(const juce::String& command, const juce::String& what)
{
    const auto name = ConnectedDeviceName();
    logMessage("Request " + name + what + "...", false);
    setStatusLine("Request " + name + what + requestDots(), true);
    SendCommand(command, true, 100, 2.0f);
}

void AppCommon::ProcessVersionReply()
{
    if (!HasReply())
    {
        if (CheckReplyTimeout(COMM_ERROR_SCAN_FOR_DISCONNECT, COMM_ERROR_SCAN_FOR_DISCONNECT))
        {
            m_deviceVersion = VersionInfo();
            logMessage("- " + m_deviceVersion.toString(), false);
            ErrorMessage("Unable to communicate with the device.\r\n\r\nPlease disconnect and power-cycle your "
                             + ConnectedDeviceName() + "\r\nbefore attempting to connect again.",
                         false);
            ReportError("Unable to communicate with the device.", COMM_ERROR_SCAN_FOR_DISCONNECT);
        }
        return;
    }
    m_deviceVersion = VersionInfo(TakeReply());
    if (m_deviceVersion.isKnown())
        SetActiveVersion(m_connectedDevice, m_deviceVersion.toString());
    else
        // A line that is no version (another command's reply, noise) leaves the version unknown
        // and must not overwrite the version remembered from the last good connection.
        m_deviceVersion = VersionInfo();
    if (deviceRow(m_connectedDevice) != nullptr
        && m_deviceVersion.isOlderThan(m_availableUpdates[(size_t) m_connectedDevice].availableVersion))
        RaiseFirmwareNotification(m_connectedDevice);
    else
        RemoveFirmwareNotification(m_connectedDevice);
    SetNextState(COMM_STATE_REQUEST_SERIAL);
}

void AppCommon::ProcessSerialReply()
{
    if (!HasReply())
    {
        if (CheckReplyTimeout(COMM_STATE_IDLE, COMM_SCAN_FOR_DEVICES))
        {
            m_serialNumber = "None";
            logMessage("- None", false);
        }
        return;
    }
    m_serialNumber = TakeReply();
    if (m_updateTracker != nullptr)
        m_updateTracker->SetActiveDevice(m_serialNumber, m_deviceVersion.toString());
    MarkPedalPresetsForReread();
    m_stateAfterOptions = COMM_GET_PRESET;
    SetNextState(COMM_GET_MIDI_CHANNEL);
}

void AppCommon::ProcessFactoryReply()
{
    if (!HasReply())
    {
        if (CheckReplyTimeout(COMM_FACTORY_RESET, COMM_SCAN_FOR_DEVICES))
        {
            logMessage("<RED>Factory reset timeout", false);
            RefreshStateDisplay(m_state);
            // Each round starts with a fresh command, so every round is three full attempts.
            RestartState(COMM_FACTORY_RESET);
        }
        return;
    }
    if (TakeReply() == "OK")
        SetNextState(COMM_STATE_REQUEST_VERSION);
}
