#pragma once

#include "app/EventSink.h"

#include <juce_core/juce_core.h>

// Reports firmware-update events to the maker's web site, one POST per event. The answer counts
// as accepted when it holds "status" followed (somewhere later) by "Success". Nothing is queued
// or retried, and nothing is sent from the development machine.
class EventReporter : public EventSink
{
public:
    static constexpr const char* kDevelopmentMachineName = "HV-BENCH-07";

    // `systemParams` is what getSystemParams() returned; `computerName` is the host name checked
    // against the development machine's.
    EventReporter(const juce::String& url, const juce::String& productId, const juce::String& systemParams,
                  bool beta, bool debug, const juce::String& computerName = juce::SystemStats::getComputerName());

    // The tracker does not look at the outcome; `reportEvent` gives it.
    void sendEvent(const juce::String& eventText, const juce::String& serial, const juce::String& version) override;
    bool reportEvent(const juce::String& eventText, const juce::String& serial, const juce::String& version);

    // P: event, sn, fw, the system parameters, beta and debug when set, and tool last.
    juce::String eventParams(const juce::String& eventText, const juce::String& serial,
                             const juce::String& version) const;

    // Sends P (blocking); true when the site accepted it.
    bool postEvent(const juce::String& params);

    // action, pid, pk and data (P escaped once more): the query of the request, and its body.
    juce::String requestQuery(const juce::String& params) const;

    const juce::String& lastResponse() const { return m_lastResponse; }

    // name "=" value, each escaped, then "&" unless it is the last parameter.
    static juce::String makeParam(const juce::String& name, const juce::String& value, bool last);
    // UTF-8 bytes; letters, digits and _ - . * ! ' ( ) stay, every other byte becomes %XX.
    static juce::String escape(const juce::String& text);
    // The access hash the site checks for `productId` on the local date of `localTime`.
    static juce::String accessHash(const juce::String& productId, juce::Time localTime);
    static bool isAccepted(const juce::String& answer);

private:
    juce::String m_url;
    juce::String m_productId;
    juce::String m_systemParams;
    juce::String m_lastResponse;
    bool m_bBeta;
    bool m_bDebug;
    juce::String m_computerName;
};

// The computer's description sent with every event: "os", "ram" and "cpu", each followed by "&".
juce::String getSystemParams();
