#include "app/Clock.h"
#include "app/HVPlatformUpdater.h"
#include "diagnostics/SystemReport.h"
#include "support/ScriptedDialogs.h"
#include "support/TestFiles.h"
#include "ui/MainComponent.h"

#include <gtest/gtest.h>

#include <stdexcept>

class ErrorAlerts : public testing::Test
{
protected:
    void SetUp() override
    {
        SKIP_WITHOUT_DISPLAY();
        main = std::make_unique<MainComponent>();
        log.mark();
    }

    std::string newBytes() const { return log.added(); }

    ScopedHome home;
    Clock::ScopedManualClock clock { 0x7 };
    ScriptedDialogs dialogs;
    std::unique_ptr<MainComponent> main;
    LogTail log { home.logFile() };
};

TEST_F(ErrorAlerts, LongMessageIsTruncatedOnScreenButWholeInLogAndClipboard)
{
    juce::String message;
    for (int i = 0; i < 200; ++i)
        message << "0123456789";
    juce::SystemClipboard::copyTextToClipboard("before");
    dialogs.answer(1);
    main->ErrorMessage("Flash failed", message, true);

    ASSERT_EQ(dialogs.shown().size(), 1u);
    const auto& alert = dialogs.shown()[0];
    EXPECT_EQ(alert.title, "Flash failed");
    EXPECT_EQ(alert.message, message.substring(0, 512) + "\r\n");
    EXPECT_EQ(alert.icon, juce::MessageBoxIconType::WarningIcon);
    ASSERT_EQ(alert.buttons.size(), 2u);
    EXPECT_EQ(alert.buttons[0].text, "Copy Message");
    EXPECT_EQ(alert.buttons[0].result, 1);
    EXPECT_EQ(alert.buttons[0].shortcut, juce::KeyPress(juce::KeyPress::returnKey));
    EXPECT_EQ(alert.buttons[1].text, "Close");
    EXPECT_EQ(alert.buttons[1].result, 0);
    EXPECT_EQ(alert.buttons[1].shortcut, juce::KeyPress(juce::KeyPress::escapeKey));
    const auto extra = main->GetErrorExtraInfo();
    ASSERT_EQ(alert.componentTexts.size(), 1);
    EXPECT_EQ(alert.componentTexts[0], "Additional info:\n" + extra);  // the editor keeps LF only

    EXPECT_EQ(newBytes(), "0x00000007:\tErrorMessage(){\\r}{\\n}" + message.toStdString() + "\n"
                          "0x00000007:\t - message copied to clipboard\n");
    EXPECT_EQ(juce::SystemClipboard::getTextFromClipboard(), message + "\r\n\r\n" + extra);
}

TEST_F(ErrorAlerts, CloseLeavesTheClipboardAloneAndDefaultTitleIsUsed)
{
    juce::SystemClipboard::copyTextToClipboard("untouched");
    main->ErrorMessage("short\r\nmessage", true);
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.shown()[0].title, "An error has occurred");
    EXPECT_EQ(dialogs.shown()[0].message, "short\r\nmessage\r\n");
    EXPECT_EQ(newBytes(), "0x00000007:\tErrorMessage(){\\r}{\\n}short{\\r}{\\n}message\n");
    EXPECT_EQ(juce::SystemClipboard::getTextFromClipboard(), "untouched");

    main->ErrorMessage("not cut", false);
    EXPECT_EQ(dialogs.shown()[1].message, "not cut");
}

