#include "app/SettingsKeys.h"
#include "device/AppCommon.h"
#include "support/TestFiles.h"
#include "ui/MainComponent.h"

#include <gtest/gtest.h>

namespace
{
// A core whose beta channel can be switched on, as the key-file check does.
class BetaCore : public AppCommon
{
public:
    void setBeta(bool on) { m_bBetaChannel = on; }
    const AvailableUpdate& available(int index) const { return m_availableUpdates[(size_t) index]; }
    const VersionInfo& ignored(int index) const { return m_ignoredVersion[(size_t) index]; }
    const juce::String& activeSerial(int index) const { return m_activeSerial[(size_t) index]; }
    bool testAppUpdate() const { return m_bTestAppUpdate; }
    bool logFileSetting() const { return m_bLogFileSetting; }
    juce::int64 lastFetch() const { return m_lastUpdateFetchTime; }
};

void writeSettings(const ScopedHome& home, std::initializer_list<std::pair<const char*, juce::String>> values)
{
    juce::PropertiesFile file(home.settingsFile(), SettingsKeys::fileOptions());
    for (const auto& [key, value] : values)
        file.setValue(key, value);
    ASSERT_TRUE(file.save());
}
}

class Settings : public testing::Test
{
protected:
    void SetUp() override { SKIP_WITHOUT_DISPLAY(); }
    ScopedHome home;
};

TEST_F(Settings, FileLivesInTheApplicationFolderOfHome)
{
    EXPECT_EQ(SettingsKeys::fileOptions().getDefaultFile(), home.settingsFile());
    {
        AppCommon core;
        core.settings()->setValue("probe", 1);
    }
    EXPECT_TRUE(home.settingsFile().existsAsFile());
    const auto xml = juce::parseXML(home.settingsFile());
    ASSERT_NE(xml, nullptr);
    EXPECT_EQ(xml->getTagName(), "PROPERTIES");
}

TEST_F(Settings, FirstRunCreatesAndStoresTheUserFolder)
{
    const std::string before = fileBytes(home.logFile());
    {
        MainComponent main;
        EXPECT_EQ(main.userDirectory(), home.folder().getChildFile("Halvane"));
        EXPECT_TRUE(main.debugLines().contains("User dir not set. Create."));
    }
    juce::PropertiesFile stored(home.settingsFile(), SettingsKeys::fileOptions());
    const auto path = home.folder().getChildFile("Halvane").getFullPathName();
    EXPECT_EQ(stored.getValue("userDirectory"), path);
    EXPECT_EQ(stored.getValue("appVersion"), "v1.04.011.0.master.20210408140335");

    const auto log = juce::String(fileBytes(home.logFile()));
    EXPECT_TRUE(log.contains(":\tuserDirectory: NOT_SET\n"));
    EXPECT_TRUE(log.contains(":\tUser dir not set. Create.\n"));
    EXPECT_TRUE(log.contains(":\tSET userDirectory: " + path + "\n"));
    EXPECT_TRUE(log.contains(":\tuserDir: " + path + "\n"));
    EXPECT_FALSE(log.contains("Missing:"));
}

TEST_F(Settings, StoredUserFolderThatIsGoneIsCreatedAgain)
{
    const auto chosen = home.folder().getChildFile("elsewhere/presets");
    writeSettings(home, { { "userDirectory", chosen.getFullPathName() } });
    MainComponent main;
    EXPECT_TRUE(chosen.isDirectory());
    const auto log = juce::String(fileBytes(home.logFile()));
    EXPECT_TRUE(log.contains(":\t  Missing: " + chosen.getFullPathName() + "\n"));
    EXPECT_FALSE(log.contains("SET userDirectory"));
}

TEST_F(Settings, GarbageFileGivesDefaultsAndIsReplacedByValidXml)
{
    home.settingsFile().getParentDirectory().createDirectory();
    home.settingsFile().replaceWithText("<PROPERTIES><VALUE name=\"logfile\" val=\"1\"><<<& not xml");
    {
        BetaCore core;
        core.LoadSettings();
        core.LoadDeviceSettings();
        EXPECT_FALSE(core.logFileSetting());
        EXPECT_EQ(core.userDirectory(), home.folder().getChildFile("Halvane"));
    }
    juce::PropertiesFile stored(home.settingsFile(), SettingsKeys::fileOptions());
    EXPECT_TRUE(stored.isValidFile());
    EXPECT_EQ(stored.getValue("userDirectory"), home.folder().getChildFile("Halvane").getFullPathName());
}

