#include "support/LocalUpdateServer.h"
#include "support/TestFiles.h"

#include "update/ProgressDisplay.h"

namespace
{
class ProgressDisplayTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SKIP_WITHOUT_DISPLAY();
        parent.setSize(576, 480);
        display = std::make_unique<ProgressDisplay>(parent, [this] { return quitPending; });
    }

    void TearDown() override { display.reset(); }

    juce::Component parent;
    bool quitPending = false;
    std::unique_ptr<ProgressDisplay> display;
};

TEST_F(ProgressDisplayTest, RepeatedShowsReuseOneModalWindowAndChangeOnlyTextAndValue)
{
    display->ShowProgress("App Update", "Checking for new version...", ProgressDisplay::kIndeterminate);
    auto* first = display->window();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->window()->getName(), "App Update");
    EXPECT_TRUE(first->window()->isCurrentlyModal());
    EXPECT_EQ(first->progress, -1.0);

    display->ShowProgress("Downloading update...", 0.25f);
    EXPECT_EQ(display->window(), first);
    EXPECT_EQ(first->window()->getName(), "App Update");
    EXPECT_EQ(first->statusMessage(), "Downloading update...");
    EXPECT_EQ(first->progress, 0.25);

    display->SetProgress(0.5f);
    EXPECT_EQ(first->progress, 0.5);
    EXPECT_TRUE(pumpFor(250));
    EXPECT_TRUE(first->isThreadRunning());

    display->CloseProgress();
    EXPECT_EQ(display->window(), nullptr);
    EXPECT_EQ(juce::ModalComponentManager::getInstance()->getNumModalComponents(), 0);
}

TEST_F(ProgressDisplayTest, NewWindowGetsTheDeviceTitleAndNothingHappensWithoutOne)
{
    display->SetProgress(0.5f);
    display->CloseProgress();
    EXPECT_EQ(display->window(), nullptr);

    display->ShowProgress("Erasing Device...", 0.0f);
    ASSERT_NE(display->window(), nullptr);
    EXPECT_EQ(display->window()->window()->getName(), "Device Update.");
    EXPECT_EQ(display->window()->progress, 0.0);
}

TEST_F(ProgressDisplayTest, PendingQuitStopsShowAndSetButNotClose)
{
    display->ShowProgress("Programming Device...", 0.1f);
    quitPending = true;
    display->ShowProgress("Verifying Device...", 0.9f);
    display->SetProgress(0.95f);
    ASSERT_NE(display->window(), nullptr);
    EXPECT_EQ(display->window()->statusMessage(), "Programming Device...");
    EXPECT_EQ(display->window()->progress, (double) 0.1f);

    display->CloseProgress();
    EXPECT_EQ(display->window(), nullptr);
    display->ShowProgress("again", 0.0f);
    EXPECT_EQ(display->window(), nullptr);
}

TEST_F(ProgressDisplayTest, WindowDismissedElsewhereDeletesItselfAndIsForgotten)
{
    display->ShowProgress("Retrieving update...", ProgressDisplay::kIndeterminate);
    display->window()->window()->exitModalState(0);
    EXPECT_TRUE(pumpUntil([this] { return display->window() == nullptr; }, 2000));

    display->ShowProgress("Retrieving update...", 0.3f);
    EXPECT_NE(display->window(), nullptr);
}
}
