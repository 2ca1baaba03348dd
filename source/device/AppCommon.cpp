#include "device/AppCommon.h"

#include "app/BuildInfo.h"
#include "app/SettingsKeys.h"
#include "diagnostics/LogFormat.h"
#include "diagnostics/SystemReport.h"
#include "serial/SerialPort.h"
#include "serial/SerialPortStreams.h"
#include "ui/Assets.h"
#include "ui/HvLookAndFeel.h"
#include "update/UtilityThread.h"

int AppCommon::s_liveUtilityThreads = 0;
juce::File AppCommon::s_installerToLaunch;

AppCommon::AppCommon()
{
    m_appProperties.setStorageParameters(SettingsKeys::fileOptions());
    m_settings = m_appProperties.getUserSettings();
    m_lookAndFeel = std::make_unique<hv_lookAndFeel>();
    juce::LookAndFeel::setDefaultLookAndFeel(m_lookAndFeel.get());
    m_wordmark = Assets::wordmark();
    m_serverUrls = ServerConfig::read(m_settings);
    m_bLogUrlRequests = BuildInfo::appBuildChannel() != "master";
    m_devices = DeviceCatalogue::rows(m_serverUrls.releaseBase, m_serverUrls.betaBase);

    DebugLogger::prepareLogFile();
    writeStartBanner();
    LogPortListing();
}

AppCommon::~AppCommon()
{
    stopTimer();
    UtilityThread::waitForRunningWorkers(kWorkerWaitMs);
    ClosePort();
    juce::LookAndFeel::setDefaultLookAndFeel(nullptr);
    writeEndBanner();
}

void AppCommon::writeStartBanner()
{
    logToFile({});
    logToFile(LogFormat::separator());
    logToFile(BuildInfo::appTitleWithVersion());
    logToFile("START " + LogFormat::bannerTime(juce::Time::getCurrentTime()));

    logToFile(LogFormat::separator());
    logToFile("System:");
    logToFile(SystemReport::getSystemLine());
    logToFile(LogFormat::separator());
    logToFile("Application:");
    logToFile("  " + BuildInfo::appTitleWithVersion());
    logToFile(LogFormat::separator());
    logToFile(SystemReport::getSystemInfoReport());
}

void AppCommon::writeEndBanner()
{
    logToFile(LogFormat::separator());
    logToFile("END " + LogFormat::bannerTime(juce::Time::getCurrentTime()));
    logToFile(LogFormat::separator() + "{END}");
}

void AppCommon::setStatusLine(const juce::String&, bool)
{
}

void AppCommon::logMessage(const juce::String&, bool)
{
}

void AppCommon::RequestQuitWhenWorkersDone()
{
    CloseProgress();
    m_bQuitRequested = true;
}
