#include "app/BuildInfo.h"
#include "app/HomeFolder.h"
#include "app/SettingsKeys.h"
#include "device/AppCommon.h"
#include "diagnostics/EventReporter.h"

namespace
{
juce::String normalisedVersion(juce::PropertySet* settings, const juce::String& key)
{
    return VersionInfo(settings->getValue(key, VersionInfo::kUnknown)).toString();
}
}

void AppCommon::LoadSettings()
{
    m_bLogFileSetting = m_settings->getBoolValue(SettingsKeys::kLogFile, false);

    juce::String userDir = m_settings->getValue(SettingsKeys::kUserDirectory, SettingsKeys::kUserDirectoryNotSet);
    logToFile("userDirectory: " + userDir);
    if (userDir == SettingsKeys::kUserDirectoryNotSet)
    {
        logMessage("User dir not set. Create.", false);
        const auto folder = HomeFolder::halvane();
        folder.createDirectory();
        userDir = folder.getFullPathName();
        m_settings->setValue(SettingsKeys::kUserDirectory, userDir);
        logToFile("SET userDirectory: " + userDir);
    }
    // A hand-edited relative path would otherwise resolve against whatever folder we started in.
    m_userDirectory = juce::File::isAbsolutePath(userDir) ? juce::File(userDir) : HomeFolder::halvane();
    if (!m_userDirectory.isDirectory())
    {
        logToFile("  Missing: " + m_userDirectory.getFullPathName());
        m_userDirectory.createDirectory();
    }
    logToFile("userDir: " + m_userDirectory.getFullPathName());

    const VersionInfo build(BuildInfo::appBuildString());
    if (!VersionInfo(m_settings->getValue(SettingsKeys::kAppVersion, VersionInfo::kUnknown)).equalNumbers(build))
        m_settings->setValue(SettingsKeys::kAppVersion, build.toString());

    m_lastUpdateFetchTime = m_settings->getValue(SettingsKeys::kLastUpdateFetchTime, "0").getLargeIntValue();

    const auto installer = m_settings->getValue(SettingsKeys::kInstaller);
    if (installer.isNotEmpty())
    {
        if (juce::File::isAbsolutePath(installer))
            juce::File(installer).deleteFile();
        m_settings->removeValue(SettingsKeys::kInstaller);
    }
}

void AppCommon::LoadDeviceSettings()
{
    m_bTestAppUpdate = m_settings->getBoolValue(SettingsKeys::kTestAppUpdate, false);
    logToFile("m_bTestAppUpdate: " + juce::String(m_bTestAppUpdate ? 1 : 0));

    for (int i = 0; i < DeviceCatalogue::kDeviceCount; ++i)
    {
        const auto ignoredKey = SettingsKeys::kIgnoredUpdate + m_devices[(size_t) i].platformTag;
        m_ignoredVersion[(size_t) i] = VersionInfo(normalisedVersion(m_settings, ignoredKey));
        logToFile(ignoredKey + ": " + m_ignoredVersion[(size_t) i].toString());

        m_activeSerial[(size_t) i] = m_settings->getValue(deviceSettingsKey(i, SettingsKeys::kActiveSerial));
        m_deviceKnown[(size_t) i] = m_activeSerial[(size_t) i].isNotEmpty();
        m_activeVersion[(size_t) i] = VersionInfo(normalisedVersion(m_settings, deviceSettingsKey(i, SettingsKeys::kActiveVersion)));

        auto& update = m_availableUpdates[(size_t) i];
        update.availableVersion = VersionInfo(
            normalisedVersion(m_settings, deviceSettingsKey(i, SettingsKeys::kAvailableUpdate, m_bBetaChannel)));
        update.availableFile = m_settings->getValue(deviceSettingsKey(i, SettingsKeys::kAvailableUpdateFile, m_bBetaChannel));
        update.availableSize = m_settings->getIntValue(deviceSettingsKey(i, SettingsKeys::kAvailableUpdateSize, m_bBetaChannel), 0);
        update.availableMD5 = m_settings->getValue(deviceSettingsKey(i, SettingsKeys::kAvailableUpdateMD5, m_bBetaChannel));
        update.docUrl = m_settings->getValue(deviceSettingsKey(i, SettingsKeys::kDocUrl));
    }
}

juce::String AppCommon::deviceSettingsKey(int index, const juce::String& key, bool betaSuffix)
{
    return SettingsKeys::deviceKey(DeviceKeyName(index), key, betaSuffix);
}

void AppCommon::SetActiveVersion(int index, const juce::String& version)
{
    const VersionInfo parsed(version);
    if (deviceRow(index) != nullptr)
        m_activeVersion[(size_t) index] = parsed;
    m_settings->setValue(deviceSettingsKey(index, SettingsKeys::kActiveVersion), parsed.toString());
}

void AppCommon::CreateUpdateTracker(int deviceIndex)
{
    m_updateTracker = std::make_unique<UpdateStateTracker>(m_settings, DeviceName(deviceIndex), CreateEventSink(deviceIndex));
}

std::unique_ptr<EventSink> AppCommon::CreateEventSink(int deviceIndex)
{
    return std::make_unique<EventReporter>(m_serverUrls.eventReport, DeviceKeyName(deviceIndex), getSystemParams(),
                                           m_bBetaChannel, m_bDebugKey);
}
