#include "app/Clock.h"
#include "device/AppCommon.h"
#include "firmware/BootloaderCommands.h"
#include "serial/SerialPortStreams.h"

namespace
{
int s_badLineCount = 0;
constexpr juce::int64 kBootloaderWaitMs = 5000;
}

void AppCommon::InvokeBootloader()
{
    logMessage("InvokeBootloader()", false);
    writeToPort("Update");
}

void AppCommon::WaitForBootloader(bool start)
{
    if (start)
    {
        m_bootloaderDeadline = Clock::nowMs() + kBootloaderWaitMs;
        return;
    }
    if (ScanSerialPorts(DeviceCatalogue::kBootloader) == DeviceCatalogue::kBootloader)
    {
        m_connectedDevice = DeviceCatalogue::kBootloader;
        SetNextState(COMM_STATE_FOUND_BOOTLOADER);
    }
    else if (Clock::nowMs() > m_bootloaderDeadline)
    {
        BootloaderFailure({});
    }
}

void AppCommon::CheckHandshakeTimeout()
{
    if (Clock::nowMs() > m_bootloaderDeadline)
        BootloaderFailure({});
}

void AppCommon::HandshakeBootloader()
{
    logMessage("HandshakeBootloader()", false);
    {
        juce::ScopedLock lock(m_rxLock);
        m_bLineMode = true;
        m_handshakeState = 1;
        // Stray lines of an earlier, interrupted handshake must not count against this one.
        s_badLineCount = 0;
    }
    // A monitor that never sends its version line (or a pedal unplugged meanwhile) would
    // otherwise leave the machine waiting here for ever.
    m_bootloaderDeadline = Clock::nowMs() + kBootloaderWaitMs;
    writeToPort("N#");
    writeToPort("V#");
}

void AppCommon::ReadWord(uint32_t address)
{
    m_rxByteCount = 0;
    m_wordReceived = false;
    m_repaintPeriodMs = 1000;
    MarkTxActivity();
    writeToPort(BootloaderCommands::readWord(address));
}

void AppCommon::WriteWord(uint32_t address, uint32_t value)
{
    m_repaintPeriodMs = 1000;
    MarkTxActivity();
    writeToPort(BootloaderCommands::writeWord(address, value));
}

void AppCommon::SwitchToBinaryMode()
{
    {
        juce::ScopedLock lock(m_rxLock);
        m_bLineMode = false;
        m_rxByteCount = 0;
        m_wordReceived = false;
    }
    if (m_inputStream != nullptr)
        m_inputStream->setNotify(2, 0);
    m_timerIntervalMs = 1;
}

void AppCommon::HandleBootloaderLine(const juce::String& line)
{
    if (m_state == COMM_STATE_FOUND_BOOTLOADER)
    {
        logMessage("<BLUE>  rx:" + m_rxLine, false);
        logMessage("<BLUE>  UTF8:" + line, false);
        logMessage("<BLUE>  rx state: " + StateName(m_state), false);
        if (line.startsWithChar('v'))
        {
            DrainInput();
            s_badLineCount = 0;
            SetNextState(COMM_VERIFY_DEVICE_PLATFORM);
        }
        else if (++s_badLineCount > 2)
        {
            s_badLineCount = 0;
            ReportError("Bad response from bootloader [" + line + "]", COMM_SCAN_FOR_DEVICES);
        }
        return;
    }
    ReadWord(BootloaderCommands::kEefcFsr);
}

void AppCommon::ReceiveRawWords()
{
    while (m_inputStream != nullptr && !m_inputStream->isExhausted() && !m_wordReceived)
    {
        const auto waiting = m_inputStream->getTotalLength();
        if (waiting < 4 || m_rxByteCount > 0)
        {
            m_inputStream->read(&m_rxBytes[m_rxByteCount], 1);
            if (++m_rxByteCount < 4)
                continue;
            m_rxWord = BootloaderCommands::assembleWord(m_rxBytes);
            m_rxByteCount = 0;
        }
        else
        {
            uint8_t bytes[4] {};
            m_rxWord = m_inputStream->read(bytes, 4) == 4 ? BootloaderCommands::assembleWord(bytes) : 0;
        }
        m_wordReceived = true;
        if (m_state == COMM_ERASE_DEVICE || m_state == COMM_PROGRAM_DEVICE || m_state == COMM_VERIFY_DEVICE)
            OnWordReceived(m_state);
    }
}

void AppCommon::BootloaderFailure(const juce::String& message)
{
    juce::String text = message;
    if (text.isEmpty())
    {
        const auto* row = deviceRow(m_connectedDevice);
        const auto name = row != nullptr && m_connectedDevice != DeviceCatalogue::kBootloader ? row->name
                                                                                               : juce::String("device");
        text = juce::String("Timed-out waiting for bootloader.  Please\r\ndisconnect and power-cycle your @DEVICENAME@"
                            "\r\nthen restart the update process.")
                   .replace("@DEVICENAME@", name);
    }
    ErrorMessage(text, false);
    ShowPowerCycle();
}

void AppCommon::ShowPowerCycle()
{
    m_bPowerCyclePending = true;
    ShowProgress("An error has occurred", "Please disconnect, power-cycle, then reconnect the device.",
                 ProgressDisplay::kIndeterminate);
    RefreshStateDisplay(m_state);
    SetNextState(COMM_STATE_IDLE);
}
