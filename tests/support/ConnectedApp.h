#pragma once

#include "app/Clock.h"
#include "serial/SerialPort.h"
#include "simpedal/FakeSysfsTree.h"
#include "simpedal/SimulatedPedal.h"
#include "support/ProbedMain.h"
#include "support/ScriptedDialogs.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <vector>

// The main component driven tick by tick against a simulated pedal in a fake sysfs tree, with
// a manual clock and scripted alerts. Serial replies are delivered by pumping the message loop.
class ConnectedApp
{
public:
    using Factory = std::function<std::unique_ptr<ProbedMain>()>;

    // `makeApp` lets a test put a subclass in place of the main component to watch its hooks.
    explicit ConnectedApp(const Factory& makeApp = [] { return std::make_unique<ProbedMain>(); })
        : m_root(std::filesystem::path(juce::File::getSpecialLocation(juce::File::userHomeDirectory)
                                           .getFullPathName()
                                           .toStdString())
                 / "fake")
    {
        std::filesystem::create_directories(m_root / "sys" / "class" / "tty");
        std::filesystem::create_directories(m_root / "dev");
        SerialPort::setEnumerationRoots(juce::File(sysRoot().string()), juce::File(devDir().string()));
        app = makeApp();
        app->stopTimer();
    }

    ~ConnectedApp()
    {
        app.reset();
        pedal.reset();
        extraPorts.clear();
        SerialPort::setEnumerationRoots(juce::File("/sys"), juce::File("/dev"));
    }

    std::filesystem::path sysRoot() const { return m_root / "sys"; }
    std::filesystem::path devDir() const { return m_root / "dev"; }

    SimulatedPedal& plugPedal(int model, const std::string& version, const std::string& serial = "HV0000001")
    {
        PedalSettings settings;
        settings.model = model;
        settings.version = version;
        settings.serial = serial;
        pedal = SimulatedPedal::inFakeSysfs(settings, sysRoot(), devDir());
        pedal->plug();
        return *pedal;
    }

    // A port listed under `identity` whose device node is `node` (a path that may not exist),
    // at its own place on the bus; it stays until the test ends or removes it.
    FakeSysfsTree& addPort(const UsbIdentity& identity, const std::string& ttyName, const std::string& usbPort,
                           const std::filesystem::path& node)
    {
        extraPorts.push_back(std::make_unique<FakeSysfsTree>(sysRoot(), devDir(), ttyName, usbPort));
        extraPorts.back()->attach(identity, node.string());
        return *extraPorts.back();
    }

    // A node path under the test's folder that leads nowhere: the device went between the scan
    // and the open.
    std::filesystem::path missingNode(const std::string& name) const { return m_root / "gone" / name; }

    // One timer tick: the clock moves by the current interval, the tick runs, and whatever the
    // pedal answers meanwhile is delivered.
    void tick(int pumpMs = 15)
    {
        clock.advance(app->timerIntervalMs());
        app->Tick();
        pump(pumpMs);
    }

    void ticks(int count, int pumpMs = 15)
    {
        for (int i = 0; i < count; ++i)
            tick(pumpMs);
    }

    // Ticks until the state is reached or the tick budget is spent.
    bool tickUntilState(int state, int maxTicks = 200)
    {
        for (int i = 0; i < maxTicks; ++i)
        {
            if (app->state() == state)
                return true;
            tick();
        }
        return app->state() == state;
    }

    static void pump(int ms)
    {
        juce::MessageManager::getInstance()->runDispatchLoopUntil(ms);
    }

    juce::String logText() const
    {
        return juce::File::getSpecialLocation(juce::File::userHomeDirectory)
            .getChildFile("Halvane/HVPlatformUpdater.log")
            .loadFileAsString();
    }

    Clock::ScopedManualClock clock;
    ScriptedDialogs dialogs;
    std::unique_ptr<SimulatedPedal> pedal;
    std::vector<std::unique_ptr<FakeSysfsTree>> extraPorts;
    std::unique_ptr<ProbedMain> app;

private:
    std::filesystem::path m_root;
};
