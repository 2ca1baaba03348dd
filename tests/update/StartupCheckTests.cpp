// The server requests after start-up, on the wire: the application's own update first, then
// each model's update file, changelog, reference file and documentation probe.
#include "support/ServerApp.h"

#include "app/BuildInfo.h"
#include "app/HomeFolder.h"
#include "update/UpdateUrls.h"

namespace
{
const juce::String kUserAgent = "Halvane.UpdateTool.v1.04.011.0";

juce::StringArray modelRequests(const juce::String& updateFile, const juce::String& changelogFile,
                                const juce::String& refFile, const juce::String& page, bool withChangelog)
{
    juce::StringArray lines { "POST /halvane/" + updateFile };
    if (withChangelog)
        lines.add("POST /halvane/" + changelogFile);
    lines.add("POST /halvane/" + refFile);
    lines.add("GET /docs/" + page);
    return lines;
}

juce::StringArray startUpRequests(bool withChangelogs)
{
    juce::StringArray lines { "POST /halvane/HVPlatformUpdater.win.update" };
    if (withChangelogs)
        lines.add("POST /halvane/HVPlatformUpdater.changelog");
    lines.addArray(modelRequests("nimbrel.update", "nimbrel.changelog", "nimbrel.ref", "nimbrel.html", withChangelogs));
    lines.addArray(modelRequests("hv_rvb.update", "hv_rvb.changelog", "embervale.ref", "embervale.html", withChangelogs));
    lines.addArray(modelRequests("hv_DelayVerb.update", "hv_DelayVerb.changelog", "nightcrest.ref", "nightcrest.html",
                                 withChangelogs));
    return lines;
}

void knowNimbrelAt(juce::PropertiesFile& file, const juce::String& version)
{
    file.setValue("nimbrel_ActiveSerial", "HV0000001");
    file.setValue("nimbrel_ActiveVersion", version);
}
}

class StartupCheckTest : public ServerAppTest
{
};

TEST_F(StartupCheckTest, ApplicationFirstThenEveryModelInOrderEachWithTheUserAgent)
{
    startApp([](auto& file) { knowNimbrelAt(file, "v1.04.011.0.master.20210101000000"); });
    ASSERT_TRUE(startUpChecksDone());

    EXPECT_EQ(requestLines(), startUpRequests(true));
    for (const auto& request : server->requests())
    {
        EXPECT_EQ(request.header("User-Agent"), kUserAgent) << request.path;
        EXPECT_EQ(request.headerCount("User-Agent"), 1) << request.path;
    }

    // Notifications come at the end: the application's, then the one known model that is behind.
    const auto& notes = t->app->notifications();
    ASSERT_EQ(notes.size(), 2u);
    EXPECT_EQ(notes[0].key, "APP_UPDATE");
    EXPECT_EQ(notes[1].key, "NIMBREL_UPDATE");
    EXPECT_EQ(t->app->notificationButton(notes[1].button)->getButtonText(),
              "Nimbrel firmware update available (v1.05.000.0.master.20240301120000)");

    const auto* embervale = tree.find(2, false);
    EXPECT_EQ(t->app->availableUpdate(2).availableVersion.toString(), VersionInfo(embervale->version).toString());
    EXPECT_EQ(t->app->availableUpdate(2).availableSize, embervale->size);
    EXPECT_EQ(t->app->availableUpdate(2).availableMD5, embervale->md5);
    EXPECT_EQ(t->app->availableUpdate(2).docUrl, server->baseUrl() + "docs/embervale.html");
    EXPECT_EQ(t->app->settings()->getIntValue("embervale_AvailableUpdateSize"), embervale->size);
    EXPECT_TRUE(t->app->settings()->getValue("embervale_AvailableUpdate_beta").isEmpty());
}

TEST_F(StartupCheckTest, SecondStartTakesChangelogsFromTheCache)
{
    startApp();
    ASSERT_TRUE(startUpChecksDone());
    closeApp();
    server->clearRequests();

    startApp();
    ASSERT_TRUE(startUpChecksDone());
    EXPECT_EQ(requestLines(), startUpRequests(false));
    EXPECT_TRUE(t->logText().contains("Nimbrel changelog is cached: v1.05.000.0.master.20240301120000"));
    EXPECT_TRUE(t->logText().contains("App changelog is cached: v1.05.000.0.master.20240305180000"));
}

