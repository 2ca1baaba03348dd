#include "ui/MainComponent.h"

#include "app/BuildInfo.h"
#include "app/Clock.h"
#include "diagnostics/LogFormat.h"
#include "diagnostics/SystemReport.h"

MainComponent::MainComponent()
{
    LoadSettings();
    LoadDeviceSettings();
    setSize(kWidth, kHeight);
    startTimer(100);
    logSystemHeader();
}

MainComponent::~MainComponent()
{
    if (m_updateTracker != nullptr)
        m_updateTracker->MarkAppClosing();
}

void MainComponent::setStatusLine(const juce::String& text, bool repaintNow)
{
    m_statusLines.add(text);
    if (repaintNow)
        repaint();
}

void MainComponent::logMessage(const juce::String& text, bool replaceLast)
{
    if (m_bKeepLastLogLine)
    {
        m_bKeepLastLogLine = false;
        replaceLast = false;
    }
    if (replaceLast)
    {
        const juce::String newest = m_debugLines.isEmpty() ? juce::String() : m_debugLines[m_debugLines.size() - 1];
        if (text == newest)
            return;
        if (!m_debugLines.isEmpty())
            m_debugLines.remove(m_debugLines.size() - 1);
    }
    else
    {
        logToFile(text);
    }

    m_debugLines.addArray(LogFormat::splitLines(text));
    if (m_bDebugMode)
        repaint();
}

void MainComponent::logSystemHeader()
{
    logMessage(LogFormat::separator(), false);
    logMessage("System:", false);
    logMessage(SystemReport::getSystemLine(), false);
    logMessage(LogFormat::separator(), false);
    logMessage("Application:", false);
    logMessage("  " + BuildInfo::appTitleWithVersion(), false);
    logMessage("  " + juce::String(getWidth()) + " x " + juce::String(getHeight()) + " px", false);
    logMessage(LogFormat::separator(), false);
}

void MainComponent::MarkTxActivity()
{
    m_lastTxTime = Clock::nowMs();
    if (m_txIndicator == 0)
        m_txIndicator = 2;
}

void MainComponent::MarkRxActivity()
{
    m_lastRxTime = Clock::nowMs();
    if (m_rxIndicator == 0)
        m_rxIndicator = 2;
}

void MainComponent::paint(juce::Graphics& g)
{
    g.fillAll(juce::Colour(0xFF1A1A1A));
}
