// Time from plugging a pedal in until the application has opened its port, found and identified
// it, and from pulling the cable until it has noticed. Runs the real binary against a simulated
// pedal in a umockdev testbed and reads the time stamps of its log. Needs an X display.
//   bench_plug_latency [path to HVPlatformUpdater] [cycles=5]
#include "simpedal/TestbedSession.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <juce_core/juce_core.h>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace std::chrono_literals;

namespace
{
constexpr double kTargetOpenMs = 500.0;

uint32_t wallClockStamp()
{
    return static_cast<uint32_t>(static_cast<uint64_t>(juce::Time::currentTimeMillis()) & 0xFFFFFFFFu);
}

// Milliseconds from `start` until the record holding `text` (searched from `from`); -1 if none.
double msUntil(TestbedSession& session, const std::string& text, size_t from, uint32_t start, std::chrono::seconds wait)
{
    const size_t found = session.waitForLog(text, wait, from);
    if (found == std::string::npos)
        return -1;
    return double(static_cast<int32_t>(TestbedSession::recordTime(session.log(), found) - start));
}

struct Series
{
    const char* name;
    double target;
    const char* bound;
    std::vector<double> samples;

    void print() const
    {
        std::vector<double> sorted = samples;
        std::sort(sorted.begin(), sorted.end());
        double sum = 0;
        for (double s : sorted)
            sum += s;
        std::printf("%-32s mean %4.0f ms, worst %4.0f ms", name, sum / double(sorted.size()), sorted.back());
        if (target > 0)
            std::printf(" (target under %.0f ms)", target);
        std::printf("\n    bounded by: %s\n", bound);
    }
};
}

int main(int argc, char** argv)
{
    if (std::getenv("DISPLAY") == nullptr)
    {
        std::printf("bench_plug_latency: no DISPLAY; run it under xvfb-run\n");
        return 0;
    }
    const std::filesystem::path self = std::filesystem::canonical("/proc/self/exe");
    const std::string app = argc > 1 ? argv[1] : (self.parent_path().parent_path() / "HVPlatformUpdater").string();
    const int cycles = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    const auto home = std::filesystem::temp_directory_path() / ("hv-bench-plug-" + std::to_string(::getpid()));

    Series opened { "plug-in to \"Opened\":", kTargetOpenMs,
                    "the 100 ms scan tick; the four catalogue rows are probed in turn, so up to 4 ticks "
                    "(400 ms) pass before the pedal's row, + one enumeration and the open", {} };
    Series found { "plug-in to \"=== Found Nimbrel\":", 0, "\"Opened\" + the same tick", {} };
    Series idle { "plug-in to idle:", 0,
                  "\"Found\" + 6 commands (Version, Serial, four options) at about two 100 ms ticks "
                  "each (1.2 s): a reply is taken on one tick, the next state entered on the next; "
                  "the simulated USB round trip is 1 ms", {} };
    Series lost { "unplug to \"Lost connection\":", 0, "the idle presence check every 20 ticks (2 s)", {} };
    {
        TestbedSession session(app, home);
        session.startApp();
        if (session.waitForLog("Scanning for Device...", 20s) == std::string::npos)
        {
            std::printf("bench_plug_latency: the application never started scanning\n");
            return 1;
        }
        for (int cycle = 0; cycle < cycles; ++cycle)
        {
            // Land at a different phase of the scan tick each time.
            std::this_thread::sleep_for(std::chrono::milliseconds(1000 + 37 * cycle));
            size_t from = session.log().size();
            const uint32_t plugged = wallClockStamp();
            session.pedal().plug();
            opened.samples.push_back(msUntil(session, "<GREY>Opened /dev/ttyACM0", from, plugged, 5s));
            found.samples.push_back(msUntil(session, "=== Found Nimbrel ===", from, plugged, 5s));
            idle.samples.push_back(msUntil(session, "InitState( COMM_STATE_IDLE )", from, plugged, 10s));
            std::this_thread::sleep_for(500ms);

            from = session.log().size();
            const uint32_t unplugged = wallClockStamp();
            session.pedal().unplug();
            lost.samples.push_back(msUntil(session, "<RED>Lost connection. (1)", from, unplugged, 10s));
            if (session.waitForLog("Scanning for Device...", 10s, from) == std::string::npos)
                break;
            std::printf("cycle %d: opened %.0f ms, found %.0f ms, idle %.0f ms, lost %.0f ms\n", cycle + 1,
                        opened.samples.back(), found.samples.back(), idle.samples.back(), lost.samples.back());
        }
    }
    std::filesystem::remove_all(home);
    for (const Series* series : { &opened, &found, &idle, &lost })
    {
        if (std::find(series->samples.begin(), series->samples.end(), -1.0) != series->samples.end())
        {
            std::printf("bench_plug_latency: %s never logged in some cycle\n", series->name);
            return 1;
        }
        series->print();
    }
    return 0;
}
