#include "update/ProgressBarThread.h"

namespace
{
constexpr int kRefreshIntervalMs = 100;

juce::LookAndFeel& lookAndFeelOf(juce::Component* parent)
{
    return parent != nullptr ? parent->getLookAndFeel() : juce::LookAndFeel::getDefaultLookAndFeel();
}
}

ProgressBarThread::ProgressBarThread(const juce::String& title, const juce::String& initialMessage,
                                     juce::Component* parent)
    : juce::Thread("ProgressBarThread")
{
    alertWindow.reset(lookAndFeelOf(parent).createAlertWindow(title, initialMessage, {}, {}, {},
                                                              juce::MessageBoxIconType::NoIcon, 0, parent));
    alertWindow->setEscapeKeyCancels(false);
    alertWindow->addProgressBarComponent(progress);

    setStatusMessage(initialMessage);
    startThread(juce::Thread::Priority::normal);
    startTimer(kRefreshIntervalMs);
    copyMessageToWindow();
    alertWindow->enterModalState();
}

ProgressBarThread::~ProgressBarThread()
{
    stopThread(timeOutMsWhenCancelling);
}

void ProgressBarThread::run()
{
    // The bar starts indeterminate; that value is set before the thread starts so that it can
    // never overwrite a value the owner has written meanwhile.
    while (!threadShouldExit())
        wait(kRefreshIntervalMs);
}

void ProgressBarThread::threadComplete(bool)
{
    delete this;
}

void ProgressBarThread::timerCallback()
{
    if (isThreadRunning() && alertWindow->isCurrentlyModal())
        copyMessageToWindow();
    else
        finish(isThreadRunning());
}

void ProgressBarThread::setStatusMessage(const juce::String& newMessage)
{
    const juce::ScopedLock lock(messageLock);
    message = newMessage;
}

juce::String ProgressBarThread::statusMessage() const
{
    const juce::ScopedLock lock(messageLock);
    return message;
}

void ProgressBarThread::complete()
{
    finish(false);
}

void ProgressBarThread::finish(bool cancelledByUser)
{
    stopTimer();
    stopThread(timeOutMsWhenCancelling);
    alertWindow->exitModalState(1);
    alertWindow->setVisible(false);
    wasCancelledByUser = cancelledByUser;
    threadComplete(cancelledByUser);
}

void ProgressBarThread::copyMessageToWindow()
{
    const juce::ScopedLock lock(messageLock);
    alertWindow->setMessage(message);
}
