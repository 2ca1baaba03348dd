// The main window as a user sees it: a real top-level window on the display, captured from the
// screen in the situations that matter and kept under build/.../screenshots for a look. The
// capture must show what the window paints, at the size the notifications ask for.
#include "support/ConnectedApp.h"
#include "support/ShownWindow.h"
#include "ui/RenderProbe.h"

#include <gtest/gtest.h>

namespace
{
bool canCapture()
{
    return ShownWindow::displayAvailable() && juce::File("/usr/bin/import").existsAsFile();
}

juce::Image captureScreen(juce::Rectangle<int> area)
{
    const auto file = juce::File::createTempFile(".png");
    juce::ChildProcess import;
    if (!import.start(juce::StringArray { "/usr/bin/import", "-window", "root", file.getFullPathName() })
        || !import.waitForProcessToFinish(20000))
        return {};
    const auto screen = juce::ImageFileFormat::loadFrom(file);
    file.deleteFile();
    return screen.isValid() ? screen.getClippedImage(area).createCopy() : juce::Image();
}

juce::Image shoot(ConnectedApp& t, const juce::String& name)
{
    t.app->repaint();
    ConnectedApp::pump(300);
    const auto shot = captureScreen(t.app->getLocalBounds() + ShownWindow::kOrigin);
    if (shot.isValid())
    {
        const auto file = juce::File(HV_BUILD_DIR).getChildFile("screenshots").getChildFile(name + ".png");
        file.getParentDirectory().createDirectory();
        file.deleteFile();
        juce::FileOutputStream out(file);
        juce::PNGImageFormat().writeImageToStream(shot, out);
    }
    return shot;
}

int accentInHeader(const juce::Image& shot, juce::Colour accent)
{
    return RenderProbe::countNear(shot.getClippedImage({ 85, 15, 491, 50 }), accent, 3);
}
}

TEST(WindowScreenshots, NoPedalEachModelAndRecovery)
{
    if (!canCapture())
        GTEST_SKIP() << "needs a display and the screen capture tool";
    ConnectedApp t;
    ShownWindow window(*t.app);
    t.ticks(3);
    auto shot = shoot(t, "no-pedal");
    ASSERT_TRUE(shot.isValid());
    EXPECT_EQ(shot.getBounds(), juce::Rectangle<int>(0, 0, 576, 480));
    EXPECT_GT(accentInHeader(shot, juce::Colour(0xFF555555)), 150);

    const struct
    {
        int model;
        const char* version;
        const char* name;
        uint32_t accent;
    } models[] = { { 1, "v1.04.5.0.UNDEF.0", "nimbrel", 0xFF00BF00 },
                   { 2, "v1.02.0.0.UNDEF.0", "embervale", 0xFF6095C9 },
                   { 3, "v1.01.0.0.UNDEF.0", "nightcrest", 0xFFC57000 } };
    for (const auto& m : models)
    {
        SCOPED_TRACE(m.name);
        t.plugPedal(m.model, m.version);
        ASSERT_TRUE(t.tickUntilState(COMM_STATE_IDLE));
        t.ticks(25);
        shot = shoot(t, juce::String(m.name) + "-connected");
        EXPECT_GT(accentInHeader(shot, juce::Colour(m.accent)), 150);
        t.pedal->unplug();
        ASSERT_TRUE(t.tickUntilState(COMM_SCAN_FOR_DEVICES, 30));
        t.ticks(2);
    }

    t.pedal->plugInBootloader();
    for (int i = 0; i < 20 && !t.app->recoveryMode(); ++i)
        t.tick();
    ASSERT_TRUE(t.app->recoveryMode());
    shot = shoot(t, "recovery-mode");
    EXPECT_EQ(shot.getPixelAt(156, 125), juce::Colours::black);
}

TEST(WindowScreenshots, TwoNotificationsGrowTheWindow)
{
    if (!canCapture())
        GTEST_SKIP() << "needs a display and the screen capture tool";
    ConnectedApp t;
    ShownWindow window(*t.app);
    t.app->setAvailableVersion(1, "v1.04.5.0.UNDEF.0");
    t.app->setAvailableVersion(3, "v1.02.0.0.UNDEF.0");
    t.app->AddFirmwareNotification(3);
    t.plugPedal(1, "v1.03.0.0.UNDEF.0");
    ASSERT_TRUE(t.tickUntilState(COMM_STATE_IDLE));
    t.ticks(25);
    const auto shot = shoot(t, "two-notifications");
    ASSERT_TRUE(shot.isValid());
    EXPECT_EQ(window.getHeight(), 516);
    EXPECT_EQ(shot.getHeight(), 516);
    // The connected pedal's line in its accent, the other model's in grey.
    EXPECT_GT(RenderProbe::countNear(shot.getClippedImage({ 39, 436, 498, 16 }), juce::Colour(0xFF00BF00), 3), 20);
    EXPECT_GT(RenderProbe::countNear(shot.getClippedImage({ 39, 418, 498, 16 }), juce::Colour(0xFFBFBFBF), 3), 20);

    t.app->buttonClicked(&t.app->m_btnOpenSettings);
    shoot(t, "settings-open");
}
