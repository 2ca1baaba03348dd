#pragma once

#include <juce_core/juce_core.h>

// The texts shown when the update server answers with something other than the file.
namespace ServerErrorText
{
    inline constexpr const char* kAlertTitle = "An error has occurred";
    inline constexpr const char* kTryLater = "Please try again later.";
    inline constexpr const char* kNotFoundPanelLine = "<RED>404 - File Not Found";

    // "An error was received from the update server (404 - File Not Found).\r\nPlease try again later."
    juce::String NotFoundMessage();

    // The same with the status in decimal, a blank line and the server's own text.
    juce::String ServerErrorMessage(int statusCode, const juce::String& body);

    // The image download's error: the status with its name and the server's text.
    juce::String ImageDownloadErrorMessage(int statusCode, const juce::String& body);
}
