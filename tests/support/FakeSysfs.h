#pragma once

#include <juce_core/juce_core.h>

#include <optional>

// A fake sysfs tree and device folder in a temporary folder, laid out as the kernel lays out a
// USB serial port, for SerialPort::setEnumerationRoots:
//
//   sys/devices/pci0000:00/0000:00:14.0/usb1/<usbPath>/           idVendor idProduct product manufacturer
//   sys/devices/.../usb1/<usbPath>/<usbPath>:1.<n>/               bInterfaceNumber
//   sys/devices/.../<usbPath>:1.<n>/tty/<name>/device -> ../../../<usbPath>:1.<n>
//   sys/class/tty/<name> -> ../../devices/.../<usbPath>:1.<n>/tty/<name>
//   dev/<name>                                                    a link to a pty, or an empty file
//
// Attribute texts are written as given, with the kernel's trailing line feed; a missing optional
// leaves the file out.
class FakeSysfs
{
public:
    struct UsbTty
    {
        juce::String name = "ttyACM0";
        juce::String usbPath = "1-1";  // the USB device's bus position; ttys on one device share it
        std::optional<juce::String> vendorId = juce::String("7a5c");
        std::optional<juce::String> productId = juce::String("b301");
        std::optional<juce::String> interfaceNumber = juce::String("02");  // hex, as the kernel writes it
        std::optional<juce::String> product = juce::String("Nimbrel");
        std::optional<juce::String> manufacturer = juce::String("Halvane");
        juce::String deviceNode;  // what dev/<name> links to (a pty's path); empty: an empty file
    };

    FakeSysfs();
    ~FakeSysfs();
    FakeSysfs(const FakeSysfs&) = delete;
    FakeSysfs& operator=(const FakeSysfs&) = delete;

    juce::File sysfsRoot() const { return m_root.getChildFile("sys"); }
    juce::File deviceFolder() const { return m_root.getChildFile("dev"); }

    // Points SerialPort's enumeration at this tree (and back at /sys and /dev on destruction).
    void install();

    void addUsbTty(const UsbTty& tty);
    // A tty that is not on USB: a virtual console without a device, or a platform UART.
    void addVirtualTty(const juce::String& name);
    void addPlatformTty(const juce::String& name);
    // Unplugs a tty: its class link, its interface folder and its device node disappear.
    void removeTty(const juce::String& name);

private:
    juce::File m_root;
    bool m_installed = false;
};
