#include "update/ServerErrorText.h"

#include "update/StatusCodeText.h"

namespace ServerErrorText
{
namespace
{
juce::String receivedError(const juce::String& what)
{
    return "An error was received from the update server (" + what + ")." + "\r\n" + kTryLater;
}
}

juce::String NotFoundMessage()
{
    return receivedError("404 - File Not Found");
}

juce::String ServerErrorMessage(int statusCode, const juce::String& body)
{
    return receivedError(juce::String(statusCode)) + "\r\n\r\n" + body;
}

juce::String ImageDownloadErrorMessage(int statusCode, const juce::String& body)
{
    return juce::String("The update server responded with the following error:\r\n") + "\r\n"
           + StatusCodeText(statusCode) + "\r\n\r\n" + "\r\n" + "Message contents:" + "\r\n\r\n" + body;
}
}
