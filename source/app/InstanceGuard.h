#pragma once

#include <juce_events/juce_events.h>

#include <functional>
#include <memory>

// Keeps one instance of the application per user and passes a later start's command line to it.
// The framework's own mechanism refuses the second start on Linux but never tells the first one
// (its broadcast is not implemented there), so the application keeps its own: a process lock in
// the home folder plus a local socket beside it on which the running instance listens.
class InstanceGuard : private juce::Thread
{
public:
    using Handler = std::function<void(const juce::String& commandLine)>;

    // `name` names the lock and the socket; instances with the same name exclude each other.
    explicit InstanceGuard(const juce::String& name);
    ~InstanceGuard() override;

    // True when no other instance runs. This one then listens, and calls `onAnotherInstance` on the
    // message thread with the command line of every later start.
    bool claim(Handler onAnotherInstance);

    // From a refused start: hands the command line to the running instance. False when it could
    // not be reached within about two seconds.
    bool forward(const juce::String& commandLine);

    // "<home>/.<name>.socket"
    juce::File socketFile() const { return m_socketFile; }

private:
    void run() override;
    void receiveFrom(int connection);
    bool listen();

    juce::InterProcessLock m_lock;
    juce::File m_socketFile;
    int m_listenFd = -1;
    Handler m_handler;
};
