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

    // Header block of the on-screen log: system line and application identity.
    void logSystemHeader();

    const juce::StringArray& debugLines() const { return m_debugLines; }
    const juce::StringArray& statusLines() const { return m_statusLines; }
    void keepLastLogLine() { m_bKeepLastLogLine = true; }

    static constexpr int kWidth = 576;
    static constexpr int kHeight = 480;
    static constexpr int kMaxDebugLines = 45;
};
