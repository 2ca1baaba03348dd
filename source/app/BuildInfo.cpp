#include "app/BuildInfo.h"

namespace BuildInfo
{
juce::String appName() { return kAppName; }
juce::String appVersion() { return kAppVersion; }
juce::String appBuildString() { return kAppBuildString; }
juce::String appBuildChannel() { return kAppBuildChannel; }
juce::String appVersionShort() { return kAppVersionShort; }
juce::String appVersionBuild() { return kAppVersionBuild; }
juce::String appVersionPatch() { return kAppVersionPatch; }

juce::String appTitleWithVersion()
{
    return appName() + " (" + appVersion() + "." + appBuildChannel() + ")";
}
}
