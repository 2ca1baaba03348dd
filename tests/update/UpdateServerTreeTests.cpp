#include "support/LocalUpdateServer.h"

#include "update/AppUpdateInfo.h"
#include "update/DownloadChecks.h"
#include "update/KeyFileCheck.h"
#include "update/UpdateInfoParser.h"
#include "update/UpdateUrls.h"
#include "update/UrlFetch.h"

namespace
{
class UpdateServerTreeTest : public LocalUpdateServerTest
{
protected:
    UrlResponse post(const juce::String& url, bool binary = false)
    {
        return UrlFetch::fetch(juce::URL(url), UrlFetch::userAgentHeader(), true, binary);
    }

    std::array<DeviceRow, DeviceCatalogue::kDeviceCount> rows() const
    {
        return DeviceCatalogue::rows(server->releaseBaseUrl(), server->betaBaseUrl());
    }
};

TEST_F(UpdateServerTreeTest, EveryPedalRequestUrlFindsItsPublishedFileAndTheImagePassesItsChecks)
{
    const auto table = rows();
    for (int device = 1; device < DeviceCatalogue::kDeviceCount; ++device)
    {
        const auto& row = table[(size_t) device];
        const auto info = post(UpdateUrls::UpdateInfoUrl(row, false));
        ASSERT_EQ(info.statusCode, 200) << device;
        const auto update = UpdateInfo::ParseAvailableUpdate(info.body);
        ASSERT_TRUE(update.has_value()) << info.body;

        EXPECT_EQ(post(UpdateUrls::ChangelogUrl(row, false)).statusCode, 200);
        const auto reference = post(UpdateUrls::ReferenceUrl(device, row, true));
        EXPECT_EQ(reference.statusCode, 200);
        EXPECT_EQ(UrlFetch::fetch(juce::URL(reference.body), {}, false, false).statusCode, 200);

        const auto image = post(UpdateUrls::ImageUrl(row.baseUrl[0], update->file), true);
        EXPECT_FALSE(DownloadChecks::CheckFirmwareImage(image.data, update->size, update->md5).has_value());
    }
}

TEST_F(UpdateServerTreeTest, ApplicationFilesAreOnReleaseOnlyAndTheInstallerMatchesItsInfo)
{
    const auto bases = UpdateUrls::AppBaseUrls({ server->releaseBaseUrl(), server->betaBaseUrl(), {} });
    EXPECT_EQ(post(UpdateUrls::AppUpdateInfoUrl(bases[1])).statusCode, 404);

    const auto info = post(UpdateUrls::AppUpdateInfoUrl(bases[0]));
    ASSERT_TRUE(AppUpdateInfo::HasHeader(info.body));
    const auto record = AppUpdateInfo::ParseAppUpdateInfo(info.body);
    EXPECT_EQ(post(UpdateUrls::AppChangelogUrl(bases[0])).statusCode, 200);

    const auto installer = post(UpdateUrls::InstallerUrl(bases[0], record.file), true);
    EXPECT_FALSE(DownloadChecks::CheckInstaller(installer.data, record.size, record.md5).has_value());

    EXPECT_EQ(UpdateUrls::AppCheckChannel({ "", bases[1] }, 0), 1);
    EXPECT_EQ(UpdateUrls::AppCheckChannel(bases, 0), 0);
    EXPECT_EQ(UpdateUrls::RequestLogLine("http://x/y"), "URL request: http://x/y");
}

TEST_F(UpdateServerTreeTest, InjectedSizeAndDigestFaultsAreCaughtByTheImageChecks)
{
    const auto* published = tree.find(3, false);
    const auto table = rows();
    const auto& row = table[3];

    server->setFault(releasePath(row.updateFile), UpdateServer::Fault::wrongSize());
    auto update = UpdateInfo::ParseAvailableUpdate(post(UpdateUrls::UpdateInfoUrl(row, false)).body);
    ASSERT_TRUE(update.has_value());
    EXPECT_EQ(update->size, published->size + 1);
    auto image = post(UpdateUrls::ImageUrl(row.baseUrl[0], update->file), true);
    const auto sizeFailure = DownloadChecks::CheckFirmwareImage(image.data, update->size, update->md5);
    ASSERT_TRUE(sizeFailure.has_value());
    EXPECT_TRUE(sizeFailure->message.contains("did not download"));

    server->setFault(releasePath(row.updateFile), UpdateServer::Fault::wrongDigest());
    update = UpdateInfo::ParseAvailableUpdate(post(UpdateUrls::UpdateInfoUrl(row, false)).body);
    ASSERT_TRUE(update.has_value());
    EXPECT_NE(update->md5, published->md5);
    const auto failure = DownloadChecks::CheckFirmwareImage(image.data, update->size, update->md5);
    ASSERT_TRUE(failure.has_value());
    EXPECT_TRUE(failure->message.endsWith("  Calculated: " + published->md5));
}

TEST_F(UpdateServerTreeTest, KeyFilesOpenOnlyWithAMatchingNonEmptyKeyFromTheServer)
{
    const auto userFolder = root.getChildFile("user");
    userFolder.createDirectory();
    const auto local = userFolder.getChildFile(UpdateUrls::kBetaKeyFile);
    const auto url = UpdateUrls::KeyFileUrl(server->betaBaseUrl(), UpdateUrls::kBetaKeyFile);

    local.replaceWithText("  hv-beta-19d2aa\n");
    EXPECT_TRUE(KeyFileCheck::IsAccepted(local, url));
    EXPECT_TRUE(KeyFileCheck::AnyAccepted(UpdateUrls::kBetaKeyFile, userFolder, server->betaBaseUrl()));
    EXPECT_EQ(server->requestsTo(betaPath(UpdateUrls::kBetaKeyFile)).back().method, "POST");

    local.replaceWithText("someone-elses-key");
    EXPECT_FALSE(KeyFileCheck::IsAccepted(local, url));

    // An error page never opens a key, even one whose text happens to match.
    local.replaceWithText("404 Not Found");
    EXPECT_FALSE(KeyFileCheck::IsAccepted(local, UpdateUrls::KeyFileUrl(server->betaBaseUrl(), "absent.txt")));

    // An empty key file and an unreachable server are two empty texts, and must not count.
    local.replaceWithText("");
    EXPECT_FALSE(KeyFileCheck::IsAccepted(local, unreachableUrl()));
    EXPECT_FALSE(KeyFileCheck::IsAccepted(userFolder.getChildFile("none.txt"), url));
}
}
