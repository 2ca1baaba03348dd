#include "device/AppCommon.h"

void AppCommon::ShowProgress(const juce::String& message, float value)
{
    m_progress.ShowProgress(message, value);
}

void AppCommon::ShowProgress(const juce::String& title, const juce::String& message, float value)
{
    m_progress.ShowProgress(title, message, value);
}

void AppCommon::SetProgress(float value)
{
    m_progress.SetProgress(value);
}

void AppCommon::CloseProgress()
{
    m_progress.CloseProgress();
}
