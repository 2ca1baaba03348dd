#pragma once

#include "app/SettingsKeys.h"
#include "device/ServerConfig.h"
#include "support/ConnectedApp.h"
#include "support/LocalUpdateServer.h"
#include "support/TestFiles.h"

#include <functional>

// The main component against the real local update server over HTTP: the three server keys are
// written into the settings file before the component is built, as an operator would set them.
class ServerAppTest : public ::testing::Test
{
protected:
    using Settings = std::function<void(juce::PropertiesFile&)>;

    void SetUp() override
    {
        SKIP_WITHOUT_DISPLAY();  // the progress window is a real alert window
        root = juce::File::getSpecialLocation(juce::File::tempDirectory)
                   .getChildFile("hv-serverapp-" + juce::String::toHexString(juce::Random::getSystemRandom().nextInt64()));
        server = std::make_unique<UpdateServer>(root);
        ASSERT_TRUE(server->start());
        spec = UpdateTree::Spec::standard(server->baseUrl());
    }

    void TearDown() override
    {
        closeApp();
        if (server != nullptr)
            server->stop();
        root.deleteRecursively();
        AppCommon::s_installerToLaunch = juce::File();
    }

    // Writes the tree (from `spec`, which a test may change first) and the settings, then starts.
    void startApp(const Settings& extraSettings = {})
    {
        if (tree.files.empty())
            tree = UpdateTree::write(root, spec);
        {
            juce::PropertiesFile file(SettingsKeys::fileOptions());
            file.setValue(ServerConfig::kReleaseKey, server->releaseBaseUrl());
            file.setValue(ServerConfig::kBetaKey, server->betaBaseUrl());
            file.setValue(ServerConfig::kEventReportKey, server->eventReportUrl());
            if (extraSettings)
                extraSettings(file);
            file.saveIfNeeded();
        }
        t = std::make_unique<ConnectedApp>();
        t->app->useRealServerWork();
    }

    void closeApp()
    {
        EXPECT_TRUE(allWorkersGone());
        t.reset();
    }

    bool checksRunning() const { return t->app->IsAppCheckRunning() || t->app->IsFirmwareCheckRunning(); }

    // Ticks until `condition` holds; the server answers in real time meanwhile.
    bool tickUntil(const std::function<bool()>& condition, int maxTicks = 1500)
    {
        for (int i = 0; i < maxTicks && !condition(); ++i)
            t->tick(5);
        return condition();
    }

    bool startUpChecksDone() { return tickUntil([this] { return !checksRunning(); }); }

    // Plugs the pedal and waits until it is idle and no check is running.
    void connectPedal(int model, const std::string& version)
    {
        t->plugPedal(model, version);
        ASSERT_TRUE(tickUntil([this] { return t->app->state() == COMM_STATE_IDLE && !checksRunning(); }));
    }

    // Replaces a served file of the release channel.
    void writeRelease(const juce::String& file, const juce::String& text)
    {
        root.getChildFile(juce::String(UpdateServer::kReleasePath).substring(1)).getChildFile(file)
            .replaceWithText(text, false, false, nullptr);
    }

    juce::String releasePath(const juce::String& file) const { return UpdateServer::kReleasePath + file; }
    juce::String betaPath(const juce::String& file) const { return UpdateServer::kBetaPath + file; }

    // "METHOD path" of every recorded request, in order.
    juce::StringArray requestLines() const
    {
        juce::StringArray lines;
        for (const auto& r : server->requests())
            lines.add(r.method + " " + r.path);
        return lines;
    }

    bool statusShown(const juce::String& text) const { return t->app->statusLines().contains(text); }

    ScopedHome home;  // settings, log, caches and key files start empty for every test
    juce::File root;
    std::unique_ptr<UpdateServer> server;
    UpdateTree::Spec spec;
    UpdateTree::Tree tree;
    std::unique_ptr<ConnectedApp> t;
};
