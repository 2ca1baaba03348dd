#include "device/DeviceCatalogue.h"

namespace DeviceCatalogue
{
std::array<DeviceRow, kDeviceCount> rows(const juce::String& releaseBaseUrl, const juce::String& betaBaseUrl)
{
    std::array<DeviceRow, kDeviceCount> table {
        DeviceRow { "Platform bootloader", {}, "03EB", "6124", 0, 0, {}, {}, "APP", {} },
        DeviceRow { "Nimbrel", "Modulated Echo", "7A5C", "B301", 0x7A5CB301, 2, "nimbrel.update",
                    "nimbrel.changelog", "NIMBREL", {} },
        DeviceRow { "Embervale", "Ambient Space", "7A5C", "B302", 0x7A5CB302, 2, "hv_rvb.update",
                    "hv_rvb.changelog", "EMBERVALE", {} },
        DeviceRow { "Nightcrest", "Echo + Space", "7A5C", "B303", 0x7A5CB303, 2, "hv_DelayVerb.update",
                    "hv_DelayVerb.changelog", "NIGHTCREST", {} },
    };
    for (int i = 1; i < kDeviceCount; ++i)
        table[(size_t) i].baseUrl = { releaseBaseUrl, betaBaseUrl };
    return table;
}

juce::String refFile(int index, bool /*beta: both channels use the same name*/)
{
    static const char* const names[] = { "", "nimbrel.ref", "embervale.ref", "nightcrest.ref" };
    return (index >= 0 && index < kDeviceCount) ? names[index] : "";
}

PresetPlatform presetPlatform(int index)
{
    static const PresetPlatform table[] = { { 0, "INVALID" }, { 3, "4E494D42" }, { 1, "454D4245" }, { 0, "4E494748" } };
    return (index >= 0 && index < kDeviceCount) ? table[index] : table[0];
}

FeatureEntry feature(int index, int option)
{
    constexpr FeatureEntry no { false, "" };
    constexpr const char* any = "v0.0.0.0.UNDEF.0";
    static const FeatureEntry table[kDeviceCount][kOptionCount] = {
        { { true, any }, no, no, no, no, no },
        { { true, any }, { true, any }, { true, any }, { true, "v1.03.0.0.UNDEF.0" }, { true, "v1.04.5.0.UNDEF.0" }, { true, any } },
        { { true, any }, { true, any }, no, { true, "v1.01.0.0.UNDEF.0" }, no, { true, any } },
        { { true, any }, { true, any }, { true, any }, { true, "v1.01.0.0.UNDEF.0" }, { true, "v1.01.42.0.UNDEF.0" }, { true, any } },
    };
    if (index < 0 || index >= kDeviceCount || option < 0 || option >= kOptionCount)
        return no;
    return table[index][option];
}
}

juce::String DeviceKeyName(const juce::String& deviceName)
{
    return deviceName.toLowerCase().replace(" ", "-");
}

bool DeviceSupportsFeature(int deviceIndex, int option, const VersionInfo& version)
{
    const int device = juce::jmax(0, deviceIndex);
    if (device >= DeviceCatalogue::kDeviceCount)
        return false;
    const auto entry = DeviceCatalogue::feature(device, option);
    if (!entry.supported)
        return false;
    return version.isAtLeast(VersionInfo(entry.minimumVersion));
}
