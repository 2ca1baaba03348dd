#include "demo/DemoApplication.h"

#include <cstdio>

namespace
{
PedalSettings demoPedal()
{
    PedalSettings pedal;
    pedal.model = 1;
    pedal.version = "v1.04.005.0.master.20231114103000";  // older than the server's release
    pedal.serial = "HV0012345";
    return pedal;
}
}

const juce::String DemoApplication::getApplicationName()
{
    return HVPlatformUpdater::getApplicationName() + " Demo";
}

void DemoApplication::initialise(const juce::String& commandLine)
{
    m_sessionLock = std::make_unique<juce::InterProcessLock>("hvDemoSession");
    if (m_sessionLock->enter(0))
    {
        const auto home = juce::File::getSpecialLocation(juce::File::userHomeDirectory);
        m_session = std::make_unique<DemoSession>(home);
        m_session->attachPedal(demoPedal());
        std::printf("Demo home: %s\nSimulated Nimbrel on %s\n", home.getFullPathName().toRawUTF8(),
                    m_session->pedal()->devicePath().c_str());

        // The server's addresses must be in the settings before the window reads them.
        if (m_session->startUpdateServer())
        {
            m_session->writeServerSettings();
            std::printf("Update server at %s\n", m_session->server()->baseUrl().toRawUTF8());
        }
        else
        {
            std::printf("Update server could not start; the product's server addresses stay in use\n");
        }
        std::fflush(stdout);
    }
    HVPlatformUpdater::initialise(commandLine);
    m_stopSignals = std::make_unique<StopSignals>([this] { systemRequestedQuit(); });
}

void DemoApplication::shutdown()
{
    m_stopSignals.reset();
    HVPlatformUpdater::shutdown();
    m_session.reset();
    m_sessionLock.reset();
}
