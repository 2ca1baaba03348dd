#pragma once

#include <juce_core/juce_core.h>

// The key files that open the beta channel and the debug console: a local file whose trimmed text
// must equal the trimmed text the beta server serves under the same name.
namespace KeyFileCheck
{
    // Where the key file is looked for, in this order.
    juce::Array<juce::File> Candidates(const juce::String& keyFileName, const juce::File& userFolder);

    // Fetches `remoteUrl` synchronously (POST, no extra headers). An empty key never counts, and
    // neither does an error page: without this an empty local file and an unreachable server
    // (two empty texts) would open the key.
    bool IsAccepted(const juce::File& localFile, const juce::String& remoteUrl);

    // The first candidate that is accepted, checking each existing one in order.
    bool AnyAccepted(const juce::String& keyFileName, const juce::File& userFolder, const juce::String& betaBaseUrl);
}
