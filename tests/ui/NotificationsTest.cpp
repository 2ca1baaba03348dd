// The notification strip: where its lines sit, how the window grows, their colours and what a
// click on a line does; and the texts of the About box.
#include "support/ConnectedApp.h"
#include "support/ShownWindow.h"

#include <gtest/gtest.h>

namespace
{
juce::Colour lineColour(ProbedMain& m, const juce::String& key)
{
    for (const auto& n : m.notifications())
        if (n.key == key)
            return m.notificationButton(n.button)->findColour(juce::TextButton::textColourOffId);
    ADD_FAILURE() << "no line " << key;
    return {};
}

// The application's line as its check adds it: always grey.
int addAppLine(ProbedMain& m)
{
    const int index = m.AddNotification("APP_UPDATE", "Halvane Update Tool update available (v2.00.000.0)");
    const_cast<Notification&>(m.notifications()[(size_t) index]).colour = 0xFFBFBFBF;
    m.ApplyNotificationColour(index);
    return index;
}
}

TEST(Notifications, LinesStackBelowTheHeadingAndTheWindowGrowsAndShrinksWithThem)
{
    if (!ShownWindow::displayAvailable())
        GTEST_SKIP() << "needs a display";
    ProbedMain m;
    ShownWindow shown(m);
    EXPECT_EQ(m.getHeight(), 480);

    m.setAvailableVersion(1, "v1.04.5.0.UNDEF.0");
    m.setAvailableVersion(3, "v1.01.0.0.UNDEF.0");
    m.AddFirmwareNotification(1);
    m.AddFirmwareNotification(3);
    ASSERT_EQ(m.notifications().size(), 2u);
    EXPECT_EQ(m.notificationButton(0)->getBounds(), juce::Rectangle<int>(39, 418, 498, 16));
    EXPECT_EQ(m.notificationButton(1)->getBounds(), juce::Rectangle<int>(39, 436, 498, 16));
    EXPECT_EQ(m.notificationButton(0)->getButtonText(), "Nimbrel firmware update available (v1.04.005.0.UNDEF.00)");
    EXPECT_EQ(m.notificationButton(0)->getName(), "btnNIMBREL_UPDATE");
    EXPECT_EQ(m.getHeight(), 516);
    EXPECT_EQ(shown.getHeight(), 516);

    m.RemoveFirmwareNotification(1);
    ASSERT_EQ(m.notifications().size(), 1u);
    EXPECT_EQ(m.notificationButton(0), nullptr);
    EXPECT_EQ(m.notificationButton(1)->getBounds().getY(), 418);
    EXPECT_EQ(m.getHeight(), 498);

    m.RemoveNotification("NO_SUCH_KEY");  // changes nothing
    EXPECT_EQ(m.notifications().size(), 1u);

    // The freed slot is taken again, but the line goes to the end of the strip.
    m.AddFirmwareNotification(1);
    EXPECT_EQ(m.notifications()[0].key, "NIGHTCREST_UPDATE");
    EXPECT_EQ(m.notifications()[1].key, "NIMBREL_UPDATE");
    EXPECT_EQ(m.notifications()[1].button, 0);
    EXPECT_EQ(m.notificationButton(0)->getY(), 436);

    // Adding an existing key replaces it at the end.
    m.AddFirmwareNotification(3);
    EXPECT_EQ(m.notifications()[0].key, "NIMBREL_UPDATE");
    EXPECT_EQ(m.notifications()[1].key, "NIGHTCREST_UPDATE");
    EXPECT_EQ(m.notifications().size(), 2u);

    m.RemoveNotification("NIMBREL_UPDATE");
    m.RemoveNotification("NIGHTCREST_UPDATE");
    EXPECT_EQ(m.getHeight(), 480);
}

