#pragma once

#include <juce_core/juce_core.h>

#include <chrono>
#include <thread>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

// Tests that find the application's windows by name share one display: this lock, held for a
// test's whole life, keeps two of them (ctest runs two at a time) from seeing each other's windows.
class ScopedDisplayLock
{
public:
    ScopedDisplayLock() : m_fd(::open("/tmp/hv-app-window-tests.lock", O_RDWR | O_CREAT | O_CLOEXEC, 0666))
    {
        if (m_fd >= 0)
            ::flock(m_fd, LOCK_EX);
    }
    ~ScopedDisplayLock()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }

private:
    int m_fd;
};

// Runs a short command and returns its standard output.
inline juce::String runCommand(const juce::StringArray& args, int timeoutMs = 5000)
{
    juce::ChildProcess process;
    if (!process.start(args, juce::ChildProcess::wantStdOut))
        return {};
    auto output = process.readAllProcessOutput();
    process.waitForProcessToFinish(timeoutMs);
    return output;
}

// The X window id of the first window whose name matches exactly, or empty after `timeoutMs`.
inline juce::String waitForWindow(const juce::String& name, int timeoutMs = 15000)
{
    const auto deadline = juce::Time::getMillisecondCounter() + (juce::uint32) timeoutMs;
    while (juce::Time::getMillisecondCounter() < deadline)
    {
        const auto ids = juce::StringArray::fromLines(runCommand({ "xdotool", "search", "--name", "^" + name + "$" }).trim());
        if (ids.size() > 0 && ids[0].isNotEmpty())
            return ids[0];
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return {};
}
