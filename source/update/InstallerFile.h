#pragma once

#include <juce_core/juce_core.h>

// Where a downloaded installer is kept: the "Updates" folder of the user folder, under the file
// name the server gave. A name that could point anywhere else is refused, so a hostile or broken
// update-information file can never make the application write (and later start) a file
// outside that folder.
namespace InstallerFile
{
    inline constexpr const char* kUpdatesFolder = "Updates";

    // A plain file name: not empty, no path separator or drive colon, no "..", no leading dot,
    // no control characters.
    bool IsSafeName(const juce::String& name);

    juce::File UpdatesFolder(const juce::File& userFolder);

    // The installer's file in the Updates folder; a default (invalid) juce::File for an unsafe name.
    juce::File InstallerPath(const juce::File& userFolder, const juce::String& name);

    // Creates the folder, replaces any file of that name and writes `data`. Returns the file, or
    // a default juce::File when the name was refused or the file could not be written.
    juce::File Save(const juce::File& userFolder, const juce::String& name, const juce::MemoryBlock& data);

    // The alert texts for a refused name and for a file that could not be written.
    juce::String UnsafeNameMessage(const juce::String& name);
    juce::String NotSavedMessage(const juce::File& file);
}
