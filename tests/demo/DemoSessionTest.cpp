// The demo's set-up: its pedal in a fresh fake tree and its server's addresses in the settings.
#include "demo/DemoSession.h"

#include "app/SettingsKeys.h"
#include "device/ServerConfig.h"
#include "serial/SerialPort.h"
#include "support/TestFiles.h"

#include <juce_data_structures/juce_data_structures.h>

#include <gtest/gtest.h>

TEST(DemoSession, PedalIsTheOnlyPortOfAFreshTree)
{
    ScopedHome home;
    const auto stale = home.folder().getChildFile("fake/sys/class/tty/ttyACM7");
    stale.create();

    DemoSession session(home.folder());
    session.attachPedal(PedalSettings {});
    const auto ports = SerialPort::getSerialPortPaths();
    ASSERT_EQ(ports.size(), 1);
    EXPECT_TRUE(ports.getAllKeys()[0].startsWith("Nimbrel | "));
    EXPECT_TRUE(ports.getAllKeys()[0].contains("VID_7a5c&PID_b301"));
    EXPECT_EQ(ports.getAllValues()[0], juce::String(session.pedal()->devicePath()));
    EXPECT_FALSE(stale.exists());
}

TEST(DemoSession, SettingsPointAtTheServerOfThisRunWhoseReferencesCarryItsAddress)
{
    ScopedHome home;
    juce::String firstBase;
    {
        DemoSession first(home.folder());
        ASSERT_TRUE(first.startUpdateServer());
        firstBase = first.server()->baseUrl();
    }

    DemoSession session(home.folder());
    ASSERT_TRUE(session.startUpdateServer());
    session.writeServerSettings();
    auto* server = session.server();

    juce::PropertiesFile settings(SettingsKeys::fileOptions());
    const auto urls = ServerConfig::read(&settings);
    EXPECT_EQ(urls.releaseBase, server->releaseBaseUrl());
    EXPECT_EQ(urls.betaBase, server->betaBaseUrl());
    EXPECT_EQ(urls.eventReport, server->eventReportUrl());

    const auto reference = juce::URL(urls.releaseBase + "nimbrel.ref").readEntireTextStream();
    EXPECT_TRUE(reference.contains(server->baseUrl())) << reference;
    if (server->baseUrl() != firstBase)
    {
        EXPECT_FALSE(reference.contains(firstBase));
    }
}
