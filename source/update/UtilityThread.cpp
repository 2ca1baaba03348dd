#include "update/UtilityThread.h"

#include "device/AppCommon.h"

namespace
{
constexpr int kReapIntervalMs = 100;
std::atomic<int> s_unfinishedWorkers { 0 };
}

UtilityThread::UtilityThread(const juce::String& threadName) : juce::Thread(threadName)
{
    ++AppCommon::s_liveUtilityThreads;
    ++s_unfinishedWorkers;
    startTimer(kReapIntervalMs);
}

UtilityThread::~UtilityThread()
{
    stopTimer();
    if (!finished.load())
        --s_unfinishedWorkers;
    --AppCommon::s_liveUtilityThreads;
}

void UtilityThread::timerCallback()
{
    if (!isThreadRunning() && finished.load())
        delete this;
}

void UtilityThread::markFinished()
{
    finished = true;
    --s_unfinishedWorkers;
}

bool UtilityThread::waitForRunningWorkers(int timeoutMs)
{
    const auto deadline = juce::Time::getMillisecondCounter() + (juce::uint32) timeoutMs;
    while (s_unfinishedWorkers.load() > 0)
    {
        if (juce::Time::getMillisecondCounter() > deadline)
            return false;
        juce::Thread::sleep(2);
    }
    return true;
}
