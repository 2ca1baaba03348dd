#include "simpedal/UmockdevAttachment.h"

#include "simpedal/TtyIoctlHandler.h"

#include <cctype>
#include <cerrno>
#include <cstring>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <system_error>
#include <umockdev.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace
{
constexpr const char* kUsbBus = "/devices/pci0000:00/0000:00:14.0/usb1";
constexpr int kAcmMajor = 166;
constexpr const char* kPreloadLibrary = "libumockdev-preload.so.0";

int ttyMinor(const std::string& ttyName)
{
    size_t digits = ttyName.size();
    while (digits > 0 && std::isdigit(static_cast<unsigned char>(ttyName[digits - 1])))
        --digits;
    return digits < ttyName.size() ? std::stoi(ttyName.substr(digits)) : 0;
}

// A sysfs attribute line in umockdev's record format: the kernel ends every text with a line feed.
std::string attribute(const std::string& name, const std::string& value)
{
    return "A: " + name + "=" + value + "\\n\n";
}

std::string hex2(int value)
{
    char text[8];
    std::snprintf(text, sizeof text, "%02x", value);
    return text;
}

// umockdev_testbed_new() exports UMOCKDEV_DIR; a process that is not preloaded starts other
// programs (screenshots, window tools) that must see the real system, so the variable goes back.
class PreservedVariable
{
public:
    explicit PreservedVariable(const char* name) : m_name(name)
    {
        if (const char* value = std::getenv(name))
            m_value = std::make_unique<std::string>(value);
    }
    ~PreservedVariable()
    {
        if (m_value)
            setenv(m_name, m_value->c_str(), 1);
        else
            unsetenv(m_name);
    }

private:
    const char* m_name;
    std::unique_ptr<std::string> m_value;
};

// Whether this process was started with the preload library (it cannot be loaded later).
bool preloaded()
{
    const char* list = std::getenv("LD_PRELOAD");
    return list != nullptr && std::strstr(list, "libumockdev-preload") != nullptr;
}

UMockdevTestbed* newTestbed()
{
    // Under the preload the variable must stay: it is what redirects this process's own lookups.
    if (preloaded())
        return umockdev_testbed_new();
    PreservedVariable variable("UMOCKDEV_DIR");
    return umockdev_testbed_new();
}
}

UmockdevAttachment::UmockdevAttachment(std::string ttyName, std::string usbPort)
    : m_testbed(newTestbed()), m_inMockEnvironment(preloaded()), m_ioctls(std::make_unique<TtyIoctlHandler>()), m_ttyName(std::move(ttyName)),
      m_usbPort(std::move(usbPort))
{
    gchar* root = umockdev_testbed_get_root_dir(m_testbed);
    m_root = root;
    g_free(root);

    // A real system always has the tty class, with virtual consoles in it that are no serial ports.
    fs::create_directories(m_root + "/sys/class/tty");
    addDevice("P: /devices/virtual/tty/tty0\nE: SUBSYSTEM=tty\nE: DEVNAME=/dev/tty0\n" + attribute("dev", "4:0"),
              "/sys/devices/virtual/tty/tty0");
    m_added.clear();  // the console stays when the pedal goes

    // Attached once for the testbed's life: a program keeps its connection to the handler for as
    // long as it has the port open, across unplugging.
    GError* error = nullptr;
    if (!umockdev_testbed_attach_ioctl(m_testbed, devicePath().c_str(), m_ioctls->base(), &error))
    {
        const std::string message = error != nullptr ? error->message : "unknown error";
        g_clear_error(&error);
        g_object_unref(m_testbed);
        throw std::runtime_error("umockdev: cannot attach the ioctl handler: " + message);
    }
}

UmockdevAttachment::~UmockdevAttachment()
{
    detach();
    umockdev_testbed_detach_ioctl(m_testbed, devicePath().c_str(), nullptr);
    g_object_unref(m_testbed);  // removes the testbed's folder
}

std::string UmockdevAttachment::devicePath() const
{
    return "/dev/" + m_ttyName;
}

std::string UmockdevAttachment::preloadList()
{
    const char* previous = std::getenv("LD_PRELOAD");
    if (previous == nullptr || *previous == 0)
        return kPreloadLibrary;
    if (std::string(previous).find(kPreloadLibrary) != std::string::npos)
        return previous;
    return std::string(kPreloadLibrary) + ":" + previous;
}

std::vector<std::string> UmockdevAttachment::preloadEnvironment() const
{
    return { "UMOCKDEV_DIR=" + m_root, "LD_PRELOAD=" + preloadList() };
}

void UmockdevAttachment::runUnderPreload(char** argv)
{
    if (preloaded())
        return;
    setenv("LD_PRELOAD", preloadList().c_str(), 1);
    execvp(argv[0], argv);
    throw std::runtime_error(std::string("cannot run under ") + kPreloadLibrary + ": " + std::strerror(errno));
}

