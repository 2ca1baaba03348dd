// Runs one simulated pedal until interrupted, printing the port's path and every change of mode.
//   simpedal [--model nimbrel|embervale|nightcrest] [--version TEXT] [--serial TEXT] [--latency MS]
//            [--sys DIR --dev DIR | --umockdev [-- PROGRAM ARGS...]] [--bootloader]
//            [--silence PREFIX] [--late PREFIX:MS] [--two-lines PREFIX] [--garbage PREFIX:TEXT]
//            [--bad-checksum PREFIX] [--repeat-go N] [--unplug-after N] [--never-bootloader]
// Lines on standard input move the cable: "plug", "unplug", "bootloader", "quit".
// --umockdev puts the pedal in a umockdev testbed instead of a fake tree and starts PROGRAM (the
// unchanged application) under the testbed's preload; the pedal then lives until PROGRAM ends,
// and simpedal exits with its status. Without PROGRAM it prints the environment to run one with.
#include "simpedal/PreloadedProcess.h"
#include "simpedal/SimulatedPedal.h"
#include "simpedal/UmockdevAttachment.h"

#include <csignal>
#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <poll.h>
#include <pthread.h>
#include <string>
#include <sys/signalfd.h>
#include <unistd.h>
#include <vector>

namespace
{
struct Arguments
{
    PedalSettings settings;
    std::string sysRoot = "/tmp/simpedal/sys";
    std::string devDir = "/tmp/simpedal/dev";
    bool bootloader = false;
    bool umockdev = false;
    std::vector<std::string> program;
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
        if (option == "--")
        {
            args.program.assign(argv + i + 1, argv + argc);
            break;
        }
        if (option == "--bootloader")
            args.bootloader = true;
        else if (option == "--umockdev")
            args.umockdev = true;
        else if (option == "--never-bootloader")
            args.faults.push_back([](PedalFaults& f) { f.setNeverReachesBootloader(true); });
        else if (i + 1 < argc)
            takeValue(args, option, argv[++i]);
        else
            throw std::invalid_argument("missing value for " + option);
    }
    return args;
}

// One line of standard input; false when the simulator should end.
bool obey(SimulatedPedal& pedal, const std::string& line)
{
    if (line == "plug")
        pedal.plug();
    else if (line == "unplug")
        pedal.unplug();
    else if (line == "bootloader")
        pedal.plugInBootloader();
    else if (line == "quit")
        return false;
    else if (!line.empty())
        std::fprintf(stderr, "simpedal: unknown command %s\n", line.c_str());
    return true;
}

enum class Input { More, Ended, Quit };

// Obeys the complete lines that arrived on standard input.
Input readCommands(SimulatedPedal& pedal, std::string& pending)
{
    char buffer[256];
    const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
    if (n <= 0)
        return Input::Ended;
    pending.append(buffer, static_cast<size_t>(n));
    for (auto end = pending.find('\n'); end != std::string::npos; end = pending.find('\n'))
    {
        const std::string line = pending.substr(0, end);
        pending.erase(0, end + 1);
        if (!obey(pedal, line))
            return Input::Quit;
    }
    return Input::More;
}

// Serves until a stop signal, "quit", or the end of the program started under the testbed.
// Standard input at its end (a closed pipe, /dev/null) is no reason to stop.
int serve(SimulatedPedal& pedal, int signalFd, PreloadedProcess* program)
{
    PedalMode shown = PedalMode::Unplugged;
    bool readInput = true;
    std::string pending;
    for (;;)
    {
        const PedalMode now = pedal.mode();
        if (now != shown)
        {
            std::printf("%s %s\n", pedalModeName(now), pedal.devicePath().c_str());
            std::fflush(stdout);
            shown = now;
        }
        if (program != nullptr && !program->isRunning())
            return program->exitStatus();
        pollfd fds[2] = { { signalFd, POLLIN, 0 }, { readInput ? STDIN_FILENO : -1, POLLIN, 0 } };
        ::poll(fds, 2, 50);
        if (fds[0].revents & POLLIN)
            return 0;
        if (fds[1].revents & (POLLIN | POLLHUP))
        {
            const Input input = readCommands(pedal, pending);
            if (input == Input::Quit)
                return 0;
            readInput = input == Input::More;
        }
    }
}

std::unique_ptr<SimulatedPedal> makePedal(const Arguments& args, UmockdevAttachment*& testbed)
{
    if (!args.umockdev)
    {
        std::filesystem::create_directories(args.sysRoot);
        std::filesystem::create_directories(args.devDir);
        return SimulatedPedal::inFakeSysfs(args.settings, args.sysRoot, args.devDir);
    }
    auto attachment = std::make_unique<UmockdevAttachment>(args.settings.ttyName, args.settings.usbPort);
    testbed = attachment.get();
    return std::make_unique<SimulatedPedal>(args.settings, std::move(attachment));
}
}

int main(int argc, char** argv)
{
    // Blocked before any thread starts, so only the signal descriptor below receives them.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    const int signalFd = signalfd(-1, &stopSignals, SFD_CLOEXEC);
    try
    {
        const Arguments args = parse(argc, argv);
        if (args.umockdev)
            UmockdevAttachment::runUnderPreload(argv);
        UmockdevAttachment* testbed = nullptr;
        auto pedal = makePedal(args, testbed);
        for (const auto& fault : args.faults)
            fault(pedal->faults());
        if (args.bootloader)
            pedal->plugInBootloader();
        else
            pedal->plug();
        std::printf("tty %s -> %s\n", pedal->devicePath().c_str(), pedal->ptyPath().c_str());
        std::unique_ptr<PreloadedProcess> program;
        if (testbed != nullptr)
        {
            for (const auto& entry : testbed->preloadEnvironment())
                std::printf("env %s\n", entry.c_str());
            if (!args.program.empty())
                program = std::make_unique<PreloadedProcess>(args.program, testbed->preloadEnvironment());
        }
        std::fflush(stdout);
        const int status = serve(*pedal, signalFd, program.get());
        program.reset();  // the program goes before the testbed it runs in
        return status;
    }
    catch (const std::exception& e)
    {
        std::fprintf(stderr, "simpedal: %s\n", e.what());
        return 1;
    }
}
