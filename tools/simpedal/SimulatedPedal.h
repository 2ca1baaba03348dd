#pragma once

#include "presets/Preset.h"
#include "simpedal/ApplicationFirmware.h"
#include "simpedal/BootloaderMonitor.h"
#include "simpedal/PedalAttachment.h"
#include "simpedal/PedalFaults.h"
#include "simpedal/PedalSettings.h"
#include "simpedal/PtyEndpoint.h"

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// A pedal on a pty: its application firmware or its ROM monitor answers whatever the computer
// writes, after the configured USB latency, on a thread of its own that sleeps in poll. The
// attachment makes the port appear and vanish; every call here is safe from any thread.
class SimulatedPedal
{
public:
    SimulatedPedal(PedalSettings settings, std::unique_ptr<PedalAttachment> attachment);
    ~SimulatedPedal();
    SimulatedPedal(const SimulatedPedal&) = delete;
    SimulatedPedal& operator=(const SimulatedPedal&) = delete;

    // A pedal in a fake sysfs tree: the usual set-up of tests and the demo.
    static std::unique_ptr<SimulatedPedal> inFakeSysfs(PedalSettings settings, const std::filesystem::path& sysRoot,
                                                       const std::filesystem::path& devDir);

    void plug();              // appears in application mode
    void plugInBootloader();  // appears as a pedal left in its bootloader
    void unplug();            // entries removed, pty closed

    PedalMode mode() const;
    bool waitForMode(PedalMode mode, std::chrono::milliseconds timeout) const;
    std::string devicePath() const;  // the path the computer opens; empty while unplugged
    std::string ptyPath() const;     // the pty slave behind it; empty while unplugged

    // Every entry received, in order: commands ("Version", "Preset7F", "N#"), data lines without
    // their line ending, and runs of unknown bytes.
    std::vector<std::string> receivedCommands() const;
    void clearReceivedCommands();
    bool waitForCommandCount(size_t count, std::chrono::milliseconds timeout) const;

    PedalOptions options() const;
    void setOptions(const PedalOptions& options);
    Preset preset(int slot) const;
    void setPreset(int slot, const Preset& preset);
    std::string version() const;
    void setVersion(const std::string& version);
    const PedalSettings& settings() const { return m_settings; }

    PedalFaults& faults() { return m_faults; }
    void setLatencyMs(int latencyMs);

private:
    using Clock = std::chrono::steady_clock;

    void run();
    void wake();
    void appear(PedalMode mode);
    void vanish(PedalMode nextMode);
    void readInput();
    void handleApplicationInput(const std::string& bytes);
    void handleApplicationEntry(const CommandSplitter::Entry& entry);
    void handleMonitorInput(const std::string& bytes);
    void send(const FirmwareResponse& response);
    void restartIntoBootloader();
    void after(int delayMs, std::function<void()> action);
    bool recordAndCountForUnplug(const std::string& entry);
    int nextTimerMs() const;
    void runDueTimers();

    PedalSettings m_settings;
    std::unique_ptr<PedalAttachment> m_attachment;
    PedalFaults m_faults;

    mutable std::mutex m_lock;
    mutable std::condition_variable m_changed;
    ApplicationFirmware m_firmware;
    BootloaderMonitor m_monitor;
    CommandSplitter m_splitter;
    std::unique_ptr<PtyEndpoint> m_pty;
    PedalMode m_mode = PedalMode::Unplugged;
    unsigned m_session = 0;  // grows on every appearance and vanishing; stale timers check it
    std::vector<std::string> m_received;
    std::multimap<Clock::time_point, std::function<void()>> m_timers;
    int m_latencyMs;
    bool m_stopping = false;
    int m_wakeFd = -1;
    std::thread m_thread;
};
