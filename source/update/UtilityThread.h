#pragma once

#include <juce_events/juce_events.h>

#include <atomic>

// A short-lived background thread that deletes itself once its work is done. Its 100 ms timer
// runs on the message thread and removes the object after `run` has returned, so nobody has to
// keep a pointer to it. Every existing object is counted so that a quit can wait for them.
class UtilityThread : public juce::Thread, public juce::Timer
{
public:
    explicit UtilityThread(const juce::String& threadName);
    ~UtilityThread() override;

    void timerCallback() override;

protected:
    // Set by the derived class as the very last action of `run`.
    std::atomic<bool> finished { false };

private:
    JUCE_DECLARE_NON_COPYABLE(UtilityThread)
};
