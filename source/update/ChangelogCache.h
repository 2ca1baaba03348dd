#pragma once

#include <juce_core/juce_core.h>

// Changelogs kept on disk so they are fetched once per version:
// <user folder>/ChangeLogs/<name>/Changelog.<version>.txt, where name is the pedal model's display
// name, or "HVPlatformUpdater" for the application's own changelogs (any index of 0 or less).
// Version texts come from the server; one that would leave its folder is never used as a file
// name (nothing is cached for it).
class ChangelogCache
{
public:
    explicit ChangelogCache(juce::File userFolder) : m_userFolder(std::move(userFolder)) {}

    bool IsChangelogCached(int deviceIndex, const juce::String& version) const;
    juce::String LoadChangelog(int deviceIndex, const juce::String& version, const juce::String& fallback) const;
    // Keeps an existing file unless `overwrite`; written as UTF-8 without byte-order mark.
    void SaveChangelog(int deviceIndex, const juce::String& version, const juce::String& text, bool overwrite) const;

    // The cache file, or a default juce::File when there is no safe place for it.
    juce::File changelogFile(int deviceIndex, const juce::String& version) const;

private:
    juce::File m_userFolder;
};
