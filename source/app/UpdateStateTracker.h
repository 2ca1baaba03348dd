#pragma once

#include "app/EventSink.h"

#include <juce_data_structures/juce_data_structures.h>

#include <memory>

// How far a firmware update got, stored before each stage starts so that a crash or an early
// close is noticed (and reported once) at the next connection of the same pedal.
class UpdateStateTracker
{
public:
    enum UpdateState
    {
        kNeverConnected = 0,
        kFirstConnection = 1,
        kUpdateStarted = 2,
        kErasing = 3,
        kProgramming = 4,
        kVerifying = 5,
        kVerified = 6,
        kUpdateComplete = 7,
        kClosedWhileStarting = 8,
        kClosedWhileErasing = 9,
        kClosedWhileProgramming = 10,
        kClosedWhileVerifying = 11,
        kVerifyFailed = 12,
        kSettled = 13,
    };

    // Reads the stored stage of `deviceName` and reports a crash or close found there.
    UpdateStateTracker(juce::PropertySet* settings, const juce::String& deviceName, std::unique_ptr<EventSink> events);

    void SetUpdateState(int state);
    void StartUpdate(const juce::String& fromVersion, const juce::String& toVersion, bool forced, bool recovery);
    void SetActiveDevice(const juce::String& serial, const juce::String& version);
    void MarkAppClosing();

    int state() const { return m_state; }
    const juce::String& keyPrefix() const { return m_prefix; }

private:
    juce::String key(const char* name) const;
    juce::String storedVersion(const char* name) const;
    void reportEvent(const juce::String& text, const juce::String& version);
    void reportInterruptedUpdate();

    juce::PropertySet* m_settings;
    juce::String m_deviceName;
    juce::String m_prefix;
    int m_state = kNeverConnected;
    juce::String m_storedSerial;
    juce::String m_lastSerial;
    juce::String m_lastVersion;
    std::unique_ptr<EventSink> m_events;
};
