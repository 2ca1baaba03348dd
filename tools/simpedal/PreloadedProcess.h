#pragma once

#include <chrono>
#include <string>
#include <sys/types.h>
#include <vector>

// A program started with extra environment entries (a umockdev testbed's UMOCKDEV_DIR and
// LD_PRELOAD), whose process id stays known so its CPU time can be read from /proc. Its output
// goes where ours goes. The destructor stops it: SIGTERM, then SIGKILL after two seconds.
class PreloadedProcess
{
public:
    PreloadedProcess(const std::vector<std::string>& argv, const std::vector<std::string>& extraEnvironment);
    ~PreloadedProcess();
    PreloadedProcess(const PreloadedProcess&) = delete;
    PreloadedProcess& operator=(const PreloadedProcess&) = delete;

    pid_t pid() const { return m_pid; }
    bool isRunning();
    // Waits for the program to end; true when it did (its status is then in exitStatus()).
    bool waitForExit(std::chrono::milliseconds timeout);
    int exitStatus() const { return m_status; }
    void stop();

private:
    bool reap(bool wait);

    pid_t m_pid = -1;
    int m_status = -1;
};
