#include "simpedal/FakeSysfsTree.h"

#include <cctype>
#include <cstdio>
#include <fstream>
#include <system_error>

namespace fs = std::filesystem;

namespace
{
constexpr const char* kUsbBus = "devices/pci0000:00/0000:00:14.0/usb1";
constexpr int kAcmMajor = 166;

int ttyMinor(const std::string& ttyName)
{
    size_t digits = ttyName.size();
    while (digits > 0 && std::isdigit(static_cast<unsigned char>(ttyName[digits - 1])))
        --digits;
    return digits < ttyName.size() ? std::stoi(ttyName.substr(digits)) : 0;
}

void replaceSymlink(const fs::path& target, const fs::path& link)
{
    std::error_code ignored;
    fs::remove(link, ignored);
    fs::create_directories(link.parent_path());
    fs::create_symlink(target, link);
}
}

void writeFileAtomically(const fs::path& file, const std::string& text)
{
    const fs::path temporary = file.string() + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << text;
    }
    fs::rename(temporary, file);
}

FakeSysfsTree::FakeSysfsTree(fs::path sysRoot, fs::path devDir, std::string ttyName, std::string usbPort)
    : m_sysRoot(std::move(sysRoot)), m_devDir(std::move(devDir)), m_ttyName(std::move(ttyName)),
      m_usbPort(std::move(usbPort))
{
}

FakeSysfsTree::~FakeSysfsTree()
{
    detach();
}

fs::path FakeSysfsTree::usbDeviceFolder() const
{
    return m_sysRoot / kUsbBus / m_usbPort;
}

fs::path FakeSysfsTree::interfaceFolder(int interfaceNumber) const
{
    return usbDeviceFolder() / (m_usbPort + ":1." + std::to_string(interfaceNumber));
}

std::string FakeSysfsTree::devicePath() const
{
    return (m_devDir / m_ttyName).string();
}

void FakeSysfsTree::attach(const UsbIdentity& identity, const std::string& ptySlavePath)
{
    detach();
    writeDeviceFiles(identity);
    const fs::path ttyFolder = interfaceFolder(identity.interfaceNumber) / "tty" / m_ttyName;
    writeTtyFolder(ttyFolder);
    // The node first and the class entry last: whoever finds the entry finds a complete device.
    replaceSymlink(ptySlavePath, m_devDir / m_ttyName);
    replaceSymlink(fs::path("../..") / fs::relative(ttyFolder, m_sysRoot), m_sysRoot / "class/tty" / m_ttyName);
    m_attached = true;
}

void FakeSysfsTree::writeDeviceFiles(const UsbIdentity& identity) const
{
    const fs::path device = usbDeviceFolder();
    const fs::path interface = interfaceFolder(identity.interfaceNumber);
    fs::create_directories(interface);
    writeFileAtomically(device / "idVendor", identity.vid + "\n");
    writeFileAtomically(device / "idProduct", identity.pid + "\n");
    const std::pair<const char*, const std::string*> strings[] = {
        { "manufacturer", &identity.manufacturer }, { "product", &identity.product }, { "serial", &identity.serial } };
    for (const auto& [name, value] : strings)
        if (!value->empty())
            writeFileAtomically(device / name, *value + "\n");
    char number[8];
    std::snprintf(number, sizeof number, "%02x\n", identity.interfaceNumber);
    writeFileAtomically(interface / "bInterfaceNumber", number);
}

void FakeSysfsTree::writeTtyFolder(const fs::path& ttyFolder) const
{
    fs::create_directories(ttyFolder);
    writeFileAtomically(ttyFolder / "dev", std::to_string(kAcmMajor) + ":" + std::to_string(ttyMinor(m_ttyName)) + "\n");
    replaceSymlink("../..", ttyFolder / "device");
}

void FakeSysfsTree::detach()
{
    if (!m_attached)
        return;
    std::error_code ignored;
    fs::remove(m_sysRoot / "class/tty" / m_ttyName, ignored);
    fs::remove(m_devDir / m_ttyName, ignored);
    fs::remove_all(usbDeviceFolder(), ignored);
    m_attached = false;
}
