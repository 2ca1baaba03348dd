#include "app/Clock.h"

#include <juce_core/juce_core.h>

#include <mutex>

namespace
{
std::mutex g_clockLock;
std::function<int64_t()> g_source;
}

namespace Clock
{
int64_t nowMs()
{
    {
        std::lock_guard<std::mutex> lock(g_clockLock);
        if (g_source)
            return g_source();
    }
    return juce::Time::currentTimeMillis();
}

void setSource(std::function<int64_t()> source)
{
    std::lock_guard<std::mutex> lock(g_clockLock);
    g_source = std::move(source);
}

ScopedManualClock::ScopedManualClock(int64_t startMs) : m_now(startMs)
{
    setSource([this] { return m_now.load(); });
}

ScopedManualClock::~ScopedManualClock()
{
    setSource({});
}
}
