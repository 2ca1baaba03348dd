#include "app/Clock.h"
#include "device/AppCommon.h"
#include "diagnostics/LogFormat.h"
#include "serial/SerialPort.h"
#include "serial/SerialPortStreams.h"

namespace
{
uint8_t s_failedOpenCount = 0;
uint32_t s_scanCounter = 0;
uint32_t s_scanAnimation = 0;
juce::String s_lastPortListing = "init";
juce::int64 s_nextPortListingTime = 0;
constexpr juce::int64 kPortListingPeriodMs = 2000;

juce::String idAfter(const juce::String& upperKey, const char* marker)
{
    const int at = upperKey.indexOf(marker);
    return at < 0 ? juce::String() : upperKey.substring(at + (int) strlen(marker), at + (int) strlen(marker) + 4);
}

juce::String animationDots(uint32_t counter)
{
    static const char* const dots[] = { ".", "..", "...", "" };
    return dots[counter % 4];
}
}

int AppCommon::ScanSerialPorts(int deviceIndex)
{
    const auto* row = deviceRow(deviceIndex);
    if (row == nullptr)
    {
        logToFile("ScanSerialPorts(" + juce::String(deviceIndex) + ") Invalid index!");
        return -1;
    }

    juce::String report;
    const auto ports = SerialPort::getSerialPortPaths(row->vid, row->pid, (uint16_t) row->usbInterface, &report, nullptr);
    if (report.isNotEmpty())
        logToFile(report);

    const auto& keys = ports.getAllKeys();
    const auto& paths = ports.getAllValues();
    for (int i = 0; i < keys.size(); ++i)
    {
        const auto key = keys[i].toUpperCase();
        if (!idAfter(key, "VID_").equalsIgnoreCase(row->vid) || !idAfter(key, "PID_").equalsIgnoreCase(row->pid))
            continue;
        // A pedal unplugged and plugged in again between two presence checks is listed again, but
        // the link still held leads to the old, hung-up port: reported as gone, it is found afresh
        // and identified again instead of a dead link being shown as connected.
        if (m_connectedDevice == deviceIndex)
            return portIsValid() ? deviceIndex : -1;
        logToFile("  " + row->name);
        return InitSerialPort(paths[i], SerialPortConfig::pedal()) ? deviceIndex : -1;
    }
    return -1;
}

bool AppCommon::InitSerialPort(const juce::String& path, const SerialPortConfig& config)
{
    const juce::MessageManagerLock lock;
    logToFile("InitSerialPort() " + path);
    ClosePort();

    m_port = std::make_unique<SerialPort>();
    m_port->m_bOpened = m_port->open(path);
    m_port->m_bConfigured = m_port->m_bOpened && m_port->setConfig(config);
    if (m_port->m_bOpened && m_port->m_bConfigured)
    {
        logToFile("success");
        m_inputStream = std::make_unique<SerialPortInputStream>(m_port.get());
        m_outputStream = std::make_unique<SerialPortOutputStream>(m_port.get());
        m_inputStream->addChangeListener(this);
        m_inputStream->setNotify(1, 0x0A);
        logMessage("<GREY>Opened " + path, false);
        return true;
    }

    // Each flag on its own, so a port that opened but refused the line settings reads "o: 1 c: 0".
    logMessage("<RED>Failed to open " + path + " o: " + juce::String(m_port->m_bOpened ? 1 : 0) + " c: "
                   + juce::String(m_port->m_bConfigured ? 1 : 0),
               false);
    m_port.reset();
    if (++s_failedOpenCount == 10)
        ErrorMessage("An error has occurred",
                     "This application can see your device, but is unable to connect.\r\nPlease close the app, then "
                     "disconnect and reconnect the USB \r\ncable to your device.\r\nAlso ensure that there are no "
                     "other Halvane \r\napplications currently open on your computer, and that only \r\none Halvane "
                     "device is connected at a time.",
                     false);
    return false;
}

void AppCommon::ClosePort()
{
    if (m_bReprogrammed || m_bPowerCyclePending)
        CloseProgress();
    if (m_inputStream != nullptr)
    {
        logToFile("delete inputStream");
        m_inputStream.reset();
    }
    if (m_outputStream != nullptr)
    {
        logToFile("delete outputStream");
        m_outputStream.reset();
    }
    if (m_port != nullptr)
    {
        if (m_silentDisconnects == 0)
        {
            logMessage("<RED>Disconnected.", false);
            m_bKeepLastLogLine = true;
            RefreshStateDisplay(m_state);
        }
        else
        {
            --m_silentDisconnects;
        }
        logToFile("delete port");
        m_port.reset();
    }
    m_bReprogrammed = false;
    m_bPowerCyclePending = false;
    m_connectedDevice = -1;
}

