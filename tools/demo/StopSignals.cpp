#include "demo/StopSignals.h"

#include <atomic>
#include <csignal>

namespace
{
std::atomic<bool> s_stopRequested { false };

extern "C" void requestStop(int)
{
    s_stopRequested = true;
}
}

StopSignals::StopSignals(std::function<void()> onStop) : m_onStop(std::move(onStop))
{
    std::signal(SIGINT, requestStop);
    std::signal(SIGTERM, requestStop);
    startTimer(200);
}

StopSignals::~StopSignals()
{
    stopTimer();
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
}

void StopSignals::timerCallback()
{
    if (s_stopRequested.exchange(false))
        m_onStop();
}
