// The settings panel: its rows for each pedal, its size and place, and what its controls send to
// the pedal.
#include "support/ConnectedApp.h"

#include <gtest/gtest.h>

using Commands = std::vector<std::string>;

namespace
{
std::vector<int> visibleRows(SettingsWindow& panel)
{
    std::vector<int> rows;
    for (int row = 0; row < 6; ++row)
        if (panel.rowVisible(row))
            rows.push_back(row);
    return rows;
}

void connectIdle(ConnectedApp& t, int model, const std::string& version)
{
    t.plugPedal(model, version);
    ASSERT_TRUE(t.tickUntilState(COMM_STATE_IDLE));
    t.tick();
}

// Opens the panel and clicks RESET, the confirmation answered with `answer`; returns how many
// commands the pedal had received before.
size_t clickFactoryReset(ConnectedApp& t, int answer)
{
    auto& panel = t.app->m_settingsPanel;
    t.app->buttonClicked(&t.app->m_btnOpenSettings);
    const size_t before = t.pedal->receivedCommands().size();
    t.dialogs.answer(answer);
    panel.buttonClicked(&panel.m_btnPresetsFactory);
    return before;
}

Commands commandsAfter(ConnectedApp& t, size_t from)
{
    const auto all = t.pedal->receivedCommands();
    return Commands(all.begin() + (long) std::min(from, all.size()), all.end());
}
}

TEST(SettingsPanel, WithoutPedalOnlyTheUserDirectoryRowAndTheHintShow)
{
    ProbedMain m;
    m.buttonClicked(&m.m_btnOpenSettings);
    auto& panel = m.m_settingsPanel;
    EXPECT_TRUE(panel.isVisible());
    EXPECT_EQ(visibleRows(panel), std::vector<int>({ 0 }));
    EXPECT_EQ(panel.contentBottom(), 164);
    EXPECT_EQ(panel.getBounds(), juce::Rectangle<int>(168, 123, 240, 234));
    EXPECT_EQ(panel.m_btnSetUserDir.getBounds(), juce::Rectangle<int>(55, 79, 130, 20));
    EXPECT_EQ(panel.m_btnAbout.getBounds(), juce::Rectangle<int>(75, 164, 90, 20));
    EXPECT_EQ(panel.m_btnClose.getBounds(), juce::Rectangle<int>(75, 194, 90, 20));
    EXPECT_FALSE(panel.m_cbxMidiChannel.isVisible());
    EXPECT_FALSE(panel.m_btnPresetsFactory.isVisible());
}

TEST(SettingsPanel, RowsFollowTheModelAndItsFirmware)
{
    ProbedMain m;
    auto& panel = m.m_settingsPanel;
    const struct
    {
        int device;
        const char* version;
        std::vector<int> rows;
    } cases[] = {
        { 1, "v1.03.0.0.UNDEF.0", { 0, 1, 2, 3, 5 } },    { 1, "v1.04.5.0.UNDEF.0", { 0, 1, 2, 3, 4, 5 } },
        { 1, "v1.02.9.0.UNDEF.0", { 0, 1, 2, 5 } },       { 2, "v1.02.0.0.UNDEF.0", { 0, 1, 3, 5 } },
        { 0, "v0.0.0.0.UNDEF.0", { 0 } },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(juce::String(c.device) + " " + c.version);
        m.setDevice(c.device, c.version);
        m.buttonClicked(&m.m_btnOpenSettings);
        EXPECT_EQ(visibleRows(panel), c.rows);
        const int rows = (int) c.rows.size();
        const int bottom = 64 + 45 * rows + (rows < 2 ? 45 : 0) + 10;
        EXPECT_EQ(panel.contentBottom(), bottom);
        EXPECT_EQ(panel.getBounds(), juce::Rectangle<int>(168, (480 - bottom - 70) / 2, 240, bottom + 70));
        EXPECT_EQ(panel.m_btnPresetsFactory.isVisible(), rows >= 2);
        if (rows >= 2)
        {
            EXPECT_EQ(panel.m_btnPresetsFactory.getBounds(), juce::Rectangle<int>(55, 64 + 45 * (rows - 1) + 15, 130, 20));
        }
        EXPECT_EQ(panel.m_btnClose.getBottom(), bottom + 50);
        panel.buttonClicked(&panel.m_btnClose);
    }
}

TEST(SettingsPanel, OpenPanelIsLaidOutAgainWhenAPedalArrivesOrLeaves)
{
    ConnectedApp t;
    auto& panel = t.app->m_settingsPanel;
    t.app->buttonClicked(&t.app->m_btnOpenSettings);
    EXPECT_EQ(panel.getHeight(), 234);

    connectIdle(t, 1, "v1.04.5.0.UNDEF.0");
    EXPECT_EQ(panel.getBounds(), juce::Rectangle<int>(168, 33, 240, 414));
    EXPECT_EQ(panel.m_cbxPingPong.getBounds(), juce::Rectangle<int>(55, 259, 130, 20));
    EXPECT_TRUE(panel.m_cbxPingPong.isVisible());
    EXPECT_EQ(panel.m_btnClose.getBounds(), juce::Rectangle<int>(75, 374, 90, 20));

    t.pedal->unplug();
    ASSERT_TRUE(t.tickUntilState(COMM_SCAN_FOR_DEVICES, 30));
    t.tick();
    EXPECT_EQ(panel.getBounds(), juce::Rectangle<int>(168, 123, 240, 234));
    EXPECT_FALSE(panel.m_cbxPingPong.isVisible());
}