TEST_F(StartupCheckTest, AModelNotKnownHereOrAlreadyCurrentRaisesNoNotification)
{
    spec.appVersion = BuildInfo::appBuildString();
    startApp([](auto& file) { knowNimbrelAt(file, "v1.05.000.0.master.20240301120000"); });
    ASSERT_TRUE(startUpChecksDone());
    EXPECT_TRUE(t->app->notifications().empty());
}

TEST_F(StartupCheckTest, BetaKeyFileTurnsTheChannelOnAndTheApplicationFallsBackToRelease)
{
    HomeFolder::halvane().createDirectory();
    HomeFolder::halvane().getChildFile(UpdateUrls::kBetaKeyFile).replaceWithText(spec.betaKey + "\n");
    startApp();
    ASSERT_TRUE(startUpChecksDone());
    EXPECT_TRUE(t->app->GetBetaChannel());
    EXPECT_FALSE(t->app->debugKey());

    const auto lines = requestLines();
    ASSERT_GE(lines.size(), 4);
    EXPECT_EQ(lines[0], "POST /halvane/betaCode/nimbrelBeta.txt");
    EXPECT_EQ(lines[1], "POST /halvane/betaCode/HVPlatformUpdater.win.update");  // 404 there
    EXPECT_EQ(lines[2], "POST /halvane/HVPlatformUpdater.win.update");
    EXPECT_EQ(lines[3], "POST /halvane/HVPlatformUpdater.changelog");
    EXPECT_TRUE(lines.contains("POST /halvane/betaCode/nimbrel.update"));
    EXPECT_EQ(t->app->appUpdateChannelIndex(), 0);  // the download will use the release server

    const auto* beta = tree.find(1, true);
    EXPECT_EQ(t->app->settings()->getValue("nimbrel_AvailableUpdate_beta"), VersionInfo(beta->version).toString());
    EXPECT_TRUE(t->app->settings()->getValue("nimbrel_AvailableUpdate").isEmpty());
    EXPECT_TRUE(t->logText().contains("Keys: beta"));
}

TEST_F(StartupCheckTest, AWrongKeyLeavesBothChannelsClosed)
{
    HomeFolder::halvane().createDirectory();
    HomeFolder::halvane().getChildFile(UpdateUrls::kDebugKeyFile).replaceWithText("guess");
    startApp();
    EXPECT_FALSE(t->app->debugKey());
    EXPECT_FALSE(t->app->GetBetaChannel());
    EXPECT_EQ(requestLines()[0], "POST /halvane/betaCode/nimbrelDebug.txt");
    ASSERT_TRUE(startUpChecksDone());
}

// A request that hangs is given up after five minutes; its late answer must not be taken for
// the next model's, which is asked on the same record.
TEST_F(StartupCheckTest, HangingRequestIsGivenUpAfterFiveMinutesAndItsLateAnswerIsDropped)
{
    server->setFault(releasePath("nimbrel.update"), UpdateServer::Fault::delay(1500));
    server->setFault(releasePath("hv_rvb.update"), UpdateServer::Fault::delay(3000));
    startApp();
    ASSERT_TRUE(tickUntil([this] { return requestLines().contains("POST /halvane/nimbrel.update"); }));
    t->ticks(3, 5);
    EXPECT_TRUE(t->app->IsFirmwareCheckRunning());
    EXPECT_FALSE(t->logText().contains("URL REQUEST TIMEOUT"));

    t->clock.advance(UrlRequestResult::kGiveUpMs);
    t->tick(5);
    EXPECT_TRUE(t->logText().contains("URL REQUEST TIMEOUT MainComponent::CheckAllActiveFirmwareAvailable:1\n"));

    ASSERT_TRUE(startUpChecksDone());
    EXPECT_TRUE(t->app->availableUpdate(1).availableVersion.isZero());
    EXPECT_EQ(t->app->availableUpdate(2).availableVersion.toString(), VersionInfo(tree.find(2, false)->version).toString());
    EXPECT_EQ(t->app->availableUpdate(3).availableVersion.toString(), VersionInfo(tree.find(3, false)->version).toString());
}
