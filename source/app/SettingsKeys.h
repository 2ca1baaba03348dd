#pragma once

#include <juce_data_structures/juce_data_structures.h>

// The settings file and the names of its keys.
namespace SettingsKeys
{
    inline constexpr const char* kLogFile = "logfile";
    inline constexpr const char* kUserDirectory = "userDirectory";
    inline constexpr const char* kUserDirectoryNotSet = "NOT_SET";
    inline constexpr const char* kAppVersion = "appVersion";
    inline constexpr const char* kLastUpdateFetchTime = "lastUpdateFetchTime";
    inline constexpr const char* kInstaller = "installer";
    inline constexpr const char* kTestAppUpdate = "testAppUpdate";
    inline constexpr const char* kIgnoredUpdate = "IgnoredUpdate";  // + platform tag
    inline constexpr const char* kLastActiveDevice = "LastActiveDevice";
    inline constexpr const char* kLastActiveSerial = "LastActiveSerial";
    inline constexpr const char* kLastActiveVersion = "LastActiveVersion";

    // Per-device keys, after the device prefix and "_".
    inline constexpr const char* kActiveSerial = "ActiveSerial";
    inline constexpr const char* kActiveVersion = "ActiveVersion";
    inline constexpr const char* kActiveUpdateState = "ActiveUpdateState";
    inline constexpr const char* kUpdatingFrom = "UpdatingFrom";
    inline constexpr const char* kUpdatingTo = "UpdatingTo";
    inline constexpr const char* kForcedUpdate = "ForcedUpdate";
    inline constexpr const char* kRecoveryUpdate = "RecoveryUpdate";
    inline constexpr const char* kAvailableUpdate = "AvailableUpdate";
    inline constexpr const char* kAvailableUpdateFile = "AvailableUpdateFile";
    inline constexpr const char* kAvailableUpdateSize = "AvailableUpdateSize";
    inline constexpr const char* kAvailableUpdateMD5 = "AvailableUpdateMD5";
    inline constexpr const char* kDocUrl = "DocUrl";

    // prefix + "_" + key, with "_beta" at the very end when `betaSuffix` is set.
    juce::String deviceKey(const juce::String& prefix, const juce::String& key, bool betaSuffix = false);

    // The options the settings file is opened with; on Linux it lands in
    // "$HOME/HV Platform Updater/HV Platform Updater.settings".
    juce::PropertiesFile::Options fileOptions();
}
