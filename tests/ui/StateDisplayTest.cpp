// Which controls the state display enables, and what the update button says, in each state.
#include "app/ProcessLauncher.h"
#include "support/ConnectedApp.h"

#include <gtest/gtest.h>

namespace
{
const juce::String kOlder = "v1.03.0.0.UNDEF.0";
const juce::String kNewer = "v1.04.5.0.UNDEF.0";

// A Nimbrel with firmware 1.03 resting idle while the server offers 1.04.5.
void connectOutdatedNimbrel(ConnectedApp& t, const juce::String& offered = kNewer)
{
    t.app->setAvailableVersion(1, offered);
    t.plugPedal(1, kOlder.toStdString());
    ASSERT_TRUE(t.tickUntilState(COMM_STATE_IDLE));
    t.tick();
}

struct Enablement
{
    bool update, settings, refresh, backup, restore, deviceList, computerList, midi, bpm, dryKill, pingPong, factory,
        notification;

    static Enablement of(ProbedMain& m)
    {
        auto& s = m.m_settingsPanel;
        auto* line = m.notificationButton(0);
        return { m.m_btnUpdate.isEnabled(),       m.m_btnOpenSettings.isEnabled(),  m.m_btnPresetsRefresh.isEnabled(),
                 m.m_btnPresetsBackup.isEnabled(), m.m_btnPresetsRestore.isEnabled(), m.m_deviceList.isEnabled(),
                 m.m_computerList.isEnabled(),    s.m_cbxMidiChannel.isEnabled(),   s.m_cbxBpmMode.isEnabled(),
                 s.m_cbxDryKill.isEnabled(),      s.m_cbxPingPong.isEnabled(),      s.m_btnPresetsFactory.isEnabled(),
                 line != nullptr && line->isEnabled() };
    }

    bool operator==(const Enablement& o) const
    {
        return update == o.update && settings == o.settings && refresh == o.refresh && backup == o.backup
               && restore == o.restore && deviceList == o.deviceList && computerList == o.computerList
               && midi == o.midi && bpm == o.bpm && dryKill == o.dryKill && pingPong == o.pingPong
               && factory == o.factory && notification == o.notification;
    }
};

std::ostream& operator<<(std::ostream& os, const Enablement& e)
{
    return os << "update " << e.update << " settings " << e.settings << " refresh " << e.refresh << " backup "
              << e.backup << " restore " << e.restore << " lists " << e.deviceList << e.computerList << " midi "
              << e.midi << " bpm " << e.bpm << " dryKill " << e.dryKill << " pingPong " << e.pingPong << " factory "
              << e.factory << " notification " << e.notification;
}

//                                 upd    set    ref    bak    res    dev    comp   midi   bpm    dryK   pong   fact   note
const Enablement kIdleClosed     { true,  true,  true,  true,  true,  true,  true,  false, false, false, false, false, true };
const Enablement kIdlePanelOpen  { false, false, false, false, false, false, false, true,  true,  true,  false, true,  false };
const Enablement kBusy           { false, true,  false, false, false, false, false, false, false, false, false, false, false };
const Enablement kUpdating       { false, false, false, false, false, false, false, false, false, false, false, false, false };
}

TEST(StateDisplay, IdleWithAnOutdatedPedalOffersTheUpdateAndThePanelTakesTheControlsOver)
{
    ConnectedApp t;
    connectOutdatedNimbrel(t);
    auto& m = *t.app;
    EXPECT_EQ(Enablement::of(m), kIdleClosed);
    EXPECT_EQ(m.m_btnUpdate.getButtonText(), "Update available");
    EXPECT_EQ(m.m_btnUpdate.getTooltip(), "An update is available. Click for more info.");

    m.buttonClicked(&m.m_btnOpenSettings);
    EXPECT_EQ(Enablement::of(m), kIdlePanelOpen);  // ping pong needs 1.04.5

    m.m_settingsPanel.buttonClicked(&m.m_settingsPanel.m_btnClose);
    EXPECT_FALSE(m.m_settingsPanel.isVisible());
    EXPECT_EQ(Enablement::of(m), kIdleClosed);

    m.RefreshStateDisplay(COMM_STATE_ERROR);  // the error state enables as idle does
    EXPECT_EQ(Enablement::of(m), kIdleClosed);
}

