#include "app/SettingsKeys.h"
#include "device/AppCommon.h"
#include "update/ChangelogCache.h"
#include "update/KeyFileCheck.h"
#include "update/UpdateUrls.h"

void AppCommon::CheckChannelKeys()
{
    m_bDebugKey = KeyFileCheck::AnyAccepted(UpdateUrls::kDebugKeyFile, m_userDirectory, m_serverUrls.betaBase);
    SetBetaChannel(KeyFileCheck::AnyAccepted(UpdateUrls::kBetaKeyFile, m_userDirectory, m_serverUrls.betaBase));
    logToFile(juce::String("Keys:") + (m_bDebugKey ? " debug" : "") + (m_bBetaChannel ? " beta" : ""));
}

void AppCommon::setAvailableValue(int index, const char* key, const juce::var& value)
{
    m_settings->setValue(deviceSettingsKey(index, key, m_bBetaChannel), value);
}

void AppCommon::SetAvailableUpdate(int index, const VersionInfo& version)
{
    if (deviceRow(index) == nullptr)
        return;
    m_availableUpdates[(size_t) index].availableVersion = version;
    setAvailableValue(index, SettingsKeys::kAvailableUpdate, version.toString());
}

void AppCommon::SetAvailableUpdateFile(int index, const juce::String& file)
{
    if (deviceRow(index) == nullptr)
        return;
    m_availableUpdates[(size_t) index].availableFile = file;
    setAvailableValue(index, SettingsKeys::kAvailableUpdateFile, file);
}

void AppCommon::SetAvailableUpdateSize(int index, int32_t size)
{
    if (deviceRow(index) == nullptr)
        return;
    m_availableUpdates[(size_t) index].availableSize = size;
    setAvailableValue(index, SettingsKeys::kAvailableUpdateSize, size);
}

void AppCommon::SetAvailableUpdateMD5(int index, const juce::String& md5)
{
    if (deviceRow(index) == nullptr)
        return;
    m_availableUpdates[(size_t) index].availableMD5 = md5;
    setAvailableValue(index, SettingsKeys::kAvailableUpdateMD5, md5);
}

void AppCommon::SetDocUrl(int index, const juce::String& url)
{
    if (deviceRow(index) == nullptr)
        return;
    m_availableUpdates[(size_t) index].docUrl = url;
    m_settings->setValue(deviceSettingsKey(index, SettingsKeys::kDocUrl), url);
}

void AppCommon::ClearAvailableUpdate(int index)
{
    if (deviceRow(index) == nullptr)
        return;
    auto& update = m_availableUpdates[(size_t) index];
    update.availableVersion = VersionInfo();
    update.availableFile.clear();
    update.availableSize = 0;
    update.availableMD5.clear();
    for (const char* key : { SettingsKeys::kAvailableUpdate, SettingsKeys::kAvailableUpdateFile,
                             SettingsKeys::kAvailableUpdateSize, SettingsKeys::kAvailableUpdateMD5 })
        m_settings->removeValue(deviceSettingsKey(index, key, m_bBetaChannel));
}

bool AppCommon::IsChangelogCached(int index, const juce::String& version)
{
    return ChangelogCache(m_userDirectory).IsChangelogCached(index, version);
}

juce::String AppCommon::LoadChangelog(int index, const juce::String& version, const juce::String& fallback)
{
    return ChangelogCache(m_userDirectory).LoadChangelog(index, version, fallback);
}

void AppCommon::SaveChangelog(int index, const juce::String& version, const juce::String& text, bool overwrite)
{
    ChangelogCache(m_userDirectory).SaveChangelog(index, version, text, overwrite);
}
