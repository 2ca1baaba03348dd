#include "device/AppCommon.h"

const DeviceRow* AppCommon::deviceRow(int index) const
{
    return (uint32_t) index < (uint32_t) DeviceCatalogue::kDeviceCount ? &m_devices[(size_t) index] : nullptr;
}

void AppCommon::logInvalidDevice(int index, const juce::String& accessor)
{
    logToFile("Invalid Device " + juce::String(index) + " AppCommon::" + accessor);
}

juce::String AppCommon::rowText(int index, const char* accessor, juce::String DeviceRow::*field)
{
    if (const auto* row = deviceRow(index))
        return row->*field;
    logInvalidDevice(index, juce::String(accessor) + "()");
    return "INVALID DEVICE";
}

juce::String AppCommon::DeviceName(int index) { return rowText(index, "DeviceName", &DeviceRow::name); }
juce::String AppCommon::DeviceSubName(int index) { return rowText(index, "DeviceSubName", &DeviceRow::subName); }
juce::String AppCommon::DeviceVID(int index) { return rowText(index, "DeviceVID", &DeviceRow::vid); }
juce::String AppCommon::DevicePID(int index) { return rowText(index, "DevicePID", &DeviceRow::pid); }

juce::String AppCommon::DeviceUpdateFile(int index)
{
    return rowText(index, "DeviceUpdateFile", &DeviceRow::updateFile);
}

juce::String AppCommon::DeviceChangelogFile(int index)
{
    return rowText(index, "DeviceChangelogFile", &DeviceRow::changelogFile);
}

juce::String AppCommon::ConnectedDeviceName()
{
    return rowText(m_connectedDevice, "ConnectedDeviceName", &DeviceRow::name);
}

uint32_t AppCommon::DevicePlatformKey(int index)
{
    if (const auto* row = deviceRow(index))
        return row->platformKey;
    logInvalidDevice(index, "DevicePlatformKey()");
    return 0xFFFFFFFFu;
}

juce::String AppCommon::DeviceURL(int index, bool beta)
{
    if (const auto* row = deviceRow(index))
        return row->baseUrl[beta ? 1 : 0];
    logInvalidDevice(index, "DeviceURL( " + juce::String(beta ? 1 : 0) + " )");
    return "INVALID DEVICE";
}

juce::String AppCommon::DeviceKeyName(int index)
{
    return ::DeviceKeyName(DeviceName(index));
}
