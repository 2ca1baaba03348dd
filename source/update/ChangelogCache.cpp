#include "update/ChangelogCache.h"

#include "device/DeviceCatalogue.h"
#include "update/AppUpdateInfo.h"

namespace
{
juce::String folderName(int deviceIndex)
{
    if (deviceIndex <= 0)
        return AppUpdateInfo::kServerName;
    if (deviceIndex >= DeviceCatalogue::kDeviceCount)
        return {};
    return DeviceCatalogue::rows({}, {})[(size_t) deviceIndex].name;
}

bool isPlainVersionText(const juce::String& version)
{
    return version.isNotEmpty() && !version.containsAnyOf("/\\:");
}
}

juce::File ChangelogCache::changelogFile(int deviceIndex, const juce::String& version) const
{
    const auto name = folderName(deviceIndex);
    if (name.isEmpty() || !isPlainVersionText(version))
        return {};
    return m_userFolder.getChildFile("ChangeLogs").getChildFile(name).getChildFile("Changelog." + version + ".txt");
}

bool ChangelogCache::IsChangelogCached(int deviceIndex, const juce::String& version) const
{
    return changelogFile(deviceIndex, version).existsAsFile();
}

juce::String ChangelogCache::LoadChangelog(int deviceIndex, const juce::String& version,
                                           const juce::String& fallback) const
{
    const auto file = changelogFile(deviceIndex, version);
    return file.existsAsFile() ? file.loadFileAsString() : fallback;
}

void ChangelogCache::SaveChangelog(int deviceIndex, const juce::String& version, const juce::String& text,
                                   bool overwrite) const
{
    const auto file = changelogFile(deviceIndex, version);
    if (file == juce::File() || (!overwrite && file.exists()))
        return;
    file.getParentDirectory().createDirectory();
    file.deleteFile();
    file.replaceWithText(text, false, false, nullptr);
}
