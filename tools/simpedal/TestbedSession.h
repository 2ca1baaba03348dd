#pragma once

#include "simpedal/PreloadedProcess.h"
#include "simpedal/SimulatedPedal.h"
#include "simpedal/UmockdevAttachment.h"

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

// The real application against a simulated pedal: the pedal sits in a umockdev testbed (unplugged
// until plug()), the application runs under the testbed's preload with its own home folder, and
// its log file is there to be read. The application is stopped before the pedal and the testbed
// go, as a preloaded program must not outlive its testbed.
class TestbedSession
{
public:
    TestbedSession(std::string appBinary, std::filesystem::path home, PedalSettings settings = {});
    ~TestbedSession();

    SimulatedPedal& pedal() { return *m_pedal; }
    const UmockdevAttachment& testbed() const { return *m_testbed; }

    // Without the preload the application sees the computer's real /sys and /dev instead.
    void startApp(bool underPreload = true);
    void stopApp();
    PreloadedProcess& app() { return *m_app; }

    std::filesystem::path logFile() const;
    std::string log() const;
    // Waits until `text` appears in the log at or after byte `from`; returns where it starts, or
    // std::string::npos after the timeout.
    size_t waitForLog(const std::string& text, std::chrono::milliseconds timeout, size_t from = 0) const;
    // The time stamp of the log record holding the text found at `position` (the low 32 bits of
    // the wall clock in ms, as the log writes it).
    static uint32_t recordTime(const std::string& log, size_t position);

private:
    std::string m_appBinary;
    std::filesystem::path m_home;
    UmockdevAttachment* m_testbed = nullptr;  // owned by the pedal
    std::unique_ptr<SimulatedPedal> m_pedal;
    std::unique_ptr<PreloadedProcess> m_app;
};
