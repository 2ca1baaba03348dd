#pragma once

#include "device/AppCommon.h"

// The main window's content: the user interface on top of the connection core.
class MainComponent : public AppCommon
{
public:
    MainComponent();
    ~MainComponent() override;

    void setStatusLine(const juce::String& text, bool repaintNow) override;
    void logMessage(const juce::String& text, bool replaceLast) override;

    void paint(juce::Graphics& g) override;

    // States 24..37 and the per-tick work of the window.
    juce::String StateName(int state) override;
    void DumpStateNames() override;
    void InitState(int state) override;
    void ProcessState(int state) override;
    void MarkTxActivity() override;
    void MarkRxActivity() override;

    // Header block of the on-screen log: system line and application identity.
    void logSystemHeader();

    const juce::StringArray& debugLines() const { return m_debugLines; }
    const juce::StringArray& statusLines() const { return m_statusLines; }
    void keepLastLogLine() { m_bKeepLastLogLine = true; }

private:
    void EnterPresetState(int state);
    void ProcessPresetState(int state);

    juce::int64 m_lastTxTime = 0;
    juce::int64 m_lastRxTime = 0;
    int m_txIndicator = 0;
    int m_rxIndicator = 0;

public:
    static constexpr int kWidth = 576;
    static constexpr int kHeight = 480;
    static constexpr int kMaxDebugLines = 45;
};
