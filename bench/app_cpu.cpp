// CPU the application uses while it waits: scanning with no pedal, and connected to an idle pedal.
// Runs the real binary and reads its user + system time from /proc/<pid>/stat over a window.
// Needs an X display (run under xvfb-run).
//   bench_app_cpu [path to HVPlatformUpdater] [window seconds=10]
#include "simpedal/TestbedSession.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>
#include <unistd.h>

using namespace std::chrono_literals;

namespace
{
constexpr double kTargetPercent = 2.0;

// utime + stime of a process, in seconds.
double cpuSeconds(pid_t pid)
{
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string stat((std::istreambuf_iterator<char>(in)), {});
    const auto afterName = stat.rfind(')');
    if (afterName == std::string::npos)
        return -1;
    std::istringstream fields(stat.substr(afterName + 2));
    std::string field;
    long long utime = 0, stime = 0;
    for (int index = 3; fields >> field; ++index)  // field 3 is the state
    {
        if (index == 14)
            utime = std::stoll(field);
        else if (index == 15)
        {
            stime = std::stoll(field);
            break;
        }
    }
    return double(utime + stime) / double(sysconf(_SC_CLK_TCK));
}

double percentOfOneCore(pid_t pid, int seconds)
{
    const double before = cpuSeconds(pid);
    const auto start = std::chrono::steady_clock::now();
    std::this_thread::sleep_for(std::chrono::seconds(seconds));
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return 100.0 * (cpuSeconds(pid) - before) / wall;
}

bool waitFor(TestbedSession& session, const std::string& text, size_t from = 0)
{
    if (session.waitForLog(text, 20s, from) != std::string::npos)
        return true;
    std::printf("bench_app_cpu: \"%s\" never appeared in the log\n", text.c_str());
    return false;
}

void report(const char* what, double percent, const char* bound)
{
    std::printf("%-44s %5.2f %% of one core (target under %.0f %%)\n    bounded by: %s\n", what, percent,
                kTargetPercent, bound);
}
}

int main(int argc, char** argv)
{
    if (std::getenv("DISPLAY") == nullptr)
    {
        std::printf("bench_app_cpu: no DISPLAY; run it under xvfb-run\n");
        return 0;
    }
    const std::filesystem::path self = std::filesystem::canonical("/proc/self/exe");
    const std::string app = argc > 1 ? argv[1] : (self.parent_path().parent_path() / "HVPlatformUpdater").string();
    const int seconds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 10;
    const auto home = std::filesystem::temp_directory_path() / ("hv-bench-cpu-" + std::to_string(::getpid()));
    const double tick = 1.0 / double(sysconf(_SC_CLK_TCK));
    std::printf("window %d s per figure; /proc resolution %.0f ms, so +-%.2f %%\n", seconds, tick * 1000,
                100.0 * tick / seconds);

    {
        TestbedSession session(app, home / "real");
        session.startApp(false);
        if (!waitFor(session, "Scanning for Device..."))
            return 1;
        std::this_thread::sleep_for(2s);  // start-up work done
        report("scanning, no pedal, this computer's /sys:", percentOfOneCore(session.app().pid(), seconds),
               "a full repaint of the window every 200 ms (the scanning animation), where drawing the "
               "stretched background images dominates; the enumeration of every tty per 100 ms tick "
               "is a small share");
    }
    {
        TestbedSession session(app, home / "testbed");
        session.startApp();
        if (!waitFor(session, "Scanning for Device..."))
            return 1;
        std::this_thread::sleep_for(2s);
        report("scanning, no pedal, umockdev testbed:", percentOfOneCore(session.app().pid(), seconds),
               "as above (every file call of the enumeration also passes the preload's path translation)");

        const size_t from = session.log().size();
        session.pedal().plug();
        if (!waitFor(session, "InitState( COMM_STATE_IDLE )", from))
            return 1;
        std::this_thread::sleep_for(2s);
        report("connected to an idle pedal, umockdev testbed:", percentOfOneCore(session.app().pid(), seconds),
               "a full repaint every 200 ms (the repaint period the last command set stays in idle); "
               "the 100 ms timer, a presence check every 20 ticks and the reader asleep in poll() are "
               "a small share");
    }
    std::filesystem::remove_all(home);
    return 0;
}
