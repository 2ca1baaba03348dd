#pragma once

#include <juce_core/juce_core.h>

// Descriptions of the computer for the log header and for error reports.
namespace SystemReport
{
    // Always false off Windows; there is no registry to ask.
    bool isWindows10();

    // "  <OS>, <n>mb RAM, <n> cores, <n>MHz".
    juce::String getSystemLine();

    // "[App:...] [Sys:...] [Ram:...mb] [Cpu:<n>x<n>MHz]".
    juce::String getShortSystemTag();

    // The long multi-line report written to the log at every start.
    juce::String getSystemInfoReport();

    // The display section of the long report.
    juce::String getDisplayInfo();

    // The operating-system name as reports and event parameters give it.
    juce::String operatingSystemName();

    // True only for a 32-bit process on 64-bit Windows; never on this platform.
    bool isWow64Process();
}
