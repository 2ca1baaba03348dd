#include "update/UtilityThread.h"

#include "device/AppCommon.h"

namespace
{
constexpr int kReapIntervalMs = 100;
}

UtilityThread::UtilityThread(const juce::String& threadName) : juce::Thread(threadName)
{
    ++AppCommon::s_liveUtilityThreads;
    startTimer(kReapIntervalMs);
}

UtilityThread::~UtilityThread()
{
    stopTimer();
    --AppCommon::s_liveUtilityThreads;
}

void UtilityThread::timerCallback()
{
    if (!isThreadRunning() && finished.load())
        delete this;
}
