#include "app/SettingsKeys.h"
#include "app/UpdateStateTracker.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

namespace
{
struct Event
{
    std::string text, serial, version;
    bool operator==(const Event& o) const { return text == o.text && serial == o.serial && version == o.version; }
};

std::ostream& operator<<(std::ostream& out, const Event& e)
{
    return out << "{" << e.text << ", " << e.serial << ", " << e.version << "}";
}

class RecordingSink : public EventSink
{
public:
    explicit RecordingSink(std::vector<Event>& events) : m_events(events) {}
    void sendEvent(const juce::String& text, const juce::String& serial, const juce::String& version) override
    {
        m_events.push_back({ text.toStdString(), serial.toStdString(), version.toStdString() });
    }

private:
    std::vector<Event>& m_events;
};

constexpr const char* kFrom = "v1.03.000.0.UNDEF.00";
constexpr const char* kTo = "v1.04.005.0.UNDEF.00";
}

class Tracker : public testing::Test
{
protected:
    std::unique_ptr<UpdateStateTracker> track(const juce::String& device = "Nimbrel")
    {
        return std::make_unique<UpdateStateTracker>(&settings, device, std::make_unique<RecordingSink>(events));
    }
    int stored(const char* key = "nimbrel_ActiveUpdateState") { return settings.getIntValue(key, -1); }

    juce::PropertySet settings;
    std::vector<Event> events;
};

TEST_F(Tracker, FirstConnectionIsReportedOnceAndStaysAtOne)
{
    auto tracker = track();
    EXPECT_EQ(tracker->state(), 0);
    tracker->SetActiveDevice("SN1", "v1.3.0.0.UNDEF.0");
    EXPECT_EQ(stored(), 1);
    EXPECT_EQ(settings.getValue("nimbrel_ActiveSerial"), "SN1");
    EXPECT_EQ(settings.getValue("nimbrel_ActiveVersion"), "v1.03.000.0.UNDEF.00");
    EXPECT_EQ(settings.getValue("LastActiveDevice"), "Nimbrel");
    EXPECT_EQ(settings.getValue("LastActiveSerial"), "SN1");
    EXPECT_EQ(settings.getValue("LastActiveVersion"), "v1.03.000.0.UNDEF.00");

    auto again = track();
    again->SetActiveDevice("SN1", "v1.3.0.0.UNDEF.0");
    EXPECT_EQ(stored(), 1);
    EXPECT_EQ(events, (std::vector<Event> { { "First time connect", "SN1", "v1.03.000.0.UNDEF.00" } }));
}

TEST_F(Tracker, SuccessfulUpdateGoesThroughEveryStageAndCompletesOnReconnect)
{
    track()->SetActiveDevice("SN1", kFrom);
    events.clear();

    auto tracker = track();
    tracker->SetActiveDevice("SN1", kFrom);
    tracker->StartUpdate("v1.3.0.0.UNDEF.0", "v1.4.5.0.UNDEF.0", false, false);
    EXPECT_EQ(settings.getValue("nimbrel_UpdatingFrom"), kFrom);
    EXPECT_EQ(settings.getValue("nimbrel_UpdatingTo"), kTo);
    EXPECT_FALSE(settings.getBoolValue("nimbrel_ForcedUpdate", true));
    EXPECT_FALSE(settings.getBoolValue("nimbrel_RecoveryUpdate", true));
    for (int stage : { 2, 3, 4, 5, 6 })
    {
        if (stage > 2)
            tracker->SetUpdateState(stage);
        EXPECT_EQ(stored(), stage);
    }

    auto after = track();  // the pedal comes back in application mode
    EXPECT_EQ(after->state(), 6);
    after->SetActiveDevice("SN1", kTo);
    EXPECT_EQ(stored(), 7);
    EXPECT_EQ(events, (std::vector<Event> { { "Start Update", "SN1", kFrom }, { "Update Complete", "SN1", kTo } }));
}

