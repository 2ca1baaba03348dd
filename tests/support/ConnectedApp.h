#pragma once

#include "app/Clock.h"
#include "serial/SerialPort.h"
#include "simpedal/SimulatedPedal.h"
#include "support/ScriptedDialogs.h"
#include "ui/MainComponent.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <vector>

// The main component driven tick by tick against a simulated pedal in a fake sysfs tree, with
// a manual clock and scripted alerts. Serial replies are delivered by pumping the message loop.
class ConnectedApp
{
public:
    ConnectedApp()
        : m_root(std::filesystem::path(juce::File::getSpecialLocation(juce::File::userHomeDirectory)
                                           .getFullPathName()
                                           .toStdString())
                 / "fake")
    {
        std::filesystem::create_directories(m_root / "sys" / "class" / "tty");
        std::filesystem::create_directories(m_root / "dev");
        SerialPort::setEnumerationRoots(juce::File(sysRoot().string()), juce::File(devDir().string()));
        app = std::make_unique<MainComponent>();
        app->stopTimer();
    }

    ~ConnectedApp()
    {
        app.reset();
        pedal.reset();
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
    std::unique_ptr<MainComponent> app;

private:
    std::filesystem::path m_root;
};