int UmockdevAttachment::modemLines() const
{
    return m_ioctls->modemLines();
}

bool UmockdevAttachment::exclusive() const
{
    return m_ioctls->exclusive();
}

int UmockdevAttachment::openCount() const
{
    return m_ioctls->openCount();
}

std::string UmockdevAttachment::usbDevicePath() const
{
    return std::string(kUsbBus) + "/" + m_usbPort;
}

std::string UmockdevAttachment::interfacePath(int interfaceNumber) const
{
    return usbDevicePath() + "/" + m_usbPort + ":1." + std::to_string(interfaceNumber);
}

void UmockdevAttachment::attach(const UsbIdentity& identity, const std::string& ptySlavePath)
{
    detach();
    std::string device = "P: " + usbDevicePath() + "\nE: SUBSYSTEM=usb\nE: DEVTYPE=usb_device\n"
                         + attribute("idVendor", identity.vid) + attribute("idProduct", identity.pid);
    const std::pair<const char*, const std::string*> strings[] = {
        { "manufacturer", &identity.manufacturer }, { "product", &identity.product }, { "serial", &identity.serial } };
    for (const auto& [name, value] : strings)
        if (!value->empty())
            device += attribute(name, *value);

    const std::string interface = interfacePath(identity.interfaceNumber);
    const std::string interfaceName = fs::path(interface).filename().string();
    const std::string tty = interface + "/tty/" + m_ttyName;
    const std::string dev = std::to_string(kAcmMajor) + ":" + std::to_string(ttyMinor(m_ttyName));

    // The node first and the tty last: whoever finds the tty finds a complete device.
    makeDeviceNode(ptySlavePath);
    addDevice(device, "/sys" + usbDevicePath());
    addDevice("P: " + interface + "\nE: SUBSYSTEM=usb\nE: DEVTYPE=usb_interface\nE: DRIVER=cdc_acm\n"
                  + attribute("bInterfaceNumber", hex2(identity.interfaceNumber)) + attribute("bInterfaceClass", "02"),
              "/sys" + interface);
    addDevice("P: " + tty + "\nE: SUBSYSTEM=tty\nE: DEVNAME=" + devicePath() + "\n" + attribute("dev", dev)
                  + "L: device=../../../" + interfaceName + "\n",
              "/sys" + tty);
}

void UmockdevAttachment::addDevice(const std::string& description, const std::string& devicePath)
{
    GError* error = nullptr;
    if (!umockdev_testbed_add_from_string(m_testbed, description.c_str(), &error))
    {
        const std::string message = error != nullptr ? error->message : "unknown error";
        g_clear_error(&error);
        throw std::runtime_error("umockdev: cannot add " + devicePath + ": " + message);
    }
    m_added.push_back(devicePath);
    sendUevent(devicePath, "add");
}

void UmockdevAttachment::makeDeviceNode(const std::string& ptySlavePath)
{
    // Not umockdev's own pty (an "N:" line): the pedal already has its pty and keeps its master.
    // umockdev adds the node's character-device numbers (dev/.node) from the tty's "dev".
    const fs::path node = fs::path(m_root) / "dev" / m_ttyName;
    fs::create_directories(node.parent_path());
    std::error_code ignored;
    fs::remove(node, ignored);
    fs::create_symlink(ptySlavePath, node);
}

void UmockdevAttachment::detach()
{
    // Children first, as the kernel tears a device down; umockdev removes a device's folder with
    // everything below it but only its own class link, and sends no uevent on its own.
    while (!m_added.empty())
    {
        removeDevice(m_added.back());
        m_added.pop_back();
    }
    removeStaleNumberLinks();
    std::error_code ignored;
    fs::remove(fs::path(m_root) / "dev" / m_ttyName, ignored);
}

void UmockdevAttachment::removeStaleNumberLinks()
{
    // umockdev leaves /sys/dev/char/<major:minor> of a removed device behind, and adding a device
    // with the same numbers elsewhere (the bootloader's interface) then aborts on the old link.
    std::error_code ec;
    for (fs::directory_iterator it(fs::path(m_root) / "sys/dev/char", ec), end; !ec && it != end; it.increment(ec))
        if (it->is_symlink(ec) && !fs::exists(it->path(), ec))
            fs::remove(it->path(), ec);
}

void UmockdevAttachment::removeDevice(const std::string& devicePath)
{
    sendUevent(devicePath, "remove");
    umockdev_testbed_remove_device(m_testbed, devicePath.c_str());
}

void UmockdevAttachment::sendUevent(const std::string& devicePath, const char* action)
{
    // umockdev looks the device up through libudev in this process, which finds the testbed's
    // devices only when this process runs under the preload itself (simpedal re-executes itself
    // so). Otherwise there is nobody to tell: the application polls sysfs and listens to none.
    if (m_inMockEnvironment)
        umockdev_testbed_uevent(m_testbed, devicePath.c_str(), action);
}
