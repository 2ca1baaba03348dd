#include "app/SettingsKeys.h"
#include "device/AppCommon.h"
#include "diagnostics/SystemReport.h"
#include "ui/AlertTextBoxes.h"
#include "ui/Dialogs.h"

void AppCommon::ErrorMessage(const juce::String& message, bool truncate)
{
    ErrorMessage("An error has occurred", message, truncate);
}

void AppCommon::ErrorMessage(const juce::String& title, const juce::String& message, bool truncate)
{
    const juce::String shown = truncate ? message.substring(0, 512) + "\r\n" : message;
    logToFile("ErrorMessage()\r\n" + message);
    const juce::String extraInfo = GetErrorExtraInfo();
    const juce::String clipboardText = message + "\r\n" + "\r\n" + extraInfo;

    AlertExtraInfo extraBox(nullptr, extraInfo);
    AlertRequest request;
    request.title = title;
    request.message = shown;
    request.icon = juce::MessageBoxIconType::WarningIcon;
    request.buttons = { { "Copy Message", 1, juce::KeyPress(juce::KeyPress::returnKey) },
                        { "Close", 0, juce::KeyPress(juce::KeyPress::escapeKey) } };
    request.customComponents = { &extraBox };

    if (Dialogs::get().runAlert(request).result == 1)
    {
        logToFile(" - message copied to clipboard");
        juce::SystemClipboard::copyTextToClipboard(clipboardText);
    }
}

void AppCommon::WarnMultipleAppInstance(const juce::String& commandLine)
{
    const juce::String message = "Multiple instances of the Halvane Update Tool\r\ncannot be run simultaneously.  "
                                 "Please be sure to close\r\nthe previous instance before opening a new one.\r\n"
                               + commandLine;
    logToFile("WarnMultipleAppInstance( " + commandLine + " )");

    AlertRequest request;
    request.title = "Warning";
    request.message = message;
    request.icon = juce::MessageBoxIconType::WarningIcon;
    request.buttons = { { "Close", 0, juce::KeyPress(juce::KeyPress::escapeKey) } };
    Dialogs::get().runAlert(request);
}

juce::String AppCommon::GetErrorExtraInfo()
{
    const auto device = m_settings->getValue(SettingsKeys::kLastActiveDevice);
    juce::String lastActive = "none";
    if (device.isNotEmpty())
        lastActive = device + ", " + m_settings->getValue(SettingsKeys::kLastActiveSerial) + ", "
                   + m_settings->getValue(SettingsKeys::kLastActiveVersion);
    return SystemReport::getShortSystemTag() + " [LastActive:" + lastActive + "]";
}
