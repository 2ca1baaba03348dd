#pragma once

#include <juce_core/juce_core.h>

// Where the update-state tracker sends its events (the maker's web site in the product).
class EventSink
{
public:
    virtual ~EventSink() = default;
    virtual void sendEvent(const juce::String& eventText, const juce::String& serial, const juce::String& version) = 0;
};
