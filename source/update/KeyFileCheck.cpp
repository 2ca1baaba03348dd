#include "update/KeyFileCheck.h"

#include "update/UpdateUrls.h"
#include "update/UrlFetch.h"

namespace KeyFileCheck
{
juce::Array<juce::File> Candidates(const juce::String& keyFileName, const juce::File& userFolder)
{
    return { juce::File::getCurrentWorkingDirectory().getChildFile(keyFileName), userFolder.getChildFile(keyFileName) };
}

bool IsAccepted(const juce::File& localFile, const juce::String& remoteUrl)
{
    if (!localFile.existsAsFile())
        return false;
    const auto localKey = localFile.loadFileAsString().trim();
    if (localKey.isEmpty())
        return false;
    const auto response = UrlFetch::fetch(juce::URL(remoteUrl), {}, true, false);
    return response.opened && response.statusCode == 200 && response.body.trim() == localKey;
}

bool AnyAccepted(const juce::String& keyFileName, const juce::File& userFolder, const juce::String& betaBaseUrl)
{
    const auto url = UpdateUrls::KeyFileUrl(betaBaseUrl, keyFileName);
    for (const auto& file : Candidates(keyFileName, userFolder))
        if (IsAccepted(file, url))
            return true;
    return false;
}
}