TEST_F(Tracker, VerifyFailureIsReportedAndSettles)
{
    auto tracker = track();
    tracker->SetActiveDevice("SN9", kFrom);
    tracker->StartUpdate(kFrom, kTo, true, true);
    tracker->SetUpdateState(12);
    EXPECT_EQ(tracker->state(), 13);
    EXPECT_EQ(stored(), 13);
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[1], (Event { "Start Update(forced)(emergency)", "SN9", kFrom }));
    EXPECT_EQ(events[2], (Event { "Update VERIFY FAIL(forced)(emergency)", "SN9", kTo }));
}

TEST_F(Tracker, ForcedAndEmergencyMarksEachAloneWithoutBlank)
{
    auto tracker = track();
    tracker->StartUpdate(kFrom, kTo, true, false);
    tracker->StartUpdate(kFrom, kTo, false, true);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].text, "Start Update(forced)");
    EXPECT_EQ(events[1].text, "Start Update(emergency)");
}

TEST_F(Tracker, StageFoundAtConstructionIsReportedOnceThenSettled)
{
    const std::pair<int, const char*> found[] = {
        { 2, "Update START CRASH" },
        { 3, "Update ERASE CRASH" },
        { 4, "Update PROGRAMMING CRASH" },
        { 5, "Update VERIFY CRASH" },
        { 8, "Update app CLOSED during UPDATE" },
        { 9, "Update app CLOSED during ERASE" },
        { 10, "Update app CLOSED during PROGRAMMING" },
        { 11, "Update app CLOSED during VERIFY" },
    };
    for (const auto& [state, text] : found)
    {
        events.clear();
        settings.setValue("nimbrel_ActiveUpdateState", state);
        settings.setValue("nimbrel_ActiveSerial", "SN5");
        settings.setValue("nimbrel_UpdatingTo", kTo);
        settings.setValue("nimbrel_RecoveryUpdate", state == 4);
        EXPECT_EQ(track()->state(), 13) << state;
        EXPECT_EQ(stored(), 13) << state;
        EXPECT_EQ(track()->state(), 13) << state;
        const std::string expectedText = std::string(text) + (state == 4 ? "(emergency)" : "");
        EXPECT_EQ(events, (std::vector<Event> { { expectedText, "SN5", kTo } })) << state;
    }
}

TEST_F(Tracker, QuietStatesAreLeftAloneAtConstruction)
{
    for (int state : { 0, 1, 6, 7, 12, 13 })
    {
        settings.setValue("nimbrel_ActiveUpdateState", state);
        EXPECT_EQ(track()->state(), state);
    }
    EXPECT_TRUE(events.empty());
}

TEST_F(Tracker, ActiveDeviceTransitionsByState)
{
    const std::pair<int, int> transitions[] = { { 0, 1 }, { 1, 1 }, { 2, 13 }, { 3, 13 }, { 4, 13 }, { 5, 13 },
                                                { 6, 7 }, { 7, 7 },  { 13, 13 } };
    for (const auto& [from, to] : transitions)
    {
        auto tracker = track();
        tracker->SetUpdateState(from);
        tracker->SetActiveDevice("SN", kFrom);
        EXPECT_EQ(tracker->state(), to) << from;
        EXPECT_EQ(stored(), to) << from;
    }
}

TEST_F(Tracker, ClosingDuringAStageMarksItClosed)
{
    const std::pair<int, int> transitions[] = { { 0, 0 }, { 1, 1 }, { 2, 8 },  { 3, 9 },  { 4, 10 },
                                                { 5, 11 }, { 6, 6 }, { 7, 7 }, { 13, 13 } };
    for (const auto& [from, to] : transitions)
    {
        auto tracker = track();
        tracker->SetUpdateState(from);
        tracker->MarkAppClosing();
        EXPECT_EQ(stored(), to) << from;
    }
}

TEST_F(Tracker, ClosedDuringEraseIsReportedAtTheNextConnection)
{
    auto tracker = track();
    tracker->SetActiveDevice("SN3", kFrom);
    tracker->StartUpdate(kFrom, kTo, false, false);
    tracker->SetUpdateState(3);
    tracker->MarkAppClosing();
    EXPECT_EQ(stored(), 9);
    events.clear();
    EXPECT_EQ(track()->state(), 13);
    EXPECT_EQ(events, (std::vector<Event> { { "Update app CLOSED during ERASE", "SN3", kTo } }));
}

