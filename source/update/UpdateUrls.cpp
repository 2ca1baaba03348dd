#include "update/UpdateUrls.h"

#include "update/AppUpdateInfo.h"

namespace UpdateUrls
{
namespace
{
const juce::String& baseOf(const DeviceRow& row, bool beta)
{
    return row.baseUrl[beta ? 1 : 0];
}
}

juce::String UpdateInfoUrl(const DeviceRow& row, bool beta)
{
    return baseOf(row, beta) + row.updateFile;
}

juce::String ChangelogUrl(const DeviceRow& row, bool beta)
{
    return baseOf(row, beta) + row.changelogFile;
}

juce::String ReferenceUrl(int deviceIndex, const DeviceRow& row, bool beta)
{
    return baseOf(row, beta) + DeviceCatalogue::refFile(deviceIndex, beta);
}

juce::String ImageUrl(const juce::String& updatePath, const juce::String& imageFile)
{
    return updatePath + imageFile;
}

juce::String KeyFileUrl(const juce::String& betaBaseUrl, const juce::String& keyFileName)
{
    return betaBaseUrl + keyFileName;
}

std::array<juce::String, 2> AppBaseUrls(const ServerConfig::Urls& urls)
{
    return { urls.releaseBase, urls.betaBase };
}

int AppCheckChannel(const std::array<juce::String, 2>& baseUrls, int wantedChannel)
{
    return (wantedChannel == 0 && baseUrls[0].isEmpty()) ? 1 : wantedChannel;
}

juce::String AppUpdateInfoUrl(const juce::String& baseUrl)
{
    return baseUrl + AppUpdateInfo::kServerName + ".win.update";
}

juce::String AppChangelogUrl(const juce::String& baseUrl)
{
    return baseUrl + AppUpdateInfo::kServerName + ".changelog";
}

juce::String InstallerUrl(const juce::String& baseUrl, const juce::String& installerFile)
{
    return baseUrl + installerFile;
}

juce::String RequestLogLine(const juce::String& url)
{
    return "URL request: " + url;
}
}
