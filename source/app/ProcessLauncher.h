#pragma once

#include <juce_core/juce_core.h>

#include <functional>

// Starting other programs and opening URLs, replaceable so tests can watch instead of launch.
namespace ProcessLauncher
{
    bool start(const juce::File& program, const juce::String& parameters);
    bool openUrl(const juce::String& url);

    struct Launcher
    {
        std::function<bool(const juce::File&, const juce::String&)> start;
        std::function<bool(const juce::String&)> openUrl;
    };

    // Replaces both; an empty Launcher restores the system's.
    void install(Launcher launcher);
}