TEST_F(Tracker, DeviceNameWithBlanksUsesHyphenatedKeys)
{
    auto tracker = track("Platform bootloader");
    EXPECT_EQ(tracker->keyPrefix(), "platform-bootloader");
    tracker->SetActiveDevice("B1", kFrom);
    EXPECT_EQ(stored("platform-bootloader_ActiveUpdateState"), 1);
    EXPECT_EQ(settings.getValue("platform-bootloader_ActiveSerial"), "B1");
}

TEST_F(Tracker, PedalsKeepTheirOwnStages)
{
    track("Nimbrel")->SetUpdateState(4);
    EXPECT_EQ(track("Embervale")->state(), 0);
    EXPECT_TRUE(events.empty());
}

// ---- A real crash: a child process is killed while programming ----

namespace
{
constexpr const char* kCrashHomeVariable = "HV_CRASH_HOME";
}

// Run only as the child of SigkillDuringProgrammingIsFoundByTheNextTracker.
TEST(DISABLED_CrashChild, ProgramsUntilKilled)
{
    const char* crashHome = std::getenv(kCrashHomeVariable);
    ASSERT_NE(crashHome, nullptr);
    setenv("HOME", crashHome, 1);

    juce::ApplicationProperties properties;
    properties.setStorageParameters(SettingsKeys::fileOptions());
    std::vector<Event> events;
    UpdateStateTracker tracker(properties.getUserSettings(), "Nimbrel", std::make_unique<RecordingSink>(events));
    tracker.SetActiveDevice("SN-CRASH", kFrom);
    tracker.StartUpdate(kFrom, kTo, false, true);
    tracker.SetUpdateState(3);
    tracker.SetUpdateState(4);
    // The framework saves in the background of the message loop; keep it turning until killed.
    juce::MessageManager::getInstance()->runDispatchLoopUntil(60'000);
    FAIL() << "was not killed";
}

TEST(CrashRecovery, SigkillDuringProgrammingIsFoundByTheNextTracker)
{
    ScopedHome home;
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0)
    {
        setenv(kCrashHomeVariable, home.folder().getFullPathName().toRawUTF8(), 1);
        const auto self = juce::File::getSpecialLocation(juce::File::currentExecutableFile).getFullPathName();
        execl(self.toRawUTF8(), self.toRawUTF8(), "--gtest_also_run_disabled_tests",
              "--gtest_filter=DISABLED_CrashChild.ProgramsUntilKilled", (char*) nullptr);
        _exit(127);
    }

    // Within the save delay (3000 ms) plus start-up time the stage must be on disk.
    const auto deadline = juce::Time::getMillisecondCounter() + 8000;
    int storedState = -1;
    while (juce::Time::getMillisecondCounter() < deadline)
    {
        if (home.settingsFile().existsAsFile())
        {
            juce::PropertiesFile file(home.settingsFile(), SettingsKeys::fileOptions());
            storedState = file.getIntValue("nimbrel_ActiveUpdateState", -1);
            if (storedState == 4)
                break;
        }
        juce::Thread::sleep(50);
    }
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "child ended on its own";
    ASSERT_EQ(storedState, 4);

    juce::ApplicationProperties properties;
    properties.setStorageParameters(SettingsKeys::fileOptions());
    std::vector<Event> events;
    {
        UpdateStateTracker next(properties.getUserSettings(), "Nimbrel", std::make_unique<RecordingSink>(events));
        EXPECT_EQ(next.state(), 13);
        next.SetActiveDevice("SN-CRASH", kTo);
        EXPECT_EQ(next.state(), 13);
    }
    UpdateStateTracker later(properties.getUserSettings(), "Nimbrel", std::make_unique<RecordingSink>(events));
    EXPECT_EQ(later.state(), 13);
    EXPECT_EQ(events, (std::vector<Event> { { "Update PROGRAMMING CRASH(emergency)", "SN-CRASH", kTo } }));
}
