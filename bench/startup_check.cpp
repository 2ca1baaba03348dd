// Time from start-up to the end of the background check against the local update server: the
// application's update file and changelog, then for each of the three models the update file,
// changelog, reference file and documentation probe. Runs the main component with its real
// connection timer, first with an empty changelog cache and then with a filled one.
// Needs an X display (run under xvfb-run): the main component is a window component.
//   bench_startup_check [runs]
#include "app/SettingsKeys.h"
#include "device/ServerConfig.h"
#include "ui/MainComponent.h"
#include "updateserver/UpdateServer.h"
#include "updateserver/UpdateTree.h"

#include <cstdio>
#include <cstdlib>

namespace
{
struct Run
{
    double ms;
    size_t requests;
    juce::uint32 ticks;
};

Run runOnce(UpdateServer& server)
{
    server.clearRequests();
    const auto ticksBefore = AppCommon::tickCounter();
    const auto start = juce::Time::getMillisecondCounterHiRes();
    auto app = std::make_unique<MainComponent>();
    while (app->IsAppCheckRunning() || app->IsFirmwareCheckRunning())
        juce::MessageManager::getInstance()->runDispatchLoopUntil(1);
    const double ms = juce::Time::getMillisecondCounterHiRes() - start;
    const Run run { ms, server.requests().size(), AppCommon::tickCounter() - ticksBefore };
    while (AppCommon::s_liveUtilityThreads > 0)
        juce::MessageManager::getInstance()->runDispatchLoopUntil(5);
    return run;
}

void clearCaches(const juce::File& home)
{
    home.getChildFile("Halvane/ChangeLogs").deleteRecursively();
}

void report(const char* name, const std::vector<Run>& runs)
{
    double sum = 0, best = 1e18;
    for (const auto& r : runs)
    {
        sum += r.ms;
        best = juce::jmin(best, r.ms);
    }
    const auto& last = runs.back();
    std::printf("  %-18s mean %7.0f ms   best %7.0f ms   %zu requests   %u ticks\n", name, sum / (double) runs.size(),
                best, last.requests, last.ticks);
    std::printf("  %-18s floor: %u ticks x 100 ms timer = %u ms; the URL layer's 100 ms sleep per request "
                "(%zu x 100 = %zu ms) lies inside the waiting ticks\n",
                "", last.ticks, last.ticks * 100, last.requests, last.requests * 100);
}
}

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? juce::jmax(1, juce::String(argv[1]).getIntValue()) : 3;
    const auto home = juce::File::getSpecialLocation(juce::File::tempDirectory)
                          .getChildFile("hv-bench-check-" + juce::String::toHexString(juce::Random::getSystemRandom().nextInt64()));
    home.createDirectory();
    setenv("HOME", home.getFullPathName().toRawUTF8(), 1);

    int result = 0;
    {
        juce::ScopedJuceInitialiser_GUI gui;
        UpdateServer server(home.getChildFile("server"));
        if (!server.start())
            return 1;
        UpdateTree::write(server.root(), UpdateTree::Spec::standard(server.baseUrl()));
        {
            juce::PropertiesFile settings(SettingsKeys::fileOptions());
            settings.setValue(ServerConfig::kReleaseKey, server.releaseBaseUrl());
            settings.setValue(ServerConfig::kBetaKey, server.betaBaseUrl());
            settings.setValue(ServerConfig::kEventReportKey, server.eventReportUrl());
            settings.saveIfNeeded();
        }

        std::vector<Run> cold, warm;
        for (int i = 0; i < runs; ++i)
        {
            clearCaches(home);
            cold.push_back(runOnce(server));
            warm.push_back(runOnce(server));
        }
        std::printf("Start-up to the end of the background check (local server on loopback, %d runs)\n", runs);
        report("empty cache", cold);
        report("cached changelogs", warm);
        result = cold.back().requests == 14 && warm.back().requests == 10 ? 0 : 2;
        server.stop();
    }
    home.deleteRecursively();
    return result;
}
