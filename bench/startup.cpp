// Start-up benchmark: time from starting the application to the first paint of its main window,
// and its resident memory once started. Needs an X display (run under xvfb-run).
//   bench_startup [path to HVPlatformUpdater] [runs]
#include <juce_core/juce_core.h>

#include <cstdio>
#include <cstdlib>

namespace
{
constexpr double kTargetStartMs = 1000.0;
constexpr double kTargetMemoryMb = 80.0;

juce::String run(const juce::StringArray& args)
{
    juce::ChildProcess process;
    if (!process.start(args, juce::ChildProcess::wantStdOut))
        return {};
    auto output = process.readAllProcessOutput();
    process.waitForProcessToFinish(5000);
    return output;
}

// The colour of the screen's centre pixel, where the centred main window paints first.
juce::String centrePixel(int x, int y)
{
    return run({ "import", "-window", "root", "-crop", "1x1+" + juce::String(x) + "+" + juce::String(y), "-depth", "8",
                 "txt:-" })
        .fromFirstOccurrenceOf("#", false, false)
        .substring(0, 6);
}

double residentMb(int pid)
{
    const auto status = juce::File("/proc/" + juce::String(pid) + "/status").loadFileAsString();
    const auto kb = status.fromFirstOccurrenceOf("VmRSS:", false, false).trim().getLargeIntValue();
    return (double) kb / 1024.0;
}

struct Sample
{
    double paintMs = -1;
    double memoryMb = 0;
};

Sample measureOnce(const juce::String& app, int centreX, int centreY, const juce::File& home)
{
    home.deleteRecursively();
    home.createDirectory();
    setenv("HOME", home.getFullPathName().toRawUTF8(), 1);

    Sample sample;
    juce::ChildProcess process;
    const double start = juce::Time::getMillisecondCounterHiRes();
    if (!process.start(juce::StringArray { app }, 0))
        return sample;
    while (juce::Time::getMillisecondCounterHiRes() - start < 15000)
    {
        const auto pixel = centrePixel(centreX, centreY);
        if (pixel.isNotEmpty() && pixel != "000000")
        {
            sample.paintMs = juce::Time::getMillisecondCounterHiRes() - start;
            break;
        }
    }
    juce::Thread::sleep(2000);  // let start-up work settle before reading memory
    const auto pid = run({ "pgrep", "-n", "-f", app }).trim().getIntValue();
    sample.memoryMb = residentMb(pid);
    process.kill();
    process.waitForProcessToFinish(5000);
    return sample;
}
}

int main(int argc, char** argv)
{
    if (std::getenv("DISPLAY") == nullptr)
    {
        std::printf("bench_startup: no DISPLAY; run it under xvfb-run\n");
        return 0;
    }
    const auto self = juce::File::getSpecialLocation(juce::File::currentExecutableFile);
    const juce::String app = argc > 1 ? juce::String(argv[1])
                                      : self.getParentDirectory().getSiblingFile("HVPlatformUpdater").getFullPathName();
    const int runs = argc > 2 ? juce::jmax(1, std::atoi(argv[2])) : 5;

    const auto screen = juce::StringArray::fromTokens(run({ "xdotool", "getdisplaygeometry" }).trim(), " ", "");
    const int centreX = screen[0].getIntValue() / 2;
    const int centreY = screen[1].getIntValue() / 2;
    const auto home = juce::File::getSpecialLocation(juce::File::tempDirectory).getChildFile("hv-bench-startup-home");

    // The probe itself costs one screenshot per poll; report its resolution beside the result.
    const double probeStart = juce::Time::getMillisecondCounterHiRes();
    centrePixel(centreX, centreY);
    const double probeMs = juce::Time::getMillisecondCounterHiRes() - probeStart;

    double worstPaint = 0, worstMemory = 0, sumPaint = 0;
    for (int i = 0; i < runs; ++i)
    {
        const auto s = measureOnce(app, centreX, centreY, home);
        std::printf("run %d: first paint %.0f ms, resident %.1f MB\n", i + 1, s.paintMs, s.memoryMb);
        if (s.paintMs < 0)
        {
            std::printf("bench_startup: the window never painted\n");
            return 1;
        }
        worstPaint = juce::jmax(worstPaint, s.paintMs);
        worstMemory = juce::jmax(worstMemory, s.memoryMb);
        sumPaint += s.paintMs;
    }
    home.deleteRecursively();

    std::printf("start to first paint: mean %.0f ms, worst %.0f ms (target under %.0f ms; probe resolution ~%.0f ms)\n",
                sumPaint / runs, worstPaint, kTargetStartMs, probeMs);
    std::printf("resident memory after start: worst %.1f MB (target under %.0f MB)\n", worstMemory, kTargetMemoryMb);
    return 0;
}
