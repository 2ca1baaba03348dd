#include "app/UpdateStateTracker.h"

#include "app/SettingsKeys.h"
#include "device/DeviceCatalogue.h"
#include "device/VersionInfo.h"

UpdateStateTracker::UpdateStateTracker(juce::PropertySet* settings, const juce::String& deviceName,
                                       std::unique_ptr<EventSink> events)
    : m_settings(settings), m_deviceName(deviceName), m_prefix(DeviceKeyName(deviceName)), m_events(std::move(events))
{
    m_state = m_settings->getIntValue(key(SettingsKeys::kActiveUpdateState), kNeverConnected);
    m_storedSerial = m_settings->getValue(key(SettingsKeys::kActiveSerial), "UNDEFINED");
    m_lastSerial = m_storedSerial;
    reportInterruptedUpdate();
}

juce::String UpdateStateTracker::key(const char* name) const
{
    return SettingsKeys::deviceKey(m_prefix, name);
}

juce::String UpdateStateTracker::storedVersion(const char* name) const
{
    return VersionInfo(m_settings->getValue(key(name), VersionInfo::kUnknown)).toString();
}

void UpdateStateTracker::reportInterruptedUpdate()
{
    const char* text = nullptr;
    switch (m_state)
    {
        case kUpdateStarted: text = "Update START CRASH"; break;
        case kErasing: text = "Update ERASE CRASH"; break;
        case kProgramming: text = "Update PROGRAMMING CRASH"; break;
        case kVerifying: text = "Update VERIFY CRASH"; break;
        case kClosedWhileStarting: text = "Update app CLOSED during UPDATE"; break;
        case kClosedWhileErasing: text = "Update app CLOSED during ERASE"; break;
        case kClosedWhileProgramming: text = "Update app CLOSED during PROGRAMMING"; break;
        case kClosedWhileVerifying: text = "Update app CLOSED during VERIFY"; break;
        default: return;
    }
    // The interrupted update was heading for this version; that is what support needs to see.
    reportEvent(text, storedVersion(SettingsKeys::kUpdatingTo));
    SetUpdateState(kSettled);
}

void UpdateStateTracker::SetUpdateState(int state)
{
    m_state = state;
    m_settings->setValue(key(SettingsKeys::kActiveUpdateState), state);
    switch (state)
    {
        case kFirstConnection: reportEvent("First time connect", m_lastVersion); break;
        case kUpdateStarted: reportEvent("Start Update", storedVersion(SettingsKeys::kUpdatingFrom)); break;
        case kUpdateComplete: reportEvent("Update Complete", storedVersion(SettingsKeys::kUpdatingTo)); break;
        case kVerifyFailed:
            reportEvent("Update VERIFY FAIL", storedVersion(SettingsKeys::kUpdatingTo));
            SetUpdateState(kSettled);
            break;
        default: break;
    }
}

void UpdateStateTracker::StartUpdate(const juce::String& fromVersion, const juce::String& toVersion, bool forced,
                                     bool recovery)
{
    m_settings->setValue(key(SettingsKeys::kUpdatingFrom), VersionInfo(fromVersion).toString());
    m_settings->setValue(key(SettingsKeys::kUpdatingTo), VersionInfo(toVersion).toString());
    m_settings->setValue(key(SettingsKeys::kForcedUpdate), forced);
    m_settings->setValue(key(SettingsKeys::kRecoveryUpdate), recovery);
    SetUpdateState(kUpdateStarted);
}

void UpdateStateTracker::SetActiveDevice(const juce::String& serial, const juce::String& version)
{
    // Every event carries versions in the stored, normalised form.
    const auto normalised = VersionInfo(version).toString();
    m_lastSerial = serial;
    m_lastVersion = normalised;
    m_settings->setValue(key(SettingsKeys::kActiveSerial), serial);
    m_settings->setValue(SettingsKeys::kLastActiveDevice, m_deviceName);
    m_settings->setValue(SettingsKeys::kLastActiveSerial, serial);
    m_settings->setValue(SettingsKeys::kLastActiveVersion, normalised);
    m_settings->setValue(key(SettingsKeys::kActiveVersion), normalised);

    switch (m_state)
    {
        case kNeverConnected: SetUpdateState(kFirstConnection); break;
        case kUpdateStarted:
        case kErasing:
        case kProgramming:
        case kVerifying: SetUpdateState(kSettled); break;
        case kVerified: SetUpdateState(kUpdateComplete); break;
        default: break;
    }
}

void UpdateStateTracker::MarkAppClosing()
{
    if (m_state >= kUpdateStarted && m_state <= kVerifying)
        SetUpdateState(m_state + (kClosedWhileStarting - kUpdateStarted));
}

void UpdateStateTracker::reportEvent(const juce::String& text, const juce::String& version)
{
    juce::String event = text;
    if (m_settings->getBoolValue(key(SettingsKeys::kForcedUpdate), false))
        event << "(forced)";
    if (m_settings->getBoolValue(key(SettingsKeys::kRecoveryUpdate), false))
        event << "(emergency)";
    if (m_events != nullptr)
        m_events->sendEvent(event, m_lastSerial, version);
}
