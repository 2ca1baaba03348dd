#pragma once

#include "device/AppCommon.h"
#include "updateserver/UpdateServer.h"
#include "updateserver/UpdateTree.h"

#include <gtest/gtest.h>

#include <functional>

// Runs the message loop (timers, worker clean-up) until `condition` holds or the time is up.
inline bool pumpUntil(const std::function<bool()>& condition, int timeoutMs = 10000)
{
    const auto end = juce::Time::getMillisecondCounter() + (juce::uint32) timeoutMs;
    while (!condition())
    {
        if (juce::Time::getMillisecondCounter() > end)
            return false;
        juce::MessageManager::getInstance()->runDispatchLoopUntil(5);
    }
    return true;
}

inline bool pumpFor(int ms)
{
    return !pumpUntil([] { return false; }, ms);
}

inline bool allWorkersGone(int timeoutMs = 10000)
{
    return pumpUntil([] { return AppCommon::s_liveUtilityThreads == 0; }, timeoutMs);
}

// A running local update server with the standard tree in a fresh folder.
class LocalUpdateServerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        root = juce::File::getSpecialLocation(juce::File::tempDirectory)
                   .getChildFile("hv-server-" + juce::String::toHexString(juce::Random::getSystemRandom().nextInt64()));
        server = std::make_unique<UpdateServer>(root);
        ASSERT_TRUE(server->start());
        tree = UpdateTree::write(root, UpdateTree::Spec::standard(server->baseUrl()));
    }

    void TearDown() override
    {
        EXPECT_TRUE(allWorkersGone());
        server->stop();
        root.deleteRecursively();
    }

    juce::String releasePath(const juce::String& file) const { return UpdateServer::kReleasePath + file; }
    juce::String betaPath(const juce::String& file) const { return UpdateServer::kBetaPath + file; }
    juce::String releaseUrl(const juce::String& file) const { return server->releaseBaseUrl() + file; }

    juce::File root;
    std::unique_ptr<UpdateServer> server;
    UpdateTree::Tree tree;
};

// A URL on which nothing listens: a port just released by a server that was stopped.
inline juce::String unreachableUrl()
{
    UpdateServer closed(juce::File::getSpecialLocation(juce::File::tempDirectory));
    closed.start();
    const auto url = closed.baseUrl() + "halvane/nimbrel.update";
    closed.stop();
    return url;
}
