#include "simpedal/PreloadedProcess.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <spawn.h>
#include <stdexcept>
#include <sys/wait.h>
#include <thread>

extern char** environ;

namespace
{
// Our environment with the extra entries replacing any of the same names.
std::vector<std::string> mergedEnvironment(const std::vector<std::string>& extra)
{
    std::vector<std::string> merged;
    for (char** entry = environ; *entry != nullptr; ++entry)
    {
        const std::string text = *entry;
        const std::string name = text.substr(0, text.find('=') + 1);
        bool replaced = false;
        for (const auto& e : extra)
            replaced = replaced || e.compare(0, name.size(), name) == 0;
        if (!replaced)
            merged.push_back(text);
    }
    merged.insert(merged.end(), extra.begin(), extra.end());
    return merged;
}

std::vector<char*> pointers(std::vector<std::string>& texts)
{
    std::vector<char*> result;
    for (auto& text : texts)
        result.push_back(text.data());
    result.push_back(nullptr);
    return result;
}
}

PreloadedProcess::PreloadedProcess(const std::vector<std::string>& argv, const std::vector<std::string>& extraEnvironment)
{
    if (argv.empty())
        throw std::invalid_argument("no program to start");
    std::vector<std::string> args = argv;
    std::vector<std::string> environment = mergedEnvironment(extraEnvironment);
    const auto argPointers = pointers(args);
    const auto envPointers = pointers(environment);
    const int error = posix_spawnp(&m_pid, args[0].c_str(), nullptr, nullptr, argPointers.data(), envPointers.data());
    if (error != 0)
        throw std::runtime_error("cannot start " + args[0] + ": " + std::strerror(error));
}

PreloadedProcess::~PreloadedProcess()
{
    stop();
}

bool PreloadedProcess::reap(bool wait)
{
    if (m_pid <= 0)
        return true;
    int status = 0;
    const pid_t done = ::waitpid(m_pid, &status, wait ? 0 : WNOHANG);
    if (done != m_pid)
        return false;
    m_status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    m_pid = -1;
    return true;
}

bool PreloadedProcess::isRunning()
{
    return !reap(false);
}

bool PreloadedProcess::waitForExit(std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!reap(false))
    {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

void PreloadedProcess::stop()
{
    if (!isRunning())
        return;
    ::kill(m_pid, SIGTERM);
    if (!waitForExit(std::chrono::seconds(2)))
    {
        ::kill(m_pid, SIGKILL);
        reap(true);
    }
}
