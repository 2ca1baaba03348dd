#include "serial/SerialPortEnumeration.h"

#include "serial/SerialPort.h"

namespace
{
juce::String& lastReport()
{
    // Process-wide, touched only on the message thread.
    static juce::String report("init");
    return report;
}

juce::File& sysfsRoot()
{
    static juce::File root("/sys");
    return root;
}

juce::File& deviceFolder()
{
    static juce::File folder("/dev");
    return folder;
}
}

namespace SerialPortEnumeration
{
bool matches(const juce::String& wantedVendor, const juce::String& wantedProduct, uint16_t wantedInterface,
             const juce::String& vendor, const juce::String& product, int interfaceNumber)
{
    if (wantedVendor.isNotEmpty() && !wantedVendor.equalsIgnoreCase(vendor))
        return false;
    if (wantedProduct.isNotEmpty() && !wantedProduct.equalsIgnoreCase(product))
        return false;
    return wantedInterface == 0 || wantedInterface == interfaceNumber;
}

juce::String makeKey(const juce::String& friendlyName, const juce::String& path, const juce::String& vendor,
                     const juce::String& product, int interfaceNumber)
{
    return friendlyName + " | " + path + " [VID_" + vendor + "&PID_" + product + "&MI_"
           + juce::String::toHexString(interfaceNumber).paddedLeft('0', 2).toUpperCase() + "]";
}

void publishReport(const juce::String& report, juce::String* log)
{
    auto& kept = lastReport();
    if (report == kept)
        return;
    if (log != nullptr)
        *log += report + "\r\n";
    kept = report;
}
}

void SerialPort::setEnumerationRoots(const juce::File& root, const juce::File& folder)
{
    sysfsRoot() = root;
    deviceFolder() = folder;
}

juce::File SerialPort::getSysfsRoot()
{
    return sysfsRoot();
}

juce::File SerialPort::getDeviceFolder()
{
    return deviceFolder();
}
