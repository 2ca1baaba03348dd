#pragma once

#include <juce_core/juce_core.h>

// The changelog window of the update offers (pedal firmware and application): the version as
// its message, the changelog in a scrolling box, and "Update" (1) or "Cancel" (0).
namespace ChangelogAlert
{
    int Show(const juce::String& title, const juce::String& version, const juce::String& changelog);
}