TEST_F(Settings, MissingKeysGiveDefaults)
{
    BetaCore core;
    core.LoadSettings();
    core.LoadDeviceSettings();
    EXPECT_FALSE(core.logFileSetting());
    EXPECT_FALSE(core.testAppUpdate());
    EXPECT_EQ(core.lastFetch(), 0);
    for (int i = 0; i < 4; ++i)
    {
        EXPECT_EQ(core.available(i).availableVersion.toString(), "v0.00.000.0.UNDEF.00");
        EXPECT_EQ(core.available(i).availableFile, "");
        EXPECT_EQ(core.available(i).availableSize, 0);
        EXPECT_EQ(core.available(i).availableMD5, "");
        EXPECT_EQ(core.available(i).docUrl, "");
        EXPECT_EQ(core.ignored(i).toString(), "v0.00.000.0.UNDEF.00");
        EXPECT_EQ(core.activeSerial(i), "");
    }
    const auto log = juce::String(fileBytes(home.logFile()));
    EXPECT_TRUE(log.contains(":\tm_bTestAppUpdate: 0\n"));
    EXPECT_TRUE(log.contains(":\tIgnoredUpdateNIMBREL: v0.00.000.0.UNDEF.00\n"));
    EXPECT_TRUE(log.contains(":\tIgnoredUpdateAPP: v0.00.000.0.UNDEF.00\n"));
}

TEST_F(Settings, StoredValuesAreReadAndVersionsNormalised)
{
    writeSettings(home, { { "logfile", "1" },
                          { "testAppUpdate", "1" },
                          { "lastUpdateFetchTime", "1617890000123" },
                          { "appVersion", "v1.4.11.0.old.0" },
                          { "IgnoredUpdateEMBERVALE", "v1.2.3.0.UNDEF.0" },
                          { "nightcrest_ActiveSerial", "NC-0042" },
                          { "nimbrel_AvailableUpdate", "v1.4.12.0.master.20220101120000" },
                          { "nimbrel_AvailableUpdateFile", "nimbrel_1_04_012.bin" },
                          { "nimbrel_AvailableUpdateSize", "262144" },
                          { "nimbrel_AvailableUpdateMD5", "0123456789abcdef0123456789abcdef" },
                          { "nimbrel_DocUrl", "https://docs.example/nimbrel" } });
    {
        BetaCore core;
        core.LoadSettings();
        core.LoadDeviceSettings();
        EXPECT_TRUE(core.logFileSetting());
        EXPECT_TRUE(core.testAppUpdate());
        EXPECT_EQ(core.lastFetch(), 1617890000123);
        EXPECT_EQ(core.ignored(2).toString(), "v1.02.003.0.UNDEF.00");
        EXPECT_EQ(core.activeSerial(3), "NC-0042");
        EXPECT_EQ(core.available(1).availableVersion.toString(), "v1.04.012.0.master.20220101120000");
        EXPECT_EQ(core.available(1).availableFile, "nimbrel_1_04_012.bin");
        EXPECT_EQ(core.available(1).availableSize, 262144);
        EXPECT_EQ(core.available(1).availableMD5, "0123456789abcdef0123456789abcdef");
        EXPECT_EQ(core.available(1).docUrl, "https://docs.example/nimbrel");

        core.SetActiveVersion(1, "v1.4.5.0.UNDEF.0");
        EXPECT_EQ(core.settings()->getValue("nimbrel_ActiveVersion"), "v1.04.005.0.UNDEF.00");
    }
    juce::PropertiesFile stored(home.settingsFile(), SettingsKeys::fileOptions());
    // Same four numbers as the build: the stored text is left as it was.
    EXPECT_EQ(stored.getValue("appVersion"), "v1.4.11.0.old.0");
    const auto log = juce::String(fileBytes(home.logFile()));
    EXPECT_TRUE(log.contains(":\tm_bTestAppUpdate: 1\n"));
    EXPECT_TRUE(log.contains(":\tIgnoredUpdateEMBERVALE: v1.02.003.0.UNDEF.00\n"));
}

TEST_F(Settings, OtherApplicationVersionIsReplacedByTheBuild)
{
    writeSettings(home, { { "appVersion", "v1.03.000.0.master.20200101000000" } });
    {
        BetaCore core;
        core.LoadSettings();
    }
    juce::PropertiesFile stored(home.settingsFile(), SettingsKeys::fileOptions());
    EXPECT_EQ(stored.getValue("appVersion"), "v1.04.011.0.master.20210408140335");
}

