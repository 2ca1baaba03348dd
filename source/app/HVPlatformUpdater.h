#pragma once

#include "app/InstanceGuard.h"
#include "diagnostics/DebugLogger.h"

#include <juce_gui_basics/juce_gui_basics.h>

class MainComponent;

class HVPlatformUpdater : public juce::JUCEApplication, public DebugLogger
{
public:
    HVPlatformUpdater() = default;

    const juce::String getApplicationName() override;
    const juce::String getApplicationVersion() override;
    bool moreThanOneInstanceAllowed() override;
    void initialise(const juce::String& commandLine) override;
    void shutdown() override;
    void anotherInstanceStarted(const juce::String& commandLine) override;
    void systemRequestedQuit() override;
    void suspended() override;
    void resumed() override;
    void unhandledException(const std::exception* e, const juce::String& sourceFile, int line) override;

    // The text that names where an exception came from: the path below the source folder when
    // it lies in the project tree, else the whole name.
    static juce::String shortenSourcePath(const juce::String& sourceFile);
    static juce::String exceptionReport(const std::exception* e, const juce::String& sourceFile, int line);

    class MainWindow : public juce::DocumentWindow
    {
    public:
        explicit MainWindow(const juce::String& title);
        void closeButtonPressed() override;
        MainComponent* content();

    private:
        JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(MainWindow)
    };

private:
    std::unique_ptr<MainWindow> mainWindow;
    std::unique_ptr<InstanceGuard> m_instanceGuard;
};
