#include "app/ProcessLauncher.h"

namespace
{
ProcessLauncher::Launcher g_launcher;
}

namespace ProcessLauncher
{
bool start(const juce::File& program, const juce::String& parameters)
{
    if (g_launcher.start)
        return g_launcher.start(program, parameters);
    return program.startAsProcess(parameters);
}

bool openUrl(const juce::String& url)
{
    if (g_launcher.openUrl)
        return g_launcher.openUrl(url);
    return juce::URL(url).launchInDefaultBrowser();
}

void install(Launcher launcher)
{
    g_launcher = std::move(launcher);
}
}
