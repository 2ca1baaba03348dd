// Port enumeration on Linux: every tty in <sysfs>/class/tty whose device sits below a USB
// interface. The layout read (the same one the kernel presents, and that the simulated pedal and
// the tests build under a folder of their own):
//
//   <sysfs>/class/tty/ttyACM0 -> ../../devices/.../1-1/1-1:1.2/tty/ttyACM0
//   .../1-1/1-1:1.2/tty/ttyACM0/device -> ../../../1-1:1.2     (the USB interface)
//   .../1-1/1-1:1.2/bInterfaceNumber                            "02"
//   .../1-1/idVendor, idProduct                                 "7a5c", "b301"
//   .../1-1/product (optional), manufacturer (optional)
//
// A USB-serial adapter adds one level (tty -> ttyUSB0 port -> interface), which the upward walk
// covers. The port's path is <device folder>/<tty name>.
#include "serial/SerialPort.h"
#include "serial/SerialPortEnumeration.h"
#include "serial/SerialText.h"

#if JUCE_LINUX

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace
{
namespace fs = std::filesystem;

struct UsbIdentity
{
    juce::String vendor;
    juce::String product;
    int interfaceNumber = 0;
    juce::String productName;
};

// An attribute's text, at most 4 KiB (a sysfs attribute is never longer); empty when missing.
bool readAttribute(const fs::path& file, juce::String& text)
{
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return false;
    char buffer[4096];
    in.read(buffer, sizeof(buffer));
    text = serialTextFromBytes(buffer, (size_t) in.gcount()).trim();
    return true;
}

bool isHex(const juce::String& text, int minLength, int maxLength)
{
    return text.length() >= minLength && text.length() <= maxLength && text.containsOnly("0123456789abcdefABCDEF");
}

bool isBelow(const fs::path& dir, const std::string& root)
{
    const auto& text = dir.native();
    return text.size() > root.size() && text.compare(0, root.size(), root) == 0 && text[root.size()] == '/';
}

// Walks up from the tty's device to the USB interface (bInterfaceNumber) and takes the ids of
// the USB device above it. False for a tty that is not on USB or whose attributes are malformed.
bool findUsbIdentity(const fs::path& ttyEntry, const std::string& root, UsbIdentity& id)
{
    std::error_code ec;
    auto dir = fs::canonical(ttyEntry / "device", ec);
    if (ec)
        return false;  // a virtual terminal has no device

    for (int depth = 0; depth < 8 && isBelow(dir, root); ++depth, dir = dir.parent_path())
    {
        juce::String interfaceText;
        if (readAttribute(dir / "bInterfaceNumber", interfaceText))
        {
            if (!isHex(interfaceText, 1, 2))
                return false;
            const auto usbDevice = dir.parent_path();
            if (!readAttribute(usbDevice / "idVendor", id.vendor) || !readAttribute(usbDevice / "idProduct", id.product)
                || !isHex(id.vendor, 4, 4) || !isHex(id.product, 4, 4))
                return false;
            id.interfaceNumber = interfaceText.getHexValue32();
            if (!readAttribute(usbDevice / "product", id.productName))
                id.productName = {};
            return true;
        }
        if (fs::exists(dir / "idVendor", ec))
            return false;  // a USB device reached without passing an interface
    }
    return false;
}
}

juce::StringPairArray SerialPort::getSerialPortPaths(const juce::String& vendorId, const juce::String& productId,
                                                     uint16_t interfaceNumber, juce::String* log, bool* error)
{
    if (error != nullptr)
        *error = false;

    juce::StringPairArray result;
    const auto classTty = getSysfsRoot().getChildFile("class").getChildFile("tty");
    juce::String report = "Port scan:\n";
    report += "  UsingSysfs " + classTty.getFullPathName() + "\n";

    std::error_code ec;
    const fs::path classTtyPath(classTty.getFullPathName().toStdString());
    juce::StringArray names;
    for (fs::directory_iterator it(classTtyPath, ec), end; !ec && it != end; it.increment(ec))
        names.add(juce::String(it->path().filename().string()));
    if (ec)
    {
        if (log != nullptr)
            *log += "SerialPort::getSerialPortPaths :: cannot list " + classTty.getFullPathName() + ", error "
                    + juce::String(ec.value()) + "\r\n";
        if (error != nullptr)
            *error = true;
        return result;
    }
    names.sortNatural();

    const auto root = fs::canonical(classTtyPath, ec).parent_path().parent_path().native();
    for (const auto& name : names)
    {
        UsbIdentity id;
        if (!findUsbIdentity(classTtyPath / name.toStdString(), root, id))
            continue;

        const auto path = getDeviceFolder().getChildFile(name).getFullPathName();
        const auto key = SerialPortEnumeration::makeKey(id.productName, path, id.vendor, id.product, id.interfaceNumber);
        report += "    " + key + "\n";
        if (SerialPortEnumeration::matches(vendorId, productId, interfaceNumber, id.vendor, id.product, id.interfaceNumber))
            result.set(key, path);
    }

    report += "Complete.";
    SerialPortEnumeration::publishReport(report, log);
    return result;
}

#endif
