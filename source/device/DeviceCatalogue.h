#pragma once

#include "device/VersionInfo.h"

#include <juce_core/juce_core.h>

#include <array>
#include <cstdint>

// One supported USB device. Index 0 is the ROM bootloader, 1 to 3 are the pedals.
struct DeviceRow
{
    juce::String name;
    juce::String subName;
    juce::String vid;
    juce::String pid;
    uint32_t platformKey = 0;
    int32_t usbInterface = 0;
    juce::String updateFile;
    juce::String changelogFile;
    juce::String platformTag;
    std::array<juce::String, 2> baseUrl;  // [0] release, [1] beta
};

namespace DeviceCatalogue
{
    inline constexpr int kDeviceCount = 4;
    inline constexpr int kBootloader = 0;
    inline constexpr int kNimbrel = 1;
    inline constexpr int kEmbervale = 2;
    inline constexpr int kNightcrest = 3;
    inline constexpr int kOptionCount = 6;

    // Option numbers the connection logic knows by name.
    inline constexpr int kOptionBpmMode = 2;
    inline constexpr int kOptionDryKill = 3;
    inline constexpr int kOptionPingPong = 4;

    // The four rows with the given base URLs in the pedal rows.
    std::array<DeviceRow, kDeviceCount> rows(const juce::String& releaseBaseUrl, const juce::String& betaBaseUrl);

    // The server file holding the device's documentation link; [0] release, [1] beta.
    juce::String refFile(int index, bool beta);

    struct PresetPlatform
    {
        uint16_t typeCode;
        const char* signature;
    };
    PresetPlatform presetPlatform(int index);

    struct FeatureEntry
    {
        bool supported;
        const char* minimumVersion;
    };
    FeatureEntry feature(int index, int option);
}

// Lower-case name with every blank replaced by "-": the prefix of per-device settings keys.
juce::String DeviceKeyName(const juce::String& deviceName);

bool DeviceSupportsFeature(int deviceIndex, int option, const VersionInfo& version);
