// Runs one simulated pedal until interrupted, printing the port's path and every change of mode.
//   simpedal [--model nimbrel|embervale|nightcrest] [--version TEXT] [--serial TEXT] [--latency MS]
//            [--sys DIR --dev DIR] [--bootloader] [--silence PREFIX] [--late PREFIX:MS]
//            [--two-lines PREFIX] [--garbage PREFIX:TEXT] [--bad-checksum PREFIX] [--repeat-go N]
//            [--unplug-after N] [--never-bootloader]
#include "simpedal/SimulatedPedal.h"

#include <csignal>
#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <pthread.h>
#include <string>
#include <vector>

namespace
{
struct Arguments
{
    PedalSettings settings;
    std::string sysRoot = "/tmp/simpedal/sys";
    std::string devDir = "/tmp/simpedal/dev";
    bool bootloader = false;
    std::vector<std::function<void(PedalFaults&)>> faults;
};

int modelIndex(const std::string& name)
{
    const std::map<std::string, int> models { { "nimbrel", 1 }, { "embervale", 2 }, { "nightcrest", 3 },
                                              { "1", 1 }, { "2", 2 }, { "3", 3 } };
    const auto found = models.find(name);
    if (found == models.end())
        throw std::invalid_argument("unknown model " + name);
    return found->second;
}

std::pair<std::string, std::string> splitAtColon(const std::string& text)
{
    const auto colon = text.find(':');
    if (colon == std::string::npos)
        throw std::invalid_argument("expected PREFIX:VALUE, got " + text);
    return { text.substr(0, colon), text.substr(colon + 1) };
}

void addFault(Arguments& args, const std::string& option, const std::string& value)
{
    if (option == "--silence")
        args.faults.push_back([value](PedalFaults& f) { f.silence(value); });
    else if (option == "--late")
    {
        const auto [prefix, ms] = splitAtColon(value);
        args.faults.push_back([prefix = prefix, ms = std::stoi(ms)](PedalFaults& f) { f.late(prefix, ms); });
    }
    else if (option == "--two-lines")
        args.faults.push_back([value](PedalFaults& f) { f.twoLines(value); });
    else if (option == "--garbage")
    {
        const auto [prefix, text] = splitAtColon(value);
        args.faults.push_back([prefix = prefix, text = text](PedalFaults& f) { f.garbage(prefix, text); });
    }
    else if (option == "--bad-checksum")
        args.faults.push_back([value](PedalFaults& f) { f.badChecksum(value); });
    else if (option == "--repeat-go")
        args.faults.push_back([n = std::stoi(value)](PedalFaults& f) { f.repeatGo(n); });
    else if (option == "--unplug-after")
        args.faults.push_back([n = std::stoi(value)](PedalFaults& f) { f.unplugAfterCommands(n); });
    else
        throw std::invalid_argument("unknown option " + option);
}

void takeValue(Arguments& args, const std::string& option, const std::string& value)
{
    if (option == "--model")
        args.settings.model = modelIndex(value);
    else if (option == "--version")
        args.settings.version = value;
    else if (option == "--serial")
        args.settings.serial = value;
    else if (option == "--latency")
        args.settings.latencyMs = std::stoi(value);
    else if (option == "--sys")
        args.sysRoot = value;
    else if (option == "--dev")
        args.devDir = value;
    else
        addFault(args, option, value);
}

Arguments parse(int argc, char** argv)
{
    Arguments args;
    for (int i = 1; i < argc; ++i)
    {
        const std::string option = argv[i];
        if (option == "--bootloader")
            args.bootloader = true;
        else if (option == "--never-bootloader")
            args.faults.push_back([](PedalFaults& f) { f.setNeverReachesBootloader(true); });
        else if (i + 1 < argc)
            takeValue(args, option, argv[++i]);
        else
            throw std::invalid_argument("missing value for " + option);
    }
    return args;
}

void reportModes(const SimulatedPedal& pedal, const sigset_t& stopSignals)
{
    PedalMode shown = PedalMode::Unplugged;
    for (;;)
    {
        const PedalMode now = pedal.mode();
        if (now != shown)
        {
            std::printf("%s %s\n", pedalModeName(now), pedal.devicePath().c_str());
            std::fflush(stdout);
            shown = now;
        }
        const timespec poll { 0, 50'000'000 };
        if (sigtimedwait(&stopSignals, nullptr, &poll) > 0)
            return;
    }
}
}

int main(int argc, char** argv)
{
    // Blocked before any thread starts, so only the wait below receives them.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    try
    {
        const Arguments args = parse(argc, argv);
        std::filesystem::create_directories(args.sysRoot);
        std::filesystem::create_directories(args.devDir);
        auto pedal = SimulatedPedal::inFakeSysfs(args.settings, args.sysRoot, args.devDir);
        for (const auto& fault : args.faults)
            fault(pedal->faults());
        if (args.bootloader)
            pedal->plugInBootloader();
        else
            pedal->plug();
        std::printf("tty %s -> %s\n", pedal->devicePath().c_str(), pedal->ptyPath().c_str());
        reportModes(*pedal, stopSignals);
    }
    catch (const std::exception& e)
    {
        std::fprintf(stderr, "simpedal: %s\n", e.what());
        return 1;
    }
    return 0;
}
