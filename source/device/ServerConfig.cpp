#include "device/ServerConfig.h"

namespace ServerConfig
{
namespace
{
juce::String valueOr(juce::PropertySet* settings, const char* key, const juce::String& fallback)
{
    if (settings == nullptr)
        return fallback;
    const auto value = settings->getValue(key).trim();
    return value.isEmpty() ? fallback : value;
}

juce::String withTrailingSlash(const juce::String& url)
{
    return url.endsWithChar('/') ? url : url + "/";
}
}

Urls read(juce::PropertySet* settings)
{
    Urls urls;
    urls.releaseBase = withTrailingSlash(valueOr(settings, kReleaseKey, urls.releaseBase));
    urls.betaBase = withTrailingSlash(valueOr(settings, kBetaKey, urls.betaBase));
    urls.eventReport = valueOr(settings, kEventReportKey, urls.eventReport);
    return urls;
}
}
