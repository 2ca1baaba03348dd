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

    // Blocks until no worker is still inside `run` (or the time is up); true when none is. The
    // records and blocks the workers write into belong to their requesters, so a requester that
    // goes away must first let the running workers finish writing.
    static bool waitForRunningWorkers(int timeoutMs);

protected:
    // Called by the derived class as the very last action of `run`.
    void markFinished();

    std::atomic<bool> finished { false };

private:
    JUCE_DECLARE_NON_COPYABLE(UtilityThread)
};
