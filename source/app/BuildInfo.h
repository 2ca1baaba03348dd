#pragma once

#include <juce_core/juce_core.h>

// The build's identity. Every text here is what banners, the User-Agent line, the about box and
// the self-update comparison show or send.
namespace BuildInfo
{
    inline constexpr const char* kAppName = "HV Platform Updater";
    inline constexpr const char* kAppVersion = "v1.04.011.0";
    inline constexpr const char* kAppBuildString = "v1.04.011.0.master.20210408140335";
    inline constexpr const char* kAppBuildChannel = "master";
    inline constexpr const char* kAppVersionShort = "v1.04";
    inline constexpr const char* kAppVersionBuild = "011";
    inline constexpr const char* kAppVersionPatch = "0";

    juce::String appName();
    juce::String appVersion();
    juce::String appBuildString();
    juce::String appBuildChannel();
    juce::String appVersionShort();
    juce::String appVersionBuild();
    juce::String appVersionPatch();

    // "HV Platform Updater (v1.04.011.0.master)", the form the banners and the header use.
    juce::String appTitleWithVersion();
}