void AppCommon::ResetConnection()
{
    m_bRecoveryMode = false;
    UpdateTheme(0);
    ClosePort();
    OnConnectionReset();
    RefreshStateDisplay(m_state);
}

void AppCommon::LostConnection(int deviceIndex)
{
    logMessage("<RED>Lost connection. (" + juce::String(deviceIndex) + ")", false);
    setStatusLine("<RED>Lost connection.", true);
    m_timerIntervalMs = 2000;
    ResetConnection();
}

bool AppCommon::portIsValid()
{
    return m_port != nullptr && m_port->valid();
}

void AppCommon::ScanForDevices(bool entering)
{
    if (entering)
    {
        m_tooltips.setMillisecondsBeforeTipAppears(1500);
        logMessage("Scanning for Device...", false);
        setStatusLine("Scanning for devices" + animationDots(s_scanAnimation++), true);
        m_timerIntervalMs = 100;
        m_scanCountdown = m_scanCountdownReload = 100;
        m_deviceVersion = VersionInfo();
        m_serialNumber.clear();
        ++s_scanCounter;
        return;
    }

    if (m_state == COMM_SCAN_FOR_DEVICES && s_scanCounter % 2 == 0)
    {
        if (m_silentDisconnects > 0)
            --m_silentDisconnects;
        else
            setStatusLine("Scanning for devices" + animationDots(s_scanAnimation++), true);
    }

    const int before = m_connectedDevice;
    const int probe = before != -1 ? before : (int) (s_scanCounter % 4);
    const int found = ScanSerialPorts(probe);
    if (found == probe && m_connectedDevice != probe)
        OnDeviceFound(probe);

    if (found != -1)
    {
        m_connectedDevice = found;
    }
    else
    {
        if (before != -1)
            LostConnection(before);
        m_connectedDevice = -1;
        SetNextState(COMM_SCAN_FOR_DEVICES);
        if (m_state != COMM_STATE_IDLE && !m_bRecoveryMode && --m_scanCountdown <= 0)
        {
            m_scanCountdown = m_scanCountdownReload;
            if (!m_recoveryDone && ScanSerialPorts(DeviceCatalogue::kBootloader) == DeviceCatalogue::kBootloader
                && m_connectedDevice != DeviceCatalogue::kBootloader)
                OnBootloaderFound();
            else if (m_state == COMM_SCAN_FOR_DEVICES)
                RestartState(COMM_SCAN_FOR_DEVICES);
        }
    }
    ++s_scanCounter;
}

void AppCommon::CheckStillConnected()
{
    const bool valid = portIsValid();
    if (valid && ScanSerialPorts(m_connectedDevice) == m_connectedDevice)
        return;
    if (!valid)
        ResetConnection();
    SetNextState(COMM_SCAN_FOR_DEVICES);
}

void AppCommon::LogPortListing()
{
    juce::String report;
    bool reportFlag = false;
    const auto ports = SerialPort::getSerialPortPaths({}, {}, 0, &report, &reportFlag);
    const auto listing = ports.getAllKeys().joinIntoString("\n");

    bool written = false;
    if (listing != s_lastPortListing)
    {
        logToFile(LogFormat::separator());
        logToFile("Com Ports: " + juce::Time::getCurrentTime().toString(true, true));
        if (ports.size() == 0)
            logToFile("  None.");
        for (const auto& key : ports.getAllKeys())
            logToFile("  " + key);
        logToFile(LogFormat::separator());
        s_lastPortListing = listing;
        written = true;
    }
    if (report.isNotEmpty() && reportFlag)
    {
        if (!written)
            logToFile(LogFormat::separator());
        logToFile(report);
        logToFile(LogFormat::separator());
    }
}

void AppCommon::ListPortsIfDue()
{
    const auto now = Clock::nowMs();
    // A wall clock set back would otherwise hold the listing off for as long as it went back.
    if (now > s_nextPortListingTime || s_nextPortListingTime - now > kPortListingPeriodMs)
    {
        LogPortListing();
        s_nextPortListingTime = now + kPortListingPeriodMs;
    }
}
