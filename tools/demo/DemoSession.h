#pragma once

#include "simpedal/SimulatedPedal.h"
#include "updateserver/UpdateServer.h"

#include <juce_core/juce_core.h>

#include <memory>

// What the demo puts around the application before its window exists: a home folder of its
// own, a simulated Nimbrel in a fake sysfs tree that the port enumeration is pointed at, and a
// local update server whose addresses are written into the settings file. Each step is one call,
// in the order the launcher makes them.
class DemoSession
{
public:
    // "<home>/.cache/halvane-demo" of the user's real home folder.
    static juce::File defaultHome();

    // Points $HOME at `home` (created) for this process: the settings file and the log land
    // there. Call before anything has read $HOME and before threads start.
    static void useHome(const juce::File& home);

    explicit DemoSession(juce::File home);
    ~DemoSession();
    DemoSession(const DemoSession&) = delete;
    DemoSession& operator=(const DemoSession&) = delete;

    // A fresh fake tree (whatever an earlier run left is removed) with the pedal plugged in.
    // Message thread only, since it moves the enumeration roots.
    void attachPedal(const PedalSettings& settings);

    // Serves "<home>/server" on a free local port, writing the standard tree there on first use.
    bool startUpdateServer();

    // The server keys of the settings file, pointed at the running server.
    void writeServerSettings();

    juce::File sysfsRoot() const { return m_home.getChildFile("fake/sys"); }
    juce::File deviceFolder() const { return m_home.getChildFile("fake/dev"); }
    SimulatedPedal* pedal() const { return m_pedal.get(); }
    UpdateServer* server() const { return m_server.get(); }

private:
    juce::File m_home;
    std::unique_ptr<SimulatedPedal> m_pedal;
    std::unique_ptr<UpdateServer> m_server;
};
