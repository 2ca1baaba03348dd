#pragma once

#include "ui/MainComponent.h"

#include <optional>
#include <utility>
#include <vector>

// The main component with its inner state reachable from tests: the server's offers, the running
// checks and the flags other subsystems set are placed directly, and update requests are recorded
// instead of started.
class ProbedMain : public MainComponent
{
public:
    ProbedMain() { stopTimer(); }

    void setAvailableVersion(int device, const juce::String& version)
    {
        m_availableUpdates[(size_t) device].availableVersion = VersionInfo(version);
    }
    void setDocUrl(int device, const juce::String& url) { m_availableUpdates[(size_t) device].docUrl = url; }
    // The display sees the server checks as set here, not the real ones.
    void setChecksRunning(bool firmware, bool app) { m_checksOverride = std::make_pair(firmware, app); }
    // Server tests let the real checks and update requests through; the others see no check
    // running and only record update requests.
    void useRealServerWork()
    {
        m_checksOverride.reset();
        m_recordUpdates = false;
    }
    void setPowerCyclePending(bool pending) { m_bPowerCyclePending = pending; }
    void setRecoveryMode(bool recovery) { m_bRecoveryMode = recovery; }
    bool recoveryMode() const { return m_bRecoveryMode; }
    void setTestAppUpdate(bool test) { m_bTestAppUpdate = test; }
    void setDevice(int device, const juce::String& version)
    {
        m_connectedDevice = device;
        m_deviceVersion = VersionInfo(version);
        UpdateTheme(device);
    }
    void setSerial(const juce::String& serial) { m_serialNumber = serial; }
    void setState(int state) { m_state = m_prevState = state; }
    void markRxActivity() { MarkRxActivity(); }

    bool IsFirmwareCheckRunning() override
    {
        return m_checksOverride ? m_checksOverride->first : MainComponent::IsFirmwareCheckRunning();
    }
    bool IsAppCheckRunning() override
    {
        return m_checksOverride ? m_checksOverride->second : MainComponent::IsAppCheckRunning();
    }
    void GetUpdate(int device, bool forced) override
    {
        if (!m_recordUpdates)
            return MainComponent::GetUpdate(device, forced);
        updateRequests.emplace_back(device, forced);
    }

    std::vector<std::pair<int, bool>> updateRequests;

private:
    std::optional<std::pair<bool, bool>> m_checksOverride = std::make_pair(false, false);
    bool m_recordUpdates = true;
};
