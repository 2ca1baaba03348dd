// The application's own update against the local server: the check after start-up, the about
// box's check, the offer, the download with its checks, and the installer's life.
#include "support/ServerApp.h"

#include "app/BuildInfo.h"
#include "app/ProcessLauncher.h"
#include "update/DownloadChecks.h"

namespace
{
const juce::String kServerApp = "v1.05.000.0.master.20240305180000";
const juce::String kAppInfo = "HVPlatformUpdater.win.update";
}

class AppSelfUpdateTest : public ServerAppTest
{
protected:
    bool hasAppNotification() const
    {
        for (const auto& n : t->app->notifications())
            if (n.key == "APP_UPDATE")
                return true;
        return false;
    }

    const UpdateTree::Published& installer() const { return *tree.find(UpdateTree::kApplication, false); }

    // Clicks the offer's "Update" and runs the download until it ends one way or the other.
    void acceptAndDownload()
    {
        t->dialogs.answer(1);
        ASSERT_TRUE(t->app->OfferAppUpdate());
        EXPECT_EQ(t->app->state(), COMM_DOWNLOAD_APP_UPDATE);
        ASSERT_TRUE(tickUntil([this] { return t->app->IsQuitRequested() || t->app->state() == COMM_STATE_ERROR; }));
    }

    const ScriptedDialogs::Shown& lastAlert() const { return t->dialogs.shown().back(); }
};

TEST_F(AppSelfUpdateTest, UpToDateIsSilentAfterStartUpAndSaidSoFromTheAboutBox)
{
    spec.appVersion = BuildInfo::appBuildString();
    startApp();
    ASSERT_TRUE(startUpChecksDone());
    EXPECT_FALSE(hasAppNotification());
    EXPECT_TRUE(t->dialogs.shown().empty());
    EXPECT_EQ(t->app->settings()->getValue("updateAppVersion"), VersionInfo(BuildInfo::appBuildString()).toString());

    t->dialogs.answer(2);  // About: "Check for Updates"
    t->app->AboutPopupAlert();
    EXPECT_TRUE(t->app->IsAppCheckRunning());
    EXPECT_TRUE(t->app->IsProgressShowing());
    ASSERT_TRUE(startUpChecksDone());
    EXPECT_FALSE(t->app->IsProgressShowing());
    EXPECT_EQ(lastAlert().title, "App is up to date");
    EXPECT_EQ(lastAlert().message, "Congratulations! Your App is up to date!");
    EXPECT_TRUE(t->app->debugLines().contains("[Alert: App Is Up to date]"));
}

TEST_F(AppSelfUpdateTest, NewerVersionLeavesAGreyNotificationAndTheStoredRecord)
{
    startApp();
    ASSERT_TRUE(startUpChecksDone());
    ASSERT_TRUE(hasAppNotification());
    const auto& note = t->app->notifications()[0];
    EXPECT_EQ(t->app->notificationButton(note.button)->getButtonText(), "An application update is available (" + kServerApp + ")");
    EXPECT_EQ(note.colour, 0xFFBFBFBFu);

    auto* settings = t->app->settings();
    EXPECT_EQ(settings->getValue("updateAppVersion"), kServerApp);
    EXPECT_EQ(settings->getValue("updateAppFile"), installer().file);
    EXPECT_EQ(settings->getIntValue("updateAppSize"), installer().size);
    EXPECT_EQ(settings->getValue("updateAppMD5"), installer().md5);
    EXPECT_EQ(settings->getValue("updateAppChangeLog"), "1");
    EXPECT_EQ(settings->getValue("uab"), "0");
}

TEST_F(AppSelfUpdateTest, TestSettingShowsTheNotificationEvenForTheRunningVersion)
{
    spec.appVersion = BuildInfo::appBuildString();
    startApp([](auto& file) { file.setValue("testAppUpdate", true); });
    ASSERT_TRUE(startUpChecksDone());
    EXPECT_TRUE(hasAppNotification());
}

TEST_F(AppSelfUpdateTest, SkippedVersionRaisesNoNotification)
{
    startApp([](auto& file) { file.setValue("IgnoredUpdateAPP", kServerApp); });
    ASSERT_TRUE(startUpChecksDone());
    EXPECT_FALSE(hasAppNotification());
}

TEST_F(AppSelfUpdateTest, HostileInstallerNameIsRefusedLikeAWrongHeader)
{
    tree = UpdateTree::write(root, spec);
    writeRelease(kAppInfo, "[HVPlatformUpdater Update]\r\n" + kServerApp + "\r\nFile:../../.bashrc\r\nSize:10\r\nMD5:"
                               + installer().md5 + "\r\n");
    startApp();
    ASSERT_TRUE(startUpChecksDone());
    EXPECT_FALSE(hasAppNotification());
    EXPECT_EQ(t->app->settings()->getValue("updateAppFile"), "");
    EXPECT_EQ(t->app->settings()->getValue("updateAppVersion"), VersionInfo::kUnknown);
    EXPECT_FALSE(requestLines().contains("POST /halvane/HVPlatformUpdater.changelog"));
    EXPECT_TRUE(t->logText().contains("Refused installer name: ../../.bashrc"));
}

