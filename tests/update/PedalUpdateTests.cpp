// Preparing a connected pedal's update against the local server: the answers to the
// update-information request and the checks of the downloaded image.
#include "support/ServerApp.h"

#include "diagnostics/EventReporter.h"
#include "update/DownloadChecks.h"
#include "update/ServerErrorText.h"
#include "update/StatusCodeText.h"

namespace
{
constexpr const char* kOldNimbrel = "v1.04.5.0.UNDEF.0";
const juce::String kServerNimbrel = "v1.05.000.0.master.20240301120000";
}

class PedalUpdateTest : public ServerAppTest
{
protected:
    // Connected, with the background check's values forgotten, so that an update asks the
    // server again (changelog, then update information).
    void connectAndForget(const std::string& version = kOldNimbrel)
    {
        startApp();
        connectPedal(1, version);
        t->app->ClearAvailableUpdate(1);
        server->clearRequests();
    }

    void updateUntilIdle()
    {
        t->app->GetUpdate(1, false);
        ASSERT_TRUE(tickUntil([this] { return t->app->state() == COMM_STATE_ERROR || t->app->state() == COMM_GET_UPDATE_INFO; }));
        ASSERT_TRUE(tickUntil([this] { return t->app->state() == COMM_STATE_IDLE; }));
    }

    const ScriptedDialogs::Shown* lastAlert() const
    {
        return t->dialogs.shown().empty() ? nullptr : &t->dialogs.shown().back();
    }

    // Accepts the offer made from the background check's values and runs the download.
    void acceptOfferAndDownload()
    {
        t->dialogs.answer(1);
        t->app->GetUpdate(1, false);
        ASSERT_TRUE(tickUntil([this] {
            const int s = t->app->state();
            return s == COMM_LOAD_BIN_FILE || s == COMM_STATE_ERROR;
        }));
    }

    juce::String infoText(const juce::String& sizeLine, const juce::String& md5Line) const
    {
        const auto* published = tree.find(1, false);
        return "[Nimbrel Update]\r\n" + published->version + "\r\nFile:" + published->file + "\r\n" + sizeLine + "\r\n"
               + md5Line + "\r\nEOF\r\n";
    }
};

TEST_F(PedalUpdateTest, EmptyAnswerMeansNoServer)
{
    connectAndForget();
    writeRelease("nimbrel.update", "");
    updateUntilIdle();
    EXPECT_EQ(requestLines(), juce::StringArray({ "POST /halvane/nimbrel.changelog", "POST /halvane/nimbrel.update" }));
    EXPECT_TRUE(statusShown("Error: Unable to connect to update server."));
    EXPECT_TRUE(t->dialogs.shown().empty());
}

TEST_F(PedalUpdateTest, NotFoundOnBetaAsksReleaseOnceThenReportsAndLeavesBetaOff)
{
    connectAndForget();
    t->app->SetBetaChannel(true);
    server->setFault(betaPath("nimbrel.update"), UpdateServer::Fault::status(404));
    server->setFault(releasePath("nimbrel.update"), UpdateServer::Fault::status(404));
    updateUntilIdle();

    EXPECT_EQ(requestLines(), juce::StringArray({ "POST /halvane/betaCode/nimbrel.changelog",
                                                  "POST /halvane/betaCode/nimbrel.update", "POST /halvane/nimbrel.changelog",
                                                  "POST /halvane/nimbrel.update" }));
    EXPECT_FALSE(t->app->GetBetaChannel());
    ASSERT_EQ(t->dialogs.shown().size(), 1u);
    EXPECT_EQ(lastAlert()->title, "An error has occurred");
    EXPECT_EQ(lastAlert()->message,
              "An error was received from the update server (404 - File Not Found).\r\nPlease try again later.");
    EXPECT_TRUE(t->app->debugLines().contains("<RED>404 - File Not Found"));
    EXPECT_TRUE(statusShown("Error: Please try again later."));
}

TEST_F(PedalUpdateTest, OldVersionAnswerShowsTheServersMessage)
{
    connectAndForget();
    server->setFault(releasePath("nimbrel.update"), UpdateServer::Fault::oldVersion("Please update the tool first.\r\nThanks."));
    updateUntilIdle();
    ASSERT_EQ(t->dialogs.shown().size(), 1u);
    EXPECT_EQ(lastAlert()->title, "Error");
    EXPECT_EQ(lastAlert()->message, "Please update the tool first.\r\nThanks.");
    EXPECT_TRUE(statusShown("Error: Please update the tool first.\r\nThanks."));
    EXPECT_TRUE(t->logText().contains("header:[Old Version]"));
}