TEST_F(ErrorAlerts, ExtraInfoNamesTheLastActivePedalOrNone)
{
    const auto tag = SystemReport::getShortSystemTag();
    EXPECT_TRUE(tag.startsWith("[App:v1.04.011.0.master.20210408140335] [Sys:"));
    EXPECT_EQ(main->GetErrorExtraInfo(), tag + " [LastActive:none]");

    main->settings()->setValue("LastActiveDevice", "Embervale");
    main->settings()->setValue("LastActiveSerial", "EV-7");
    main->settings()->setValue("LastActiveVersion", "v1.01.000.0.UNDEF.00");
    EXPECT_EQ(main->GetErrorExtraInfo(), tag + " [LastActive:Embervale, EV-7, v1.01.000.0.UNDEF.00]");

    main->settings()->removeValue("LastActiveSerial");
    EXPECT_EQ(main->GetErrorExtraInfo(), tag + " [LastActive:Embervale, , v1.01.000.0.UNDEF.00]");
}

TEST_F(ErrorAlerts, SecondInstanceWarningTextAndLogLine)
{
    main->WarnMultipleAppInstance("--flag \"a b\"");
    ASSERT_EQ(dialogs.shown().size(), 1u);
    const auto& alert = dialogs.shown()[0];
    EXPECT_EQ(alert.title, "Warning");
    EXPECT_EQ(alert.message, "Multiple instances of the Halvane Update Tool\r\ncannot be run simultaneously.  Please be "
                             "sure to close\r\nthe previous instance before opening a new one.\r\n--flag \"a b\"");
    EXPECT_EQ(alert.icon, juce::MessageBoxIconType::WarningIcon);
    ASSERT_EQ(alert.buttons.size(), 1u);
    EXPECT_EQ(alert.buttons[0].text, "Close");
    EXPECT_EQ(alert.buttons[0].result, 0);
    EXPECT_EQ(alert.buttons[0].shortcut, juce::KeyPress(juce::KeyPress::escapeKey));
    EXPECT_EQ(newBytes(), "0x00000007:\tWarnMultipleAppInstance( --flag \"a b\" )\n");
}

TEST(ExceptionReport, FormatWithMessageWithoutMessageAndWithoutObject)
{
    const std::runtime_error withText("port vanished");
    EXPECT_EQ(HVPlatformUpdater::exceptionReport(&withText, "/elsewhere/lib/thing.cpp", 42),
              "unhandledException()\r\n\tport vanished\r\n\tFile: /elsewhere/lib/thing.cpp\r\n\tLine: 42\r\n");

    const std::runtime_error empty("");
    EXPECT_EQ(HVPlatformUpdater::exceptionReport(&empty, "x.cpp", 7),
              "unhandledException()\r\n\tUnknown exception\r\n\tFile: x.cpp\r\n\tLine: 7\r\n");

    EXPECT_EQ(HVPlatformUpdater::exceptionReport(nullptr, "x.cpp", 0),
              "unhandledException()\r\n\tFile: x.cpp\r\n\tLine: 0\r\n");
}

namespace
{
juce::String sourceRoot()
{
    return juce::File(__FILE__).getParentDirectory().getParentDirectory().getSiblingFile("source").getFullPathName() + "/";
}
}

TEST(ExceptionReport, SourcePathsInsideTheTreeAreShortened)
{
    EXPECT_EQ(HVPlatformUpdater::shortenSourcePath("C:\\work\\HV_Platform_Updater\\Source\\device\\AppCommon.cpp"),
              "device\\AppCommon.cpp");
    EXPECT_EQ(HVPlatformUpdater::shortenSourcePath("D:\\hv_platform_updater\\source\\a\\hv_platform_updater\\source\\b.cpp"),
              "a\\hv_platform_updater\\source\\b.cpp");
    EXPECT_EQ(HVPlatformUpdater::shortenSourcePath(sourceRoot() + "app/Main.cpp"), "app/Main.cpp");
    EXPECT_EQ(HVPlatformUpdater::shortenSourcePath("/usr/share/juce/modules/juce_events/x.cpp"),
              "/usr/share/juce/modules/juce_events/x.cpp");
    EXPECT_EQ(HVPlatformUpdater::shortenSourcePath("C:\\other\\source\\x.cpp"), "C:\\other\\source\\x.cpp");
}
