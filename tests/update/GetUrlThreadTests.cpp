#include "support/LocalUpdateServer.h"

#include "update/DownloadChecks.h"
#include "update/GetUrlThread.h"

namespace
{
class GetUrlThreadTest : public LocalUpdateServerTest
{
protected:
    // Starts one worker and waits (running the message loop) for its answer.
    void fetch(const juce::String& url, bool usePost, juce::MemoryBlock* destination = nullptr)
    {
        GetUrlThread::start(url, UrlFetch::userAgentHeader(), &result, destination, usePost);
        ASSERT_TRUE(pumpUntil([this] { return result.isDone(); }));
        ASSERT_TRUE(result.takeIfDone());
    }

    UrlRequestResult result;
};

TEST_F(GetUrlThreadTest, PostCarriesExactlyTheUserAgentLineAndGetsTheText)
{
    fetch(releaseUrl("nimbrel.update"), true);

    EXPECT_TRUE(result.opened);
    EXPECT_EQ(result.statusCode, 200);
    EXPECT_TRUE(result.body.startsWith("[Nimbrel Update]\r\nv1.05.000.0.master.20240301120000\r\nFile:"));

    const auto seen = server->requestsTo(releasePath("nimbrel.update"));
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].method, "POST");
    EXPECT_EQ(seen[0].header("User-Agent"), "Halvane.UpdateTool.v1.04.011.0");
    EXPECT_EQ(seen[0].headerCount("User-Agent"), 1);
    EXPECT_EQ(seen[0].body, "");
}

TEST_F(GetUrlThreadTest, GetIsSentAsGetWithTheSameUserAgent)
{
    fetch(server->baseUrl() + "docs/nimbrel.html", false);

    EXPECT_EQ(result.statusCode, 200);
    EXPECT_TRUE(result.body.contains("Nimbrel manual"));
    const auto seen = server->requestsTo("/docs/nimbrel.html");
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].method, "GET");
    EXPECT_EQ(seen[0].header("User-Agent"), "Halvane.UpdateTool.v1.04.011.0");
}

TEST_F(GetUrlThreadTest, WorkerIsCountedWhileAliveAndGoneSoonAfterItsAnswer)
{
    const int before = AppCommon::s_liveUtilityThreads;
    GetUrlThread::start(releaseUrl("nimbrel.changelog"), UrlFetch::userAgentHeader(), &result, nullptr, true);
    EXPECT_EQ(AppCommon::s_liveUtilityThreads, before + 1);

    ASSERT_TRUE(pumpUntil([this] { return result.isDone(); }));
    const auto answered = juce::Time::getMillisecondCounter();
    ASSERT_TRUE(allWorkersGone());
    EXPECT_LT(juce::Time::getMillisecondCounter() - answered, 1000u);
    EXPECT_EQ(AppCommon::s_liveUtilityThreads, before);
}

TEST_F(GetUrlThreadTest, BinaryDestinationReceivesTheBytesOnlyOn200)
{
    const auto* image = tree.find(1, false);
    ASSERT_NE(image, nullptr);
    juce::MemoryBlock destination("stale", 5);

    fetch(releaseUrl(image->file), true, &destination);
    EXPECT_EQ(result.statusCode, 200);
    EXPECT_TRUE(result.body.isEmpty());
    EXPECT_EQ((int) destination.getSize(), image->size);
    EXPECT_EQ(DownloadChecks::Md5Hex(destination), image->md5);

    // A missing file: the block is emptied and the error page goes to the body instead.
    fetch(releaseUrl("missing.bin"), true, &destination);
    EXPECT_TRUE(result.opened);
    EXPECT_EQ(result.statusCode, 404);
    EXPECT_EQ(result.body, "404 Not Found");
    EXPECT_EQ(destination.getSize(), 0u);
}