TEST(SettingsPanel, AnyChannelGoesOutAsFFAndIsReadBack)
{
    ConnectedApp t;
    connectIdle(t, 1, "v1.04.5.0.UNDEF.0");
    t.app->buttonClicked(&t.app->m_btnOpenSettings);
    const size_t before = t.pedal->receivedCommands().size();
    t.app->m_settingsPanel.m_cbxMidiChannel.setSelectedId(256, juce::sendNotificationSync);
    ASSERT_TRUE(t.tickUntilState(COMM_STATE_IDLE, 40));
    // The read-back goes on through the other options, as every read after the version does.
    EXPECT_EQ(commandsAfter(t, before), Commands({ "SetMChFF", "GetMCh", "GetBPM", "GetDrK", "GetPng" }));
    EXPECT_EQ(t.pedal->options().midiChannel, 255);
    EXPECT_EQ(t.app->optionValue(AppCommon::kMidiChannel), 255);
    EXPECT_TRUE(t.logText().contains("comboBoxChanged( m_cbxMidiChannel ), selectedId: 256"));
    EXPECT_TRUE(t.logText().contains("   m_bIgnoreChannelSet: 0"));
    EXPECT_TRUE(t.logText().contains("<ORANGE>Set MIDI Channel 255"));
}

TEST(SettingsPanel, AUserChoiceAfterThePedalsReportIsSent)
{
    ConnectedApp t;
    connectIdle(t, 1, "v1.04.5.0.UNDEF.0");
    t.ticks(2);
    const size_t before = t.pedal->receivedCommands().size();
    t.app->buttonClicked(&t.app->m_btnOpenSettings);
    t.app->m_settingsPanel.m_cbxDryKill.setSelectedId(2, juce::sendNotificationSync);
    ASSERT_TRUE(t.tickUntilState(COMM_STATE_IDLE, 30));
    EXPECT_EQ(commandsAfter(t, before), Commands({ "SetDrK01", "GetDrK", "GetPng" }));
    EXPECT_EQ(t.pedal->options().dryKill, 1);
}

TEST(SettingsPanel, ConfirmedFactoryResetIsSentAndTheVersionReadAgain)
{
    ConnectedApp t;
    connectIdle(t, 1, "v1.04.5.0.UNDEF.0");
    const size_t before = clickFactoryReset(t, 1);
    auto& panel = t.app->m_settingsPanel;

    ASSERT_EQ(t.dialogs.shown().size(), 1u);
    const auto& box = t.dialogs.shown()[0];
    EXPECT_EQ(box.title, "Factory Reset");
    EXPECT_EQ(box.message, "This will return all unit setting back to factory defaults.\r\n\r\nContinue?");
    EXPECT_EQ(box.icon, juce::MessageBoxIconType::WarningIcon);
    EXPECT_FALSE(panel.isVisible());
    EXPECT_EQ(t.app->pendingState(), COMM_FACTORY_RESET);
    EXPECT_TRUE(t.logText().contains("<RED>User clicked FACTORY RESET."));
    EXPECT_TRUE(t.logText().contains("<RED>Factory reset..."));

    ASSERT_TRUE(t.tickUntilState(COMM_STATE_REQUEST_VERSION, 60));
    ASSERT_TRUE(t.tickUntilState(COMM_STATE_IDLE));
    const auto sent = commandsAfter(t, before);
    ASSERT_GE(sent.size(), 3u);
    EXPECT_EQ(Commands(sent.begin(), sent.begin() + 3), Commands({ "Factory", "Version", "Serial" }));
    EXPECT_TRUE(t.logText().contains("Request Factory Reset..."));
}

TEST(SettingsPanel, CancelledFactoryResetLeavesStateAndPanelAlone)
{
    ConnectedApp t;
    connectIdle(t, 2, "v1.02.0.0.UNDEF.0");
    const size_t before = clickFactoryReset(t, 0);
    EXPECT_TRUE(t.app->m_settingsPanel.isVisible());
    EXPECT_EQ(t.app->pendingState(), COMM_STATE_INVALID);
    EXPECT_EQ(t.app->statusLines()[t.app->statusLines().size() - 1], "Factory reset canceled.");
    t.ticks(5);
    EXPECT_EQ(t.app->state(), COMM_STATE_IDLE);
    EXPECT_TRUE(commandsAfter(t, before).empty());
}

TEST(SettingsPanel, ApplyingAllOptionsSendsThePanelsChoicesInChainOrder)
{
    ConnectedApp t;
    connectIdle(t, 1, "v1.04.5.0.UNDEF.0");
    auto& panel = t.app->m_settingsPanel;
    t.ticks(2);
    panel.m_cbxMidiChannel.setSelectedId(4, juce::dontSendNotification);
    panel.m_cbxBpmMode.setSelectedId(2, juce::dontSendNotification);
    panel.m_cbxDryKill.setSelectedId(3, juce::dontSendNotification);
    panel.m_cbxPingPong.setSelectedId(2, juce::dontSendNotification);
    const size_t before = t.pedal->receivedCommands().size();
    t.app->ApplyAllOptions(COMM_STATE_IDLE);
    t.ticks(6);
    EXPECT_EQ(t.app->state(), COMM_STATE_IDLE);
    EXPECT_EQ(commandsAfter(t, before), Commands({ "SetMCh03", "SetBPM01", "SetDrK02", "SetPng01" }));
    const auto pedalOptions = t.pedal->options();
    EXPECT_EQ(pedalOptions.midiChannel, 3);
    EXPECT_EQ(pedalOptions.pingPong, 1);

    // The run leaves no option marked as the pedal's own report: the user's next choice goes out.
    t.app->buttonClicked(&t.app->m_btnOpenSettings);
    panel.m_cbxPingPong.setSelectedId(1, juce::sendNotificationSync);
    t.ticks(3);
    EXPECT_EQ(commandsAfter(t, before + 4), Commands({ "SetPng00", "GetPng" }));  // ping pong ends the chain
}
