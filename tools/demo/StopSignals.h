#pragma once

#include <juce_events/juce_events.h>

#include <functional>

// Turns Ctrl+C and SIGTERM into an orderly quit on the message thread, so the demo takes its
// pedal out of the fake tree and closes its log as when the window is closed.
class StopSignals : private juce::Timer
{
public:
    explicit StopSignals(std::function<void()> onStop);
    ~StopSignals() override;

private:
    void timerCallback() override;

    std::function<void()> m_onStop;
};
