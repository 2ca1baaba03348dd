#pragma once

#include "app/HVPlatformUpdater.h"
#include "demo/DemoSession.h"
#include "demo/StopSignals.h"

#include <memory>

// The product's application with a simulated pedal and a local update server around it.
class DemoApplication : public HVPlatformUpdater
{
public:
    // Its own name, so the demo runs beside an installed copy; two demos still exclude each other.
    const juce::String getApplicationName() override;
    void initialise(const juce::String& commandLine) override;
    void shutdown() override;

private:
    // Held while this process owns the demo's home folder: a second demo must not rebuild the
    // pedal and server of the first before the instance guard turns it away.
    std::unique_ptr<juce::InterProcessLock> m_sessionLock;
    std::unique_ptr<DemoSession> m_session;
    std::unique_ptr<StopSignals> m_stopSignals;
};
