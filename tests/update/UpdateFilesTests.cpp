#include "update/ChangelogCache.h"
#include "update/InstallerFile.h"

#include <gtest/gtest.h>

namespace
{
class UpdateFilesTest : public ::testing::Test
{
protected:
    void SetUp() override { userFolder.createDirectory(); }
    void TearDown() override { userFolder.deleteRecursively(); }

    juce::File userFolder = juce::File::getSpecialLocation(juce::File::tempDirectory).getChildFile("hv-user-files");
};

TEST_F(UpdateFilesTest, InstallerIsWrittenInsideTheUpdatesFolderReplacingAnOlderOne)
{
    const juce::MemoryBlock first("first", 5), second("2nd", 3);
    ASSERT_NE(InstallerFile::Save(userFolder, "HVPlatformUpdater_1.05.000_setup.exe", first), juce::File());
    const auto saved = InstallerFile::Save(userFolder, "HVPlatformUpdater_1.05.000_setup.exe", second);

    EXPECT_EQ(saved, userFolder.getChildFile("Updates/HVPlatformUpdater_1.05.000_setup.exe"));
    juce::MemoryBlock onDisk;
    saved.loadFileAsData(onDisk);
    EXPECT_EQ(onDisk, second);
}

TEST_F(UpdateFilesTest, ServerGivenInstallerNamesThatCouldLeaveTheFolderAreRefused)
{
    const juce::MemoryBlock data("x", 1);
    for (const juce::String name : { "../evil.exe", "..", "a/b.exe", "a\\b.exe", ".profile", "/tmp/evil.exe",
                                     "C:evil.exe", "", "tab\there.exe", "ok..exe" })
    {
        EXPECT_FALSE(InstallerFile::IsSafeName(name)) << name;
        EXPECT_EQ(InstallerFile::Save(userFolder, name, data), juce::File()) << name;
    }
    EXPECT_FALSE(userFolder.getParentDirectory().getChildFile("evil.exe").exists());
    EXPECT_EQ(userFolder.findChildFiles(juce::File::findFiles, true).size(), 0);
    EXPECT_TRUE(InstallerFile::UnsafeNameMessage("../x").endsWith("The update file name is not acceptable:\r\n  ../x"));
}

TEST_F(UpdateFilesTest, ChangelogsLiveInOneFolderPerModelAndOneForTheApplication)
{
    const ChangelogCache cache(userFolder);
    EXPECT_EQ(cache.changelogFile(2, "v1.02.003.0.master.1"),
              userFolder.getChildFile("ChangeLogs/Embervale/Changelog.v1.02.003.0.master.1.txt"));
    EXPECT_EQ(cache.changelogFile(-1, "v1.05"), userFolder.getChildFile("ChangeLogs/HVPlatformUpdater/Changelog.v1.05.txt"));
    EXPECT_EQ(cache.changelogFile(0, "v1.05"), cache.changelogFile(-1, "v1.05"));
    EXPECT_EQ(cache.changelogFile(4, "v1.05"), juce::File());
}

TEST_F(UpdateFilesTest, ChangelogSaveKeepsOrOverwritesAndWritesPlainUtf8)
{
    const ChangelogCache cache(userFolder);
    EXPECT_FALSE(cache.IsChangelogCached(1, "v1.05"));
    EXPECT_EQ(cache.LoadChangelog(1, "v1.05", "fallback"), "fallback");

    cache.SaveChangelog(1, "v1.05", juce::String::fromUTF8("Caf\xc3\xa9 fix\r\n"), false);
    cache.SaveChangelog(1, "v1.05", "ignored", false);
    EXPECT_TRUE(cache.IsChangelogCached(1, "v1.05"));
    juce::MemoryBlock bytes;
    cache.changelogFile(1, "v1.05").loadFileAsData(bytes);
    EXPECT_EQ(bytes, juce::MemoryBlock("Caf\xc3\xa9 fix\r\n", 11));

    cache.SaveChangelog(1, "v1.05", "replaced", true);
    EXPECT_EQ(cache.LoadChangelog(1, "v1.05", {}), "replaced");
}

TEST_F(UpdateFilesTest, VersionTextsThatWouldLeaveTheCacheFolderAreNeverUsed)
{
    const ChangelogCache cache(userFolder);
    for (const juce::String version : { "/../../../escaped", "a\\b", "", "c:x" })
    {
        cache.SaveChangelog(1, version, "text", true);
        EXPECT_FALSE(cache.IsChangelogCached(1, version)) << version;
        EXPECT_EQ(cache.LoadChangelog(1, version, "fallback"), "fallback");
    }
    EXPECT_EQ(userFolder.getParentDirectory().findChildFiles(juce::File::findFiles, false, "*escaped*").size(), 0);
    EXPECT_FALSE(userFolder.getChildFile("ChangeLogs").exists());
}
}