TEST_F(PedalUpdateTest, OtherTextAndTextCutBeforeEofAreUnintelligible)
{
    connectAndForget();
    server->setFault(releasePath("nimbrel.update"), UpdateServer::Fault::status(200, "<html>maintenance</html>"));
    updateUntilIdle();
    server->clearFaults();
    writeRelease("nimbrel.update", "[Nimbrel Update]\r\n" + kServerNimbrel + "\r\nFile:nimbrel_v1.05.bin\r\nSize:66");
    updateUntilIdle();

    EXPECT_TRUE(t->dialogs.shown().empty());  // no offer from a file that may be cut short
    int reports = 0;
    for (const auto& line : t->app->statusLines())
        reports += line == "Error: Unintelligible response from server." ? 1 : 0;
    EXPECT_EQ(reports, 2);
}

TEST_F(PedalUpdateTest, ServerErrorShowsItsFirst512Characters)
{
    connectAndForget();
    const auto body = juce::String::repeatedString("0123456789", 60);
    server->setFault(releasePath("nimbrel.update"), UpdateServer::Fault::status(500, body));
    updateUntilIdle();

    const auto message = "An error was received from the update server (500).\r\nPlease try again later.\r\n\r\n" + body;
    ASSERT_EQ(t->dialogs.shown().size(), 1u);
    EXPECT_EQ(lastAlert()->title, "An error has occurred");
    EXPECT_EQ(lastAlert()->message, message.substring(0, 512) + "\r\n");
    EXPECT_TRUE(statusShown("Error: " + message));
    EXPECT_TRUE(t->logText().contains(body));
}

TEST_F(PedalUpdateTest, CurrentPedalIsUpToDateWithoutAnyAlert)
{
    connectAndForget("v1.05.0.0.UNDEF.0");
    updateUntilIdle();
    EXPECT_TRUE(t->dialogs.shown().empty());
    EXPECT_TRUE(statusShown("Device is up to date."));
    EXPECT_TRUE(t->app->debugLines().contains("<BLUE>" + kServerNimbrel));
}

TEST_F(PedalUpdateTest, OfferCarriesTheFetchedChangelogAndCachesIt)
{
    connectAndForget();
    t->dialogs.answer(2);  // View Changelog
    t->dialogs.answer(0);  // then Cancel
    updateUntilIdle();

    ASSERT_EQ(t->dialogs.shown().size(), 2u);
    const auto& offer = t->dialogs.shown()[0];
    EXPECT_EQ(offer.title, "Firmware update available");
    EXPECT_EQ(offer.message, "A new version is available.\r\n(" + kServerNimbrel + ")\r\n\r\nUpdate now?");
    ASSERT_EQ(offer.buttons.size(), 3u);
    EXPECT_EQ(offer.buttons[1].text, "View Changelog");

    const auto changelog = root.getChildFile("halvane/nimbrel.changelog").loadFileAsString();
    const auto& window = t->dialogs.shown()[1];
    EXPECT_EQ(window.message, kServerNimbrel);
    EXPECT_EQ(window.bounds, juce::Rectangle<int>(20, 20, 536, 440));
    ASSERT_EQ(window.componentTexts.size(), 2);
    EXPECT_EQ(window.componentTexts[0], changelog.replace("\r\n", "\n"));  // the text box keeps plain line feeds
    EXPECT_EQ(window.componentTexts[1], " ");
    EXPECT_EQ(t->app->LoadChangelog(1, kServerNimbrel, {}), changelog);
    EXPECT_TRUE(t->logText().contains(" - CANCEL"));
}

// ---- The image download ----

TEST_F(PedalUpdateTest, VerifiedImageGoesOnToLoadingAndIsSavedOnRequest)
{
    startApp();
    connectPedal(1, kOldNimbrel);
    t->app->SetSaveImage(true);
    acceptOfferAndDownload();
    EXPECT_EQ(t->app->state(), COMM_LOAD_BIN_FILE);
    EXPECT_TRUE(t->app->isImageReady());

    const auto* published = tree.find(1, false);
    const auto served = root.getChildFile("halvane").getChildFile(published->file);
    EXPECT_EQ(fileBytes(home.folder().getChildFile("tessel_update.bin")), fileBytes(served));
    EXPECT_TRUE(t->app->debugLines().contains("<RED>Saved."));
    EXPECT_TRUE(t->logText().contains("  " + juce::String(published->size) + " bytes"));
    EXPECT_EQ(t->pedal->receivedCommands().back(), "GetPng");  // nothing sent to the pedal yet
}

TEST_F(PedalUpdateTest, MissingImageReportsTheStatusAndForgetsTheStoredUpdate)
{
    startApp();
    connectPedal(1, kOldNimbrel);
    const auto* published = tree.find(1, false);
    server->setFault(releasePath(published->file), UpdateServer::Fault::status(404, "gone"));
    acceptOfferAndDownload();

    ASSERT_EQ(t->dialogs.shown().size(), 2u);
    EXPECT_EQ(lastAlert()->title, "Unable to retrieve update file.");
    EXPECT_EQ(lastAlert()->message, ServerErrorText::ImageDownloadErrorMessage(404, "gone") + "\r\n");
    EXPECT_TRUE(lastAlert()->message.contains(StatusCodeText(404)));
    EXPECT_TRUE(t->app->availableUpdate(1).availableVersion.isZero());
    EXPECT_TRUE(t->app->settings()->getValue("nimbrel_AvailableUpdate").isEmpty());

    // The error state forgets the model's notification and checks the server again.
    t->tick(5);
    EXPECT_TRUE(statusShown("Error: Unable to retrieve update file."));
    EXPECT_TRUE(t->app->IsFirmwareCheckRunning());
    ASSERT_TRUE(startUpChecksDone());
}

