#include "app/SettingsKeys.h"

#include "app/BuildInfo.h"

namespace SettingsKeys
{
juce::String deviceKey(const juce::String& prefix, const juce::String& key, bool betaSuffix)
{
    return prefix + "_" + key + (betaSuffix ? "_beta" : "");
}

juce::PropertiesFile::Options fileOptions()
{
    juce::PropertiesFile::Options options;
    options.applicationName = BuildInfo::appName();
    options.folderName = BuildInfo::appName();
    options.filenameSuffix = "settings";
    options.osxLibrarySubFolder = "Application Support";
    options.commonToAllUsers = false;
    options.ignoreCaseOfKeyNames = false;
    options.doNotSave = false;
    options.millisecondsBeforeSaving = 3000;
    options.storageFormat = juce::PropertiesFile::storeAsXML;
    options.processLock = nullptr;
    return options;
}
}
