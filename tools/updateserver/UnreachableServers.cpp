#include "updateserver/UnreachableServers.h"

#include "app/SettingsKeys.h"
#include "device/ServerConfig.h"

namespace UnreachableServers
{
void writeInto(const juce::File& homeFolder)
{
    auto options = SettingsKeys::fileOptions();
    const auto file = homeFolder.getChildFile(options.folderName)
                          .getChildFile(options.applicationName + "." + options.filenameSuffix);
    file.getParentDirectory().createDirectory();
    juce::PropertiesFile settings(file, options);
    const std::pair<const char*, juce::String> keys[] = {
        { ServerConfig::kReleaseKey, kBaseUrl },
        { ServerConfig::kBetaKey, juce::String(kBaseUrl) + "betaCode/" },
        { ServerConfig::kEventReportKey, juce::String(kBaseUrl) + "event" },
    };
    for (const auto& [key, value] : keys)
        if (!settings.containsKey(key))
            settings.setValue(key, value);
    settings.saveIfNeeded();
}
}