TEST_F(Settings, LeftOverInstallerIsDeletedAndItsKeyRemoved)
{
    const auto installer = home.folder().getChildFile("Halvane/Updates/setup.exe");
    installer.create();
    writeSettings(home, { { "installer", installer.getFullPathName() } });
    {
        BetaCore core;
        core.LoadSettings();
        EXPECT_FALSE(installer.exists());
        EXPECT_FALSE(core.settings()->containsKey("installer"));
    }
    writeSettings(home, { { "installer", home.folder().getChildFile("never-there.exe").getFullPathName() } });
    BetaCore core;
    core.LoadSettings();
    EXPECT_FALSE(core.settings()->containsKey("installer"));
}

TEST_F(Settings, BetaChannelReadsTheFourOfferKeysWithSuffixOnly)
{
    writeSettings(home, { { "embervale_AvailableUpdate", "v1.1.0.0.master.0" },
                          { "embervale_AvailableUpdate_beta", "v1.2.0.0.beta.0" },
                          { "embervale_AvailableUpdateFile_beta", "beta.bin" },
                          { "embervale_AvailableUpdateSize_beta", "77" },
                          { "embervale_AvailableUpdateMD5_beta", "beefbeefbeefbeefbeefbeefbeefbeef" },
                          { "embervale_DocUrl", "plain-doc" },
                          { "embervale_DocUrl_beta", "never-read" } });
    BetaCore core;
    core.setBeta(true);
    core.LoadDeviceSettings();
    EXPECT_EQ(core.available(2).availableVersion.toString(), "v1.02.000.0.beta.00");
    EXPECT_EQ(core.available(2).availableFile, "beta.bin");
    EXPECT_EQ(core.available(2).availableSize, 77);
    EXPECT_EQ(core.available(2).availableMD5, "beefbeefbeefbeefbeefbeefbeefbeef");
    EXPECT_EQ(core.available(2).docUrl, "plain-doc");
    EXPECT_EQ(core.deviceSettingsKey(2, SettingsKeys::kAvailableUpdate, true), "embervale_AvailableUpdate_beta");

    core.setBeta(false);
    core.LoadDeviceSettings();
    EXPECT_EQ(core.available(2).availableVersion.toString(), "v1.01.000.0.master.00");
}

TEST_F(Settings, ServerKeysOverrideTheDefaultUrls)
{
    writeSettings(home, { { "updateServerUrl", "http://127.0.0.1:8080/release" },
                          { "betaServerUrl", " http://127.0.0.1:8080/halvane/betaCode/ " },
                          { "eventReportUrl", "http://127.0.0.1:8080/event" } });
    AppCommon core;
    EXPECT_EQ(core.DeviceURL(1, false), "http://127.0.0.1:8080/release/");
    EXPECT_EQ(core.DeviceURL(3, true), "http://127.0.0.1:8080/halvane/betaCode/");
    EXPECT_EQ(ServerConfig::read(core.settings()).eventReport, "http://127.0.0.1:8080/event");
}

TEST(ServerUrls, DefaultsWithoutSettingsOrWithEmptyValues)
{
    const auto defaults = ServerConfig::read(nullptr);
    EXPECT_EQ(defaults.releaseBase, ServerConfig::kDefaultReleaseBaseUrl);
    EXPECT_EQ(defaults.betaBase, ServerConfig::kDefaultBetaBaseUrl);
    EXPECT_EQ(defaults.eventReport, ServerConfig::kDefaultEventReportUrl);
    EXPECT_TRUE(defaults.betaBase.endsWith("/halvane/betaCode/"));

    juce::PropertySet settings;
    settings.setValue("updateServerUrl", "   ");
    EXPECT_EQ(ServerConfig::read(&settings).releaseBase, ServerConfig::kDefaultReleaseBaseUrl);
}

TEST(SettingsKeyNames, PrefixUnderscoreKeyAndBetaSuffixAtTheVeryEnd)
{
    EXPECT_EQ(SettingsKeys::deviceKey("nimbrel", "ActiveVersion"), "nimbrel_ActiveVersion");
    EXPECT_EQ(SettingsKeys::deviceKey("big-red--box", "AvailableUpdateMD5", true), "big-red--box_AvailableUpdateMD5_beta");
}
