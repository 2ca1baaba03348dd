#pragma once

#include "simpedal/PedalAttachment.h"

#include <filesystem>

// A USB serial device laid out in a sysfs-like folder and a dev folder, as Linux shows a CDC ACM
// function, so the port enumeration finds it without privileges:
//   <sys>/class/tty/<tty> -> ../../devices/pci0000:00/0000:00:14.0/usb1/<port>/<port>:1.<n>/tty/<tty>
//   <sys>/devices/.../<port>/idVendor, idProduct, manufacturer, product, serial
//   <sys>/devices/.../<port>/<port>:1.<n>/bInterfaceNumber
//   <sys>/devices/.../<port>:1.<n>/tty/<tty>/device -> ../..   and  .../dev ("166:<minor>")
//   <dev>/<tty> -> the pty slave
class FakeSysfsTree : public PedalAttachment
{
public:
    FakeSysfsTree(std::filesystem::path sysRoot, std::filesystem::path devDir, std::string ttyName, std::string usbPort);
    ~FakeSysfsTree() override;

    void attach(const UsbIdentity& identity, const std::string& ptySlavePath) override;
    void detach() override;
    std::string devicePath() const override;

    std::filesystem::path usbDeviceFolder() const;

private:
    std::filesystem::path interfaceFolder(int interfaceNumber) const;
    void writeDeviceFiles(const UsbIdentity& identity) const;
    void writeTtyFolder(const std::filesystem::path& ttyFolder) const;

    std::filesystem::path m_sysRoot;
    std::filesystem::path m_devDir;
    std::string m_ttyName;
    std::string m_usbPort;
    bool m_attached = false;
};

// Writes text through a temporary file and a rename, so a reader never sees half of it.
void writeFileAtomically(const std::filesystem::path& file, const std::string& text);
