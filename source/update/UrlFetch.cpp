#include "update/UrlFetch.h"

#include "app/BuildInfo.h"

namespace UrlFetch
{
UrlResponse fetch(const juce::URL& url, const juce::String& extraHeaders, bool usePost, bool binaryOn200)
{
    using Handling = juce::URL::ParameterHandling;
    UrlResponse response;
    juce::StringPairArray responseHeaders;
    const auto options = juce::URL::InputStreamOptions(usePost ? Handling::inPostData : Handling::inAddress)
                             .withExtraHeaders(extraHeaders)
                             .withConnectionTimeoutMs(0)
                             .withResponseHeaders(&responseHeaders)
                             .withStatusCode(&response.statusCode)
                             .withNumRedirectsToFollow(kMaxRedirects);

    auto stream = url.createInputStream(options);
    if (stream == nullptr)
    {
        response.body = kNoStreamText;
        return response;
    }

    if (binaryOn200 && response.statusCode == 200)
        stream->readIntoMemoryBlock(response.data);
    else
        response.body = stream->readEntireStreamAsString();
    response.opened = true;
    return response;
}

juce::String userAgentHeader(const juce::String& appVersion)
{
    return "User-Agent: Halvane.UpdateTool." + appVersion + "\r\n";
}

juce::String userAgentHeader()
{
    return userAgentHeader(BuildInfo::appVersion());
}
}
