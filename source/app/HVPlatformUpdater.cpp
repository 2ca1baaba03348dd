#include "app/HVPlatformUpdater.h"

#include "app/BuildInfo.h"
#include "app/ProcessLauncher.h"
#include "ui/Assets.h"
#include "ui/MainComponent.h"

const juce::String HVPlatformUpdater::getApplicationName()
{
    return BuildInfo::appName();
}

const juce::String HVPlatformUpdater::getApplicationVersion()
{
    return BuildInfo::appVersion();
}

bool HVPlatformUpdater::moreThanOneInstanceAllowed()
{
    // Only one instance runs, but InstanceGuard enforces that: the framework's refusal would end
    // the second start without ever telling the first one.
    return true;
}

void HVPlatformUpdater::initialise(const juce::String& commandLine)
{
    m_instanceGuard = std::make_unique<InstanceGuard>(getApplicationName());
    if (!m_instanceGuard->claim([this](const juce::String& other) { anotherInstanceStarted(other); }))
    {
        m_instanceGuard->forward(commandLine);
        m_instanceGuard = nullptr;
        quit();
        return;
    }
    mainWindow = std::make_unique<MainWindow>("Halvane Update Tool");
}

void HVPlatformUpdater::shutdown()
{
    // A refused second start has no window and must not write into the running one's log.
    if (mainWindow == nullptr)
        return;
    logToFile("shutdown()");
    if (AppCommon::s_installerToLaunch != juce::File())
    {
        logToFile("Launch: " + AppCommon::s_installerToLaunch.getFullPathName());
        ProcessLauncher::start(AppCommon::s_installerToLaunch, {});
    }
    mainWindow = nullptr;
    m_instanceGuard = nullptr;
}

void HVPlatformUpdater::anotherInstanceStarted(const juce::String& commandLine)
{
    logToFile("anotherInstanceStarted()");
    if (mainWindow == nullptr)
        return;
    mainWindow->setMinimised(true);
    mainWindow->setMinimised(false);
    mainWindow->toFront(true);
    if (auto* content = mainWindow->content())
        content->WarnMultipleAppInstance(commandLine);
}

void HVPlatformUpdater::systemRequestedQuit()
{
    logToFile("systemRequestedQuit()");
    if (AppCommon::s_liveUtilityThreads == 0)
    {
        quit();
        return;
    }
    if (auto* content = mainWindow != nullptr ? mainWindow->content() : nullptr)
        content->RequestQuitWhenWorkersDone();
}

void HVPlatformUpdater::suspended()
{
    logToFile("suspended()");
}

void HVPlatformUpdater::resumed()
{
    logToFile("resumed()");
}

juce::String HVPlatformUpdater::shortenSourcePath(const juce::String& sourceFile)
{
    const juce::String unified = sourceFile.replaceCharacter('\\', '/');
    for (const juce::String& marker : { juce::String("hv_platform_updater/source/"), juce::String(HV_SOURCE_ROOT) })
    {
        const int at = unified.indexOfIgnoreCase(marker);
        if (at >= 0)
            return sourceFile.substring(at + marker.length());
    }
    return sourceFile;
}

juce::String HVPlatformUpdater::exceptionReport(const std::exception* e, const juce::String& sourceFile, int line)
{
    juce::String report = "unhandledException()\r\n";
    if (e != nullptr)
    {
        const juce::String what = e->what();
        report << "\t" << (what.isEmpty() ? juce::String("Unknown exception") : what) << "\r\n";
    }
    report << "\tFile: " << shortenSourcePath(sourceFile) << "\r\n";
    report << "\tLine: " << juce::String(line) << "\r\n";
    return report;
}

void HVPlatformUpdater::unhandledException(const std::exception* e, const juce::String& sourceFile, int line)
{
    const auto report = exceptionReport(e, sourceFile, line);
    logToFile(report);

    // The report is in the log already; without a window there is nothing to show it in.
    if (auto* content = mainWindow != nullptr ? mainWindow->content() : nullptr)
        content->ErrorMessage("An error has occurred",
                              "A fatal error has occurred.\r\n\r\nPlease use the \"Copy Message\" button below to "
                              "report this issue.\r\n\r\n"
                                  + report,
                              false);
    quit();
}

HVPlatformUpdater::MainWindow::MainWindow(const juce::String& title)
    : DocumentWindow(title, juce::Colours::lightgrey, DocumentWindow::minimiseButton | DocumentWindow::closeButton)
{
    setUsingNativeTitleBar(true);
    setIcon(Assets::appIcon(256));
    setContentOwned(new MainComponent(), true);
    centreWithSize(getWidth(), getHeight());
    setVisible(true);
}

void HVPlatformUpdater::MainWindow::closeButtonPressed()
{
    juce::JUCEApplication::getInstance()->systemRequestedQuit();
}

MainComponent* HVPlatformUpdater::MainWindow::content()
{
    return dynamic_cast<MainComponent*>(getContentComponent());
}
