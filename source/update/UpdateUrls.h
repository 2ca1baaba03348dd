#pragma once

#include "device/DeviceCatalogue.h"
#include "device/ServerConfig.h"

#include <array>

// The address of every request to the update server. Base URLs end in "/"; file names are
// appended as the server publishes them.
namespace UpdateUrls
{
    inline constexpr const char* kDebugKeyFile = "nimbrelDebug.txt";
    inline constexpr const char* kBetaKeyFile = "nimbrelBeta.txt";

    // Pedal files, for the release (beta false) or beta channel of `row`.
    juce::String UpdateInfoUrl(const DeviceRow& row, bool beta);
    juce::String ChangelogUrl(const DeviceRow& row, bool beta);
    juce::String ReferenceUrl(int deviceIndex, const DeviceRow& row, bool beta);
    juce::String ImageUrl(const juce::String& updatePath, const juce::String& imageFile);

    // Key files live on the beta server only.
    juce::String KeyFileUrl(const juce::String& betaBaseUrl, const juce::String& keyFileName);

    // The application's own files; channel 0 is release, 1 beta.
    std::array<juce::String, 2> AppBaseUrls(const ServerConfig::Urls& urls);
    // The channel to ask: release falls back to beta when no release base URL is configured.
    int AppCheckChannel(const std::array<juce::String, 2>& baseUrls, int wantedChannel);
    juce::String AppUpdateInfoUrl(const juce::String& baseUrl);
    juce::String AppChangelogUrl(const juce::String& baseUrl);
    juce::String InstallerUrl(const juce::String& baseUrl, const juce::String& installerFile);

    // The log line written for each request when request logging is on.
    juce::String RequestLogLine(const juce::String& url);
}