TEST(Notifications, NewLinesStartDisabledInBlackUntilTheDisplayIsRefreshed)
{
    ProbedMain m;
    ASSERT_EQ(m.AddNotification("APP_UPDATE", "Application update"), 0);
    EXPECT_FALSE(m.notificationButton(0)->isEnabled());
    EXPECT_EQ(m.notifications()[0].colour, 0xFF000000u);
    m.RefreshStateDisplay(COMM_SCAN_FOR_DEVICES);
    EXPECT_TRUE(m.notificationButton(0)->isEnabled());
}

TEST(Notifications, APedalsLineTakesItsAccentOnlyWhileThatPedalIsConnected)
{
    ConnectedApp t;
    auto& m = *t.app;
    m.setAvailableVersion(1, "v1.04.5.0.UNDEF.0");
    m.setAvailableVersion(2, "v1.02.0.0.UNDEF.0");
    m.AddFirmwareNotification(1);
    m.AddFirmwareNotification(2);
    addAppLine(m);
    EXPECT_EQ(lineColour(m, "NIMBREL_UPDATE"), juce::Colour(0xFFBFBFBF));
    EXPECT_EQ(lineColour(m, "EMBERVALE_UPDATE"), juce::Colour(0xFFBFBFBF));

    t.plugPedal(1, "v1.03.0.0.UNDEF.0");
    ASSERT_TRUE(t.tickUntilState(COMM_STATE_IDLE));
    EXPECT_EQ(lineColour(m, "NIMBREL_UPDATE"), juce::Colour(0xFF00BF00));
    EXPECT_EQ(lineColour(m, "EMBERVALE_UPDATE"), juce::Colour(0xFFBFBFBF));  // the Embervale's line stays grey
    EXPECT_EQ(lineColour(m, "APP_UPDATE"), juce::Colour(0xFFBFBFBF));

    t.pedal->unplug();
    ASSERT_TRUE(t.tickUntilState(COMM_SCAN_FOR_DEVICES, 30));
    t.tick();
    EXPECT_EQ(lineColour(m, "NIMBREL_UPDATE"), juce::Colour(0xFFBFBFBF));
}

TEST(Notifications, ClickOnAnotherModelsLineExplainsAndAClickOnTheConnectedOnesStartsTheUpdate)
{
    ConnectedApp t;
    auto& m = *t.app;
    m.setAvailableVersion(1, "v1.04.5.0.UNDEF.0");
    m.setAvailableVersion(2, "v1.02.0.0.UNDEF.0");
    t.plugPedal(2, "v1.01.0.0.UNDEF.0");
    ASSERT_TRUE(t.tickUntilState(COMM_STATE_IDLE));
    m.AddFirmwareNotification(1);
    m.RefreshStateDisplay(COMM_STATE_IDLE);
    ASSERT_EQ(m.notifications().size(), 2u);  // the Embervale's own line came with its version
    EXPECT_EQ(m.notifications()[0].key, "EMBERVALE_UPDATE");

    auto* nimbrelLine = m.notificationButton(m.notifications()[1].button);
    ASSERT_TRUE(nimbrelLine->isEnabled());
    m.buttonClicked(nimbrelLine);
    ASSERT_EQ(t.dialogs.shown().size(), 1u);
    const auto& alert = t.dialogs.shown()[0];
    EXPECT_EQ(alert.title, "Firmware Update Available");
    EXPECT_EQ(alert.message, "A firmware update for Nimbrel is available.  Please connect \r\nyour device then click "
                             "this notification again to update.");
    EXPECT_EQ(alert.icon, juce::MessageBoxIconType::InfoIcon);
    ASSERT_EQ(alert.buttons.size(), 1u);
    EXPECT_EQ(alert.buttons[0].text, "OK");
    EXPECT_EQ(alert.buttons[0].result, 1);
    EXPECT_TRUE(m.updateRequests.empty());
    EXPECT_EQ(m.notifications().size(), 2u);  // the line stays

    m.buttonClicked(m.notificationButton(m.notifications()[0].button));
    EXPECT_EQ(m.updateRequests, (std::vector<std::pair<int, bool>> { { 2, false } }));
    EXPECT_EQ(t.dialogs.shown().size(), 1u);
}

