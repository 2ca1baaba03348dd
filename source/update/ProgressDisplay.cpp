#include "update/ProgressDisplay.h"

ProgressDisplay::ProgressDisplay(juce::Component& parent, std::function<bool()> quitPending)
    : m_parent(parent), m_quitPending(std::move(quitPending))
{
}

ProgressDisplay::~ProgressDisplay()
{
    CloseProgress();
}

void ProgressDisplay::ShowProgress(const juce::String& message, float value)
{
    ShowProgress(kDefaultTitle, message, value);
}

void ProgressDisplay::ShowProgress(const juce::String& title, const juce::String& message, float value)
{
    if (m_quitPending())
        return;
    if (auto* open = m_window.get())
        open->setStatusMessage(message);
    else
        m_window = new ProgressBarThread(title, message, &m_parent);
    m_window->progress = (double) value;
}

void ProgressDisplay::SetProgress(float value)
{
    if (m_quitPending())
        return;
    if (auto* open = m_window.get())
        open->progress = (double) value;
}

void ProgressDisplay::CloseProgress()
{
    if (auto* open = m_window.get())
        open->complete();
    m_window = nullptr;
}
