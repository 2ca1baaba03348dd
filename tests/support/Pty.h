#pragma once

#include "diagnostics/DebugLogger.h"

#include <juce_events/juce_events.h>

#include <cerrno>
#include <fcntl.h>
#include <functional>
#include <poll.h>
#include <stdlib.h>
#include <string>
#include <unistd.h>

// A pseudo terminal: the test holds the master side and plays the device; the code under test
// opens slavePath() as its serial port. The slave is kept open by nobody, so it vanishes with the
// master.
class Pty
{
public:
    Pty()
    {
        m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (m_master >= 0 && ::grantpt(m_master) == 0 && ::unlockpt(m_master) == 0)
            m_slavePath = ::ptsname(m_master);
    }
    ~Pty() { closeMaster(); }
    Pty(const Pty&) = delete;
    Pty& operator=(const Pty&) = delete;

    bool ok() const { return m_master >= 0 && m_slavePath.isNotEmpty(); }
    int master() const { return m_master; }
    const juce::String& slavePath() const { return m_slavePath; }

    void closeMaster()
    {
        if (m_master >= 0)
            ::close(m_master);
        m_master = -1;
    }

    // Writes everything (the master blocks while the slave's input buffer is full).
    bool send(const std::string& bytes)
    {
        size_t done = 0;
        while (done < bytes.size())
        {
            const auto n = ::write(m_master, bytes.data() + done, bytes.size() - done);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                return false;
            done += (size_t) n;
        }
        return true;
    }

    // Reads what the slave side sent until `count` bytes are in or `timeoutMs` pass.
    std::string receive(size_t count, int timeoutMs)
    {
        std::string bytes;
        const auto end = juce::Time::getMillisecondCounter() + (juce::uint32) timeoutMs;
        while (bytes.size() < count && juce::Time::getMillisecondCounter() < end)
        {
            pollfd pfd { m_master, POLLIN, 0 };
            if (::poll(&pfd, 1, 20) <= 0 || !(pfd.revents & POLLIN))
                continue;
            char buffer[4096];
            const auto n = ::read(m_master, buffer, std::min(sizeof(buffer), count - bytes.size()));
            if (n > 0)
                bytes.append(buffer, (size_t) n);
        }
        return bytes;
    }

private:
    int m_master = -1;
    juce::String m_slavePath;
};

// What was appended to the log file since construction.
class LogTail
{
public:
    LogTail()
    {
        DebugLogger::prepareLogFile();
        m_start = DebugLogger::logFile().getSize();
    }
    juce::String text() const
    {
        juce::FileInputStream in(DebugLogger::logFile());
        if (!in.openedOk())
            return {};
        in.setPosition(m_start);
        return in.readEntireStreamAsString();
    }
    bool contains(const juce::String& fragment) const { return text().contains(fragment); }

private:
    juce::int64 m_start = 0;
};

// Runs the message loop until `done` holds or `timeoutMs` pass; returns `done()`.
inline bool pumpMessagesUntil(const std::function<bool()>& done, int timeoutMs)
{
    const auto end = juce::Time::getMillisecondCounter() + (juce::uint32) timeoutMs;
    while (!done() && juce::Time::getMillisecondCounter() < end)
        juce::MessageManager::getInstance()->runDispatchLoopUntil(5);
    return done();
}

// Waits (without running the message loop) until `done` holds or `timeoutMs` pass.
inline bool waitUntil(const std::function<bool()>& done, int timeoutMs)
{
    const auto end = juce::Time::getMillisecondCounter() + (juce::uint32) timeoutMs;
    while (!done() && juce::Time::getMillisecondCounter() < end)
        juce::Thread::sleep(1);
    return done();
}