TEST(Notifications, ClickOnALineNamingNoModelRemovesIt)
{
    ConnectedApp t;
    auto& m = *t.app;
    m.AddNotification("ODDMODEL_UPDATE", "Something");
    m.RefreshStateDisplay(COMM_SCAN_FOR_DEVICES);
    m.buttonClicked(m.notificationButton(0));
    EXPECT_TRUE(m.notifications().empty());
    EXPECT_EQ(m.notificationButton(0), nullptr);
    EXPECT_TRUE(t.dialogs.shown().empty());
    EXPECT_TRUE(t.logText().contains("[Alert: Firmware Update Available]"));
}

TEST(AboutBox, WithoutPedalOrHistoryNamesNoDeviceTwice)
{
    ConnectedApp t;
    for (const char* key : { "LastActiveDevice", "LastActiveVersion", "LastActiveSerial" })
        t.app->settings()->removeValue(key);
    t.app->AboutPopupAlert();
    ASSERT_EQ(t.dialogs.shown().size(), 1u);
    const auto& about = t.dialogs.shown()[0];
    EXPECT_EQ(about.title, "About");
    EXPECT_TRUE(about.message.startsWith("Halvane Update Tool:\r\n\t"));
    EXPECT_TRUE(about.message.contains("\r\n\r\nConnected Device:\r\n\tNone\r\n\r\nLast Active Device:\r\n\tNone\r\n\r\n"
                                       "Your System:\r\n\t"));
    EXPECT_TRUE(about.message.contains(" cores, "));
    EXPECT_TRUE(about.message.endsWith("mb RAM"));
    ASSERT_EQ(about.buttons.size(), 3u);
    EXPECT_EQ(about.buttons[0].text, "Copy Info");
    EXPECT_EQ(about.buttons[1].text, "Check for Updates");
    EXPECT_EQ(about.buttons[2].text, "Close");
    EXPECT_EQ(about.buttons[2].result, 0);
}

TEST(AboutBox, NamesTheConnectedPedalThenRemembersItAsTheLastOne)
{
    ConnectedApp t;
    t.plugPedal(3, "v1.01.2.0.UNDEF.0", "HV0000777");
    ASSERT_TRUE(t.tickUntilState(COMM_STATE_IDLE));
    t.app->AboutPopupAlert();
    EXPECT_TRUE(t.dialogs.shown()[0].message.contains(
        "Connected Device:\r\n\tNightcrest\r\n\tv1.01.002.0.UNDEF.00\r\n\tSerial# HV0000777\r\n\r\nYour System:"));

    t.pedal->unplug();
    ASSERT_TRUE(t.tickUntilState(COMM_SCAN_FOR_DEVICES, 30));
    t.app->AboutPopupAlert();
    EXPECT_TRUE(t.dialogs.shown()[1].message.contains(
        "Connected Device:\r\n\tNone\r\n\r\nLast Active Device:\r\n\tNightcrest\r\n\tv1.01.002.0.UNDEF.00\r\n\tSerial# "
        "HV0000777\r\n\r\nYour System:"));
}

TEST(AboutBox, CheckForUpdatesForgetsTheSkippedApplicationVersionAndClosesThePanel)
{
    ConnectedApp t;
    auto& m = *t.app;
    m.SkipUpdate(0, VersionInfo("v2.00.0.0.UNDEF.0"));
    m.buttonClicked(&m.m_btnOpenSettings);
    t.dialogs.answer(2);
    m.m_settingsPanel.buttonClicked(&m.m_settingsPanel.m_btnAbout);
    EXPECT_FALSE(m.m_settingsPanel.isVisible());
    EXPECT_FALSE(m.settings()->containsKey("IgnoredUpdate" + m.deviceRow(0)->platformTag));
}
