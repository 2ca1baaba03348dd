#pragma once

#include <juce_core/juce_core.h>

// The logging mix-in. It holds no state: every record opens, appends to and closes the log file,
// so whatever was logged is on disk even if the process dies right after.
class DebugLogger
{
public:
    // Appends one record; a file that cannot be opened drops the record silently.
    static void logToFile(const juce::String& message);

    // "<home>/Halvane/HVPlatformUpdater.log"; an empty File when the home folder is unknown.
    static juce::File logFile();

    // Run once before the start banner: creates the folder and deletes a file over 1 MiB.
    static void prepareLogFile();
};
