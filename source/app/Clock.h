#pragma once

#include <atomic>
#include <cstdint>
#include <functional>

// The one wall clock of the state machine, the flash steps and the log stamps, in milliseconds
// since 1970. Tests replace it so that long time-outs pass in microseconds.
namespace Clock
{
    int64_t nowMs();

    // Installs a replacement clock; an empty function restores the system clock.
    void setSource(std::function<int64_t()> source);

    // A manual clock for tests: starts at `startMs` and moves only when advanced.
    class ScopedManualClock
    {
    public:
        explicit ScopedManualClock(int64_t startMs = 1'700'000'000'000);
        ~ScopedManualClock();
        void advance(int64_t ms) { m_now += ms; }
        void set(int64_t ms) { m_now = ms; }
        int64_t now() const { return m_now; }

    private:
        std::atomic<int64_t> m_now;
    };
}
