#pragma once

#include "update/ProgressBarThread.h"

#include <functional>

// The one progress window of the main component: shown on demand, reused while open, and
// silent once a quit is pending so that nothing new appears while the application winds down.
class ProgressDisplay
{
public:
    static constexpr float kIndeterminate = -1.0f;
    static constexpr const char* kDefaultTitle = "Device Update.";

    // `parent` is what the window centres on; `quitPending` tells whether a quit was asked for.
    ProgressDisplay(juce::Component& parent, std::function<bool()> quitPending);
    ~ProgressDisplay();

    void ShowProgress(const juce::String& message, float value);
    void ShowProgress(const juce::String& title, const juce::String& message, float value);
    void SetProgress(float value);
    void CloseProgress();

    // The open window, or nullptr.
    ProgressBarThread* window() const { return m_window.get(); }

private:
    juce::Component& m_parent;
    std::function<bool()> m_quitPending;
    juce::WeakReference<ProgressBarThread> m_window;

    JUCE_DECLARE_NON_COPYABLE(ProgressDisplay)
};
