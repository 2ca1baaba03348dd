#pragma once

#include <juce_core/juce_core.h>

// One blocking HTTP exchange through the framework's URL layer, shared by the background
// workers, the key-file check and the event report.
struct UrlResponse
{
    bool opened = false;    // a response stream could be opened
    int statusCode = -1;    // as the URL layer reported it; -1 when it never got one
    juce::String body;      // the response text, or the failure text below
    juce::MemoryBlock data; // the response bytes, only for a binary fetch answered with 200
};

namespace UrlFetch
{
    inline constexpr const char* kNoStreamText = "Error: unable to open URL stream.";
    inline constexpr int kMaxRedirects = 5;

    // Fetches `url` (POST or GET) with the extra header lines, following at most five redirects
    // and using the URL layer's default connection time-out. With `binaryOn200` a 200 answer is
    // kept as bytes in `data` and `body` stays empty; every other answer is read as text.
    UrlResponse fetch(const juce::URL& url, const juce::String& extraHeaders, bool usePost, bool binaryOn200);

    // The header line every request to the update server carries.
    juce::String userAgentHeader(const juce::String& appVersion);
    juce::String userAgentHeader();
}