TEST(StateDisplay, EveryStateOutsideIdleAndScanningDisablesTheDeviceControls)
{
    ConnectedApp t;
    connectOutdatedNimbrel(t);
    auto& m = *t.app;
    for (int state = COMM_STATE_INVALID; state < COMM_STATE_COUNT_ + 1; ++state)
    {
        if (state == COMM_STATE_ERROR || state == COMM_STATE_IDLE || state == COMM_SCAN_FOR_DEVICES)
            continue;
        SCOPED_TRACE(state);
        m.RefreshStateDisplay(COMM_STATE_IDLE);
        m.RefreshStateDisplay(state);
        const bool updating = (state >= COMM_LOAD_BIN_FILE && state <= COMM_GET_UPDATE_DATA)
                              || state == COMM_RESTORE_PRESETS_FROM_ARCHIVE;
        EXPECT_EQ(Enablement::of(m), updating ? kUpdating : kBusy);

        juce::String text = "Update available";
        if (state >= COMM_LOAD_BIN_FILE && state <= COMM_VERIFY_DEVICE)
            text = "Updating...";
        else if (state >= COMM_GET_CHANGELOG && state <= COMM_GET_UPDATE_DATA)
            text = "Retrieving info...";
        EXPECT_EQ(m.m_btnUpdate.getButtonText(), text);
        EXPECT_EQ(m.m_btnUpdate.getTooltip(), "An update is available. Click for more info.");
    }
}

TEST(StateDisplay, ScanningOnlyFreesTheNotificationLines)
{
    ConnectedApp t;
    connectOutdatedNimbrel(t);
    auto& m = *t.app;
    m.RefreshStateDisplay(COMM_SCAN_FOR_DEVICES);
    EXPECT_EQ(Enablement::of(m), kIdleClosed);

    m.RefreshStateDisplay(COMM_STATE_REQUEST_SERIAL);
    m.RefreshStateDisplay(COMM_SCAN_FOR_DEVICES);
    auto expected = kBusy;
    expected.notification = true;
    EXPECT_EQ(Enablement::of(m), expected);

    m.buttonClicked(&m.m_btnOpenSettings);
    EXPECT_FALSE(m.notificationButton(0)->isEnabled());  // never while the panel is open
}

TEST(StateDisplay, PresetControlsGoWithThePedal)
{
    ConnectedApp t;
    connectOutdatedNimbrel(t);
    auto& m = *t.app;
    t.pedal->unplug();
    ASSERT_TRUE(t.tickUntilState(COMM_SCAN_FOR_DEVICES, 30));
    t.ticks(2);
    auto expected = kBusy;
    expected.computerList = true;
    expected.notification = true;
    EXPECT_EQ(Enablement::of(m), expected);
    EXPECT_EQ(m.m_btnUpdate.getButtonText(), "UPDATE");

    m.setDevice(0, "v0.0.0.0.UNDEF.0");  // a pedal left in its bootloader, after a failed recovery
    m.RefreshStateDisplay(COMM_STATE_ERROR);
    EXPECT_EQ(Enablement::of(m), expected);
}

TEST(StateDisplay, PendingPowerCycleShowsAsTheRebootStep)
{
    ConnectedApp t;
    connectOutdatedNimbrel(t);
    auto& m = *t.app;
    m.setPowerCyclePending(true);
    m.RefreshStateDisplay(COMM_STATE_IDLE);
    EXPECT_EQ(Enablement::of(m), kUpdating);
    EXPECT_EQ(m.m_btnUpdate.getButtonText(), "Update available");  // the reboot step keeps the text
}

