#include "support/FakeSysfs.h"

#include "serial/SerialPort.h"

#include <filesystem>
#include <fstream>

namespace
{
namespace fs = std::filesystem;

const char* const kUsbBus = "devices/pci0000:00/0000:00:14.0/usb1";

fs::path nativePath(const juce::File& file)
{
    return fs::path(file.getFullPathName().toStdString());
}

void writeAttribute(const juce::File& folder, const char* name, const std::optional<juce::String>& value)
{
    if (value.has_value())
        std::ofstream(nativePath(folder.getChildFile(name))) << (*value + "\n").toStdString();
}

void link(const juce::String& target, const juce::File& linkFile)
{
    std::error_code ec;
    fs::remove(nativePath(linkFile), ec);
    fs::create_symlink(fs::path(target.toStdString()), nativePath(linkFile));
}

// The interface folder of a tty: found through its class link.
juce::File interfaceFolderOf(const juce::File& sysfs, const juce::String& name)
{
    std::error_code ec;
    const auto device = fs::canonical(nativePath(sysfs.getChildFile("class/tty/" + name + "/device")), ec);
    return ec ? juce::File() : juce::File(juce::String(device.string()));
}
}

FakeSysfs::FakeSysfs()
    : m_root(juce::File::createTempFile("hv-sysfs"))
{
    sysfsRoot().getChildFile("class/tty").createDirectory();
    deviceFolder().createDirectory();
}

FakeSysfs::~FakeSysfs()
{
    if (m_installed)
        SerialPort::setEnumerationRoots(juce::File("/sys"), juce::File("/dev"));
    m_root.deleteRecursively(false);
}

void FakeSysfs::install()
{
    SerialPort::setEnumerationRoots(sysfsRoot(), deviceFolder());
    m_installed = true;
}

void FakeSysfs::addUsbTty(const UsbTty& tty)
{
    const auto usbDevice = sysfsRoot().getChildFile(kUsbBus).getChildFile(tty.usbPath);
    const auto interfaceName = tty.usbPath + ":1." + juce::String(tty.interfaceNumber.value_or("0").getHexValue32());
    const auto interfaceFolder = usbDevice.getChildFile(interfaceName);
    const auto ttyFolder = interfaceFolder.getChildFile("tty").getChildFile(tty.name);
    ttyFolder.createDirectory();

    writeAttribute(usbDevice, "idVendor", tty.vendorId);
    writeAttribute(usbDevice, "idProduct", tty.productId);
    writeAttribute(usbDevice, "product", tty.product);
    writeAttribute(usbDevice, "manufacturer", tty.manufacturer);
    writeAttribute(interfaceFolder, "bInterfaceNumber", tty.interfaceNumber);
    writeAttribute(ttyFolder, "dev", juce::String("166:0"));

    link("../../../" + interfaceName, ttyFolder.getChildFile("device"));
    link("../../" + juce::String(kUsbBus) + "/" + tty.usbPath + "/" + interfaceName + "/tty/" + tty.name,
         sysfsRoot().getChildFile("class/tty").getChildFile(tty.name));

    const auto node = deviceFolder().getChildFile(tty.name);
    if (tty.deviceNode.isNotEmpty())
        link(tty.deviceNode, node);
    else
        node.create();
}

void FakeSysfs::addVirtualTty(const juce::String& name)
{
    sysfsRoot().getChildFile("devices/virtual/tty").getChildFile(name).createDirectory();
    link("../../devices/virtual/tty/" + name, sysfsRoot().getChildFile("class/tty").getChildFile(name));
    deviceFolder().getChildFile(name).create();
}

void FakeSysfs::addPlatformTty(const juce::String& name)
{
    const auto ttyFolder = sysfsRoot().getChildFile("devices/platform/serial8250/tty").getChildFile(name);
    ttyFolder.createDirectory();
    link("../../../serial8250", ttyFolder.getChildFile("device"));
    link("../../devices/platform/serial8250/tty/" + name, sysfsRoot().getChildFile("class/tty").getChildFile(name));
    deviceFolder().getChildFile(name).create();
}

void FakeSysfs::removeTty(const juce::String& name)
{
    const auto interfaceFolder = interfaceFolderOf(sysfsRoot(), name);
    std::error_code ec;
    fs::remove(nativePath(sysfsRoot().getChildFile("class/tty").getChildFile(name)), ec);
    fs::remove(nativePath(deviceFolder().getChildFile(name)), ec);
    if (interfaceFolder != juce::File())
        interfaceFolder.deleteRecursively(false);
}