TEST_F(AppSelfUpdateTest, VerifiedInstallerIsSavedAndStartedAtExitThenDeletedAtTheNextStart)
{
    startApp();
    ASSERT_TRUE(startUpChecksDone());
    acceptAndDownload();
    ASSERT_TRUE(t->app->IsQuitRequested());

    const auto saved = t->app->userDirectory().getChildFile("Updates").getChildFile(installer().file);
    EXPECT_EQ(fileBytes(saved), fileBytes(root.getChildFile("halvane").getChildFile(installer().file)));
    EXPECT_EQ(AppCommon::s_installerToLaunch, saved);
    EXPECT_EQ(t->app->settings()->getValue("installer"), saved.getFullPathName());
    EXPECT_TRUE(t->app->settings()->getValue("lastAppUpdate").matchesWildcard("????.??.?? ??.??.??", false));
    EXPECT_EQ(lastAlert().title, "Halvane Update Tool - update ready");
    EXPECT_EQ(lastAlert().message, "Version " + kServerApp + " will now be installed.");
    EXPECT_EQ(requestLines().strings.getLast(), "POST /halvane/" + installer().file);

    t->app->settings()->saveIfNeeded();
    closeApp();
    AppCommon::s_installerToLaunch = juce::File();
    startApp();
    EXPECT_FALSE(saved.exists());
    EXPECT_FALSE(t->app->settings()->containsKey("installer"));
    ASSERT_TRUE(startUpChecksDone());
}

TEST_F(AppSelfUpdateTest, WrongDigestShowsTheChecksumAlertAndStays)
{
    server->setFault(releasePath(kAppInfo), UpdateServer::Fault::wrongDigest());
    startApp();
    ASSERT_TRUE(startUpChecksDone());
    acceptAndDownload();

    EXPECT_FALSE(t->app->IsQuitRequested());
    EXPECT_EQ(AppCommon::s_installerToLaunch, juce::File());
    EXPECT_EQ(lastAlert().title, "Update error");
    const auto digest = DownloadChecks::Md5Hex([this] {
        juce::MemoryBlock data;
        root.getChildFile("halvane").getChildFile(installer().file).loadFileAsData(data);
        return data;
    }());
    EXPECT_EQ(lastAlert().message, "An error was encounter while attempting to update this application.\r\n\r\n"
                                   "Update file checksum failed:\r\n  Expected: "
                                       + t->app->appUpdateRecord().md5 + "\r\n  Calculated: " + digest);
    EXPECT_TRUE(t->app->debugLines().contains("<RED>Checksum mismatch!"));
    EXPECT_FALSE(t->app->userDirectory().getChildFile("Updates").exists());
    ASSERT_TRUE(tickUntil([this] { return t->app->state() == COMM_STATE_IDLE; }));
    EXPECT_TRUE(hasAppNotification());  // the user can try again
}

TEST_F(AppSelfUpdateTest, ServerErrorOnTheInstallerShowsStatusAdviceAndTheServersText)
{
    startApp();
    ASSERT_TRUE(startUpChecksDone());
    const auto body = juce::String::repeatedString("maintenance ", 60);
    server->setFault(releasePath(installer().file), UpdateServer::Fault::status(500, body));
    acceptAndDownload();

    const auto message = "An error was received from the update server (500).\r\nPlease try again later.\r\n\r\n" + body;
    EXPECT_EQ(lastAlert().title, "An error has occurred");
    EXPECT_EQ(lastAlert().message, message.substring(0, 512) + "\r\n");
    t->tick(5);
    EXPECT_TRUE(statusShown("Error: " + message));
}

TEST_F(AppSelfUpdateTest, ChangelogButtonShowsTheCachedChangelogAndItsCancelCancels)
{
    startApp();
    ASSERT_TRUE(startUpChecksDone());
    t->dialogs.answer(2);
    t->dialogs.answer(0);
    EXPECT_FALSE(t->app->OfferAppUpdate());
    ASSERT_EQ(t->dialogs.shown().size(), 2u);
    EXPECT_EQ(t->dialogs.shown()[0].message, "A new version of the Halvane Update Tool is available.\r\n(" + kServerApp
                                                 + ")\r\n\r\nClick Update to download and install now.");
    EXPECT_EQ(lastAlert().componentTexts[0],
              root.getChildFile("halvane/HVPlatformUpdater.changelog").loadFileAsString().replace("\r\n", "\n"));
    EXPECT_NE(t->app->state(), COMM_DOWNLOAD_APP_UPDATE);
    EXPECT_TRUE(hasAppNotification());
}
