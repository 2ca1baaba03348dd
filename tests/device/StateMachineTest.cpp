#include "app/Clock.h"
#include "device/AppCommon.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{
// The connection core with its entry and process steps recorded instead of run, so the tick
// arithmetic can be watched on its own.
class RecordingCore : public AppCommon
{
public:
    RecordingCore() { stopTimer(); }

    void InitState(int state) override { entered.push_back(state); }
    void ProcessState(int state) override
    {
        processed.push_back(state);
        if (onProcess)
            onProcess();
    }

    void setConnected(int device, const VersionInfo& version, const juce::String& serial)
    {
        m_connectedDevice = device;
        m_deviceVersion = version;
        m_serialNumber = serial;
    }
    void forceState(int state)
    {
        m_state = state;
        m_prevState = state;
    }

    std::vector<int> entered;
    std::vector<int> processed;
    std::function<void()> onProcess;
};
}

TEST(StateMachine, FirstTickEntersTheScanStateOnce)
{
    Clock::ScopedManualClock clock;
    RecordingCore core;
    core.Tick();
    core.Tick();
    EXPECT_EQ(core.entered, std::vector<int>({ COMM_SCAN_FOR_DEVICES }));
    EXPECT_EQ(core.processed, std::vector<int>({ COMM_SCAN_FOR_DEVICES, COMM_SCAN_FOR_DEVICES }));
}

TEST(StateMachine, LastRequestInATickWinsAndTakesEffectAtItsEnd)
{
    Clock::ScopedManualClock clock;
    RecordingCore core;
    core.Tick();
    core.onProcess = [&] {
        core.SetNextState(COMM_STATE_IDLE);
        core.SetNextState(COMM_STATE_REQUEST_VERSION);
        core.onProcess = nullptr;
    };
    core.Tick();
    EXPECT_EQ(core.state(), COMM_STATE_REQUEST_VERSION);
    EXPECT_EQ(core.entered.back(), COMM_SCAN_FOR_DEVICES);  // the entry step waits for the next tick
    core.Tick();
    EXPECT_EQ(core.entered.back(), COMM_STATE_REQUEST_VERSION);
}

TEST(StateMachine, RestartReRunsTheEntryStepButSetNextToTheSameStateDoesNot)
{
    Clock::ScopedManualClock clock;
    RecordingCore core;
    core.Tick();
    core.SetNextState(COMM_SCAN_FOR_DEVICES);
    core.Tick();
    core.Tick();
    EXPECT_EQ(core.entered.size(), 1u);

    core.RestartState(COMM_SCAN_FOR_DEVICES);
    core.Tick();
    EXPECT_EQ(core.entered.size(), 2u);
}

TEST(StateMachine, RunNowTicksAtOnce)
{
    Clock::ScopedManualClock clock;
    RecordingCore core;
    core.Tick();
    core.SetNextState(COMM_STATE_IDLE, true);
    EXPECT_EQ(core.state(), COMM_STATE_IDLE);
    EXPECT_EQ(core.processed.size(), 2u);
}

TEST(StateMachine, ConnectionStatusTextInEachSituation)
{
    Clock::ScopedManualClock clock;
    RecordingCore core;
    EXPECT_EQ(core.ConnectionStatusText(), "No device connected.");

    core.setConnected(1, VersionInfo(), {});
    core.forceState(COMM_STATE_REQUEST_VERSION);
    EXPECT_EQ(core.ConnectionStatusText(), "Nimbrel | Firmware [checking...] | S/N --------");
    core.forceState(COMM_STATE_REQUEST_SERIAL);
    EXPECT_EQ(core.ConnectionStatusText(), "Nimbrel | Firmware v-.--.--- | S/N [checking...]");

    core.setConnected(1, VersionInfo("v1.04.5.0.UNDEF.0"), "HV123");
    core.forceState(COMM_STATE_IDLE);
    EXPECT_EQ(core.ConnectionStatusText(), "Nimbrel | Firmware v1.04.005 | S/N HV123");

    core.setConnected(0, VersionInfo(), {});
    EXPECT_EQ(core.ConnectionStatusText(), "Platform bootloader");
    core.setConnected(0, VersionInfo(), "X1");
    EXPECT_EQ(core.ConnectionStatusText(), "Platform bootloader | S/N X1");

    core.setConnected(7, VersionInfo(), {});
    EXPECT_EQ(core.ConnectionStatusText(), "INVALID DEVICE INDEX");
}

TEST(StateMachine, ReportErrorShowsTheTextThenContinues)
{
    Clock::ScopedManualClock clock;
    class ErrorCore : public AppCommon
    {
    public:
        ErrorCore() { stopTimer(); }
        void logMessage(const juce::String& text, bool) override { lines.add(text); }
        void setStatusLine(const juce::String& text, bool) override { status.add(text); }
        void ProcessState(int) override {}
        juce::StringArray lines, status;
    } core;

    core.ReportError("Something failed.", COMM_STATE_IDLE);
    core.Tick();  // the error state becomes current
    core.Tick();  // its entry step shows the text and asks for the state after
    EXPECT_TRUE(core.lines.contains("Error: Something failed."));
    EXPECT_TRUE(core.status.contains("Error: Something failed."));
    EXPECT_EQ(core.state(), COMM_STATE_IDLE);
}
