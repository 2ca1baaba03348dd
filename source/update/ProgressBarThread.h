#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// The modal progress window. Its thread does no work: it only keeps the window alive while the
// owner drives the bar through `progress` and the text through `setStatusMessage`. The window
// copies the text in every 100 ms. The object deletes itself when it completes, either through
// `complete` or when something else has taken the window out of its modal state.
class ProgressBarThread : public juce::Thread, public juce::Timer
{
public:
    ProgressBarThread(const juce::String& title, const juce::String& message, juce::Component* parent);
    ~ProgressBarThread() override;

    void run() override;
    virtual void threadComplete(bool userPressedCancel);
    void timerCallback() override;

    void setStatusMessage(const juce::String& newMessage);
    juce::String statusMessage() const;

    // Ends the window now and deletes this object.
    void complete();

    juce::AlertWindow* window() const { return alertWindow.get(); }

    // Negative: the bar shows an indeterminate moving pattern; 0 to 1: a fraction.
    double progress = -1.0;
    bool wasCancelledByUser = false;

private:
    void finish(bool cancelledByUser);
    void copyMessageToWindow();

    std::unique_ptr<juce::AlertWindow> alertWindow;
    mutable juce::CriticalSection messageLock;
    juce::String message;
    const int timeOutMsWhenCancelling = 10000;

    JUCE_DECLARE_WEAK_REFERENCEABLE(ProgressBarThread)
    JUCE_DECLARE_NON_COPYABLE(ProgressBarThread)
};
