#pragma once

#include "update/UpdateInfoParser.h"

// The application's update-information file: a header beginning "[HVPlatformUpdater Update",
// the newest version, then three "label:value" lines for the installer's file name, size and
// MD5 digest. Labels are not checked; text after the fifth line is ignored.
namespace AppUpdateInfo
{
    inline constexpr const char* kServerName = "HVPlatformUpdater";

    // The same four values as a pedal's update information, naming the installer.
    using Record = UpdateInfo::AvailableUpdate;

    // True when `body` begins with the header, in any letter case.
    bool HasHeader(const juce::String& body);

    // Never fails: a missing line leaves its value empty (version all zero, size 0).
    Record ParseAppUpdateInfo(const juce::String& text);
}