TEST_F(GetUrlThreadTest, ServerErrorsAreCapturedWithTheirStatusAndText)
{
    server->setFault(releasePath("hv_rvb.update"), UpdateServer::Fault::status(500, "database on fire"));
    fetch(releaseUrl("hv_rvb.update"), true);
    EXPECT_TRUE(result.opened);
    EXPECT_EQ(result.statusCode, 500);
    EXPECT_EQ(result.body, "database on fire");

    server->setFault(releasePath("hv_rvb.update"), UpdateServer::Fault::oldVersion("Please update the app first."));
    fetch(releaseUrl("hv_rvb.update"), true);
    EXPECT_EQ(result.statusCode, 200);
    EXPECT_EQ(result.body, "[Old Version]\r\nPlease update the app first.");
}

TEST_F(GetUrlThreadTest, UnreachableHostGivesNoStreamAndTheFixedText)
{
    result.opened = true;
    fetch(unreachableUrl(), true);
    EXPECT_FALSE(result.opened);
    EXPECT_EQ(result.body, "Error: unable to open URL stream.");
}

TEST_F(GetUrlThreadTest, FiveRedirectsAreFollowedButNotASixth)
{
    const auto chain = [this](const juce::String& name, int hops) {
        for (int hop = 1; hop <= hops; ++hop)
        {
            const auto next = hop == hops ? releasePath("nimbrel.ref") : "/" + name + juce::String(hop + 1);
            server->setFault("/" + name + juce::String(hop), UpdateServer::Fault::redirect(next));
        }
    };
    chain("five", 5);
    chain("six", 6);

    fetch(server->baseUrl() + "five1", true);
    EXPECT_EQ(result.statusCode, 200);
    EXPECT_EQ(result.body, server->baseUrl() + "docs/nimbrel.html");

    server->clearRequests();
    fetch(server->baseUrl() + "six1", true);
    EXPECT_NE(result.statusCode, 200);
    EXPECT_FALSE(result.opened);
    EXPECT_EQ(result.body, "Error: unable to open URL stream.");
    EXPECT_EQ(server->requestsTo("/six6").size(), 1u);
    EXPECT_TRUE(server->requestsTo(releasePath("nimbrel.ref")).empty());
}

TEST_F(GetUrlThreadTest, TruncatedImageArrivesShortAndFailsTheSizeCheck)
{
    const auto* image = tree.find(2, false);
    server->setFault(releasePath(image->file), UpdateServer::Fault::truncate());
    juce::MemoryBlock destination;

    fetch(releaseUrl(image->file), true, &destination);
    EXPECT_EQ(result.statusCode, 200);
    EXPECT_LT((int) destination.getSize(), image->size);

    const auto failure = DownloadChecks::CheckFirmwareImage(destination, image->size, image->md5);
    ASSERT_TRUE(failure.has_value());
    EXPECT_TRUE(failure->message.contains("  Expected: " + juce::String(image->size) + " bytes\r\n  Received: "));
}

TEST_F(GetUrlThreadTest, LateAnswerOfAnAbandonedRequestNeverPassesForTheNewerOne)
{
    server->setFault(releasePath("nimbrel.update"), UpdateServer::Fault::delay(600));
    server->setFault(releasePath("hv_rvb.update"), UpdateServer::Fault::delay(1500));

    GetUrlThread::start(releaseUrl("nimbrel.update"), UrlFetch::userAgentHeader(), &result, nullptr, true);
    ASSERT_TRUE(pumpUntil([this] { return server->requestsTo(releasePath("nimbrel.update")).size() == 1; }));

    // The requester gives up: the record reads done, holding nothing.
    result.abandon();
    ASSERT_TRUE(result.takeIfDone());
    EXPECT_EQ(result.statusCode, -1);
    EXPECT_FALSE(result.opened);

    GetUrlThread::start(releaseUrl("hv_rvb.update"), UrlFetch::userAgentHeader(), &result, nullptr, true);

    // The first request answers meanwhile; its answer must be dropped.
    ASSERT_TRUE(pumpUntil([this] { return AppCommon::s_liveUtilityThreads == 1; }));
    EXPECT_FALSE(result.isDone());
    EXPECT_TRUE(result.body.isEmpty());

    ASSERT_TRUE(pumpUntil([this] { return result.isDone(); }));
    ASSERT_TRUE(result.takeIfDone());
    EXPECT_EQ(result.statusCode, 200);
    EXPECT_TRUE(result.body.contains("File:hv_rvb_1.02.003.bin"));
}
}