TEST(StateDisplay, SkippedVersionsAndUnknownVersionsOfferNoUpdate)
{
    ConnectedApp t;
    connectOutdatedNimbrel(t);
    auto& m = *t.app;

    m.SkipUpdate(1, VersionInfo(kNewer));
    m.RefreshStateDisplay(COMM_STATE_IDLE);
    EXPECT_EQ(m.m_btnUpdate.getButtonText(), "UPDATE");
    EXPECT_EQ(m.m_btnUpdate.getTooltip(), "Check for firmware updates.");
    EXPECT_FALSE(m.m_btnUpdate.isEnabled());

    m.SkipUpdate(1, VersionInfo("v1.04.0.0.UNDEF.0"));  // an older skip does not hide a newer offer
    m.RefreshStateDisplay(COMM_STATE_IDLE);
    EXPECT_EQ(m.m_btnUpdate.getButtonText(), "Update available");
    EXPECT_TRUE(m.m_btnUpdate.isEnabled());

    m.SkipUpdate(1, VersionInfo(kNewer));
    m.ForgetSkippedUpdate(1);
    m.RefreshStateDisplay(COMM_STATE_IDLE);
    EXPECT_EQ(m.m_btnUpdate.getButtonText(), "Update available");
    EXPECT_TRUE(m.m_btnUpdate.isEnabled());

    m.setDevice(1, "v0.0.0.0.UNDEF.0");
    m.RefreshStateDisplay(COMM_STATE_IDLE);
    EXPECT_EQ(m.m_btnUpdate.getButtonText(), "UPDATE");
    EXPECT_FALSE(m.m_btnUpdate.isEnabled());
}

TEST(StateDisplay, SkippedVersionLivesInTheSettingsFileAcrossStarts)
{
    {
        ProbedMain first;
        first.SkipUpdate(1, VersionInfo(kNewer));
        first.settings()->saveIfNeeded();
    }
    ConnectedApp t;
    connectOutdatedNimbrel(t);
    EXPECT_EQ(t.app->m_btnUpdate.getButtonText(), "UPDATE");
    t.app->ForgetSkippedUpdate(1);
    EXPECT_FALSE(t.app->settings()->containsKey("IgnoredUpdateNIMBREL"));
}

TEST(StateDisplay, UpdateButtonTextsForCurrentFirmwareAndRunningChecks)
{
    ConnectedApp t;
    connectOutdatedNimbrel(t, kOlder);
    auto& m = *t.app;
    EXPECT_EQ(m.m_btnUpdate.getButtonText(), "UP TO DATE");
    EXPECT_EQ(m.m_btnUpdate.getTooltip(), "Your firmware is up to date.");
    EXPECT_FALSE(m.m_btnUpdate.isEnabled());

    m.setAvailableVersion(1, kNewer);
    m.setChecksRunning(true, false);
    m.AddFirmwareNotification(1);
    m.RefreshStateDisplay(COMM_STATE_IDLE);
    EXPECT_EQ(m.m_btnUpdate.getButtonText(), "Checking for updates");
    EXPECT_EQ(m.m_btnUpdate.getTooltip(), "Checking for firmware updates.");
    EXPECT_FALSE(m.m_btnUpdate.isEnabled());
    EXPECT_FALSE(m.notificationButton(0)->isEnabled());

    m.setChecksRunning(false, true);
    m.RefreshStateDisplay(COMM_GET_UPDATE_INFO);
    EXPECT_EQ(m.m_btnUpdate.getButtonText(), "Retrieving info...");
    EXPECT_EQ(m.m_btnUpdate.getTooltip(), "Checking for firmware updates.");
}

TEST(StateDisplay, UserManualIsLockedForTwoSecondsAfterAClick)
{
    juce::StringArray opened;
    ProcessLauncher::install({ nullptr, [&](const juce::String& url) { opened.add(url); return true; } });
    ConnectedApp t;
    t.app->setDocUrl(1, "https://docs.example/nimbrel");
    connectOutdatedNimbrel(t);
    auto& manual = t.app->m_btnInstructions;
    EXPECT_TRUE(manual.isVisible());
    EXPECT_TRUE(manual.isEnabled());

    t.app->buttonClicked(&manual);
    EXPECT_EQ(opened, juce::StringArray("https://docs.example/nimbrel"));
    EXPECT_FALSE(manual.isEnabled());
    t.ticks(19);  // 1900 ms of idle ticks
    EXPECT_FALSE(manual.isEnabled());
    t.ticks(2);
    EXPECT_TRUE(manual.isEnabled());  // the tick re-enables it without a state change
    EXPECT_EQ(t.app->state(), COMM_STATE_IDLE);

    t.app->setDocUrl(1, {});
    t.app->buttonClicked(&manual);  // the address went away: the button goes too
    EXPECT_FALSE(manual.isVisible());
    EXPECT_EQ(opened.size(), 1);
    ProcessLauncher::install({});
}