TEST_F(PedalUpdateTest, SizeAndDigestFaultsStopTheUpdate)
{
    using Published = UpdateTree::Published;
    struct Case
    {
        const char* name;
        std::function<void(const Published&)> fault;
        std::function<juce::String(const Published&)> details;
    };
    const std::vector<Case> cases = {
        { "size one more than served",
          [this](const Published&) { server->setFault(releasePath("nimbrel.update"), UpdateServer::Fault::wrongSize()); },
          [](const Published& p) {
              return "Update file did not download correctly:\r\n  Expected: " + juce::String(p.size + 1)
                     + " bytes\r\n  Received: " + juce::String(p.size) + " bytes";
          } },
        { "blank after MD5:",
          [this](const Published& p) { writeRelease("nimbrel.update", infoText("Size:" + juce::String(p.size), "MD5: " + p.md5)); },
          [](const Published& p) { return "Update file checksum failed:\r\n  Expected:  " + p.md5 + "\r\n  Calculated: " + p.md5; } },
        { "MD5 in capitals",
          [this](const Published& p) {
              writeRelease("nimbrel.update", infoText("Size:" + juce::String(p.size), "MD5:" + p.md5.toUpperCase()));
          },
          [](const Published& p) {
              return "Update file checksum failed:\r\n  Expected: " + p.md5.toUpperCase() + "\r\n  Calculated: " + p.md5;
          } },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        tree = UpdateTree::write(root, spec);
        const auto published = *tree.find(1, false);
        c.fault(published);
        startApp();
        connectPedal(1, kOldNimbrel);
        acceptOfferAndDownload();

        EXPECT_EQ(t->app->state(), COMM_STATE_ERROR);
        EXPECT_FALSE(t->app->isImageReady());
        ASSERT_FALSE(t->dialogs.shown().empty());
        EXPECT_EQ(lastAlert()->title, "Update error");
        EXPECT_EQ(lastAlert()->message, "An error was encounter while attempting to update the device.\r\n\r\n"
                                            + c.details(published) + "\r\n");
        closeApp();
        server->clearFaults();
    }
}

TEST_F(PedalUpdateTest, SizeOfMinusOneSkipsTheSizeCheck)
{
    tree = UpdateTree::write(root, spec);
    const auto* image = tree.find(1, false);
    writeRelease("nimbrel.update", infoText("Size:-1", "MD5:" + image->md5));
    startApp();
    connectPedal(1, kOldNimbrel);
    EXPECT_EQ(t->app->availableUpdate(1).availableSize, -1);
    acceptOfferAndDownload();
    EXPECT_EQ(t->app->state(), COMM_LOAD_BIN_FILE);
}

// The download is given up after five minutes in its state; the answer that comes later must
// not land in the image block.
TEST_F(PedalUpdateTest, HangingDownloadIsGivenUpAndItsLateBytesAreDropped)
{
    startApp();
    connectPedal(1, kOldNimbrel);
    const auto* published = tree.find(1, false);
    server->setFault(releasePath(published->file), UpdateServer::Fault::delay(1500));
    t->dialogs.answer(1);
    t->app->GetUpdate(1, false);
    ASSERT_TRUE(tickUntil([this] { return t->app->state() == COMM_GET_UPDATE_DATA; }));
    t->ticks(2, 5);
    EXPECT_EQ(t->app->state(), COMM_GET_UPDATE_DATA);

    t->clock.advance(UrlRequestResult::kGiveUpMs);
    t->tick(5);
    EXPECT_EQ(t->app->state(), COMM_STATE_ERROR);
    t->tick(5);
    EXPECT_TRUE(statusShown("Error: Unable to retrieve update file."));

    ASSERT_TRUE(allWorkersGone());  // the late answer has come and gone
    EXPECT_EQ(t->app->downloadedImage().getSize(), 0u);
    EXPECT_FALSE(t->app->isImageReady());
}

// ---- Event reports ----

TEST_F(PedalUpdateTest, FirstConnectionOfAPedalIsReportedOnce)
{
    startApp();
    connectPedal(1, kOldNimbrel);
    const auto events = server->requestsTo(UpdateServer::kEventPath);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].method, "POST");

    EventReporter expected(server->eventReportUrl(), "nimbrel", getSystemParams(), false, false);
    EXPECT_EQ(events[0].body, expected.requestQuery(expected.eventParams("First time connect", "HV0000001",
                                                                         t->app->deviceVersion().toString())));
    EXPECT_EQ(events[0].header("Content-Type"), "application/x-www-form-urlencoded");
}
