#pragma once

#include "simpedal/PedalAttachment.h"

#include <memory>
#include <string>
#include <vector>

typedef struct _UMockdevTestbed UMockdevTestbed;
class TtyIoctlHandler;

// A pedal in a umockdev testbed: a program started with this testbed's environment (UMOCKDEV_DIR
// and the libumockdev-preload library, see preloadEnvironment) sees the pedal in /sys and as
// /dev/<tty>, exactly where Linux puts a CDC ACM function, so the unchanged application finds and
// opens it. The USB device, its interface and the tty are added parents first with their "add"
// uevents; unplugging removes them children first, each after its "remove" uevent (uevents need
// this process under the preload too, see sendUevent). The /dev node
// is a link to the pedal's pty made here, and its ioctls go to a TtyIoctlHandler.
//
// The testbed's folder and the ioctl handler go away with this object: a preloaded program that
// still has the port open then fails its next call, so stop such programs first.
class UmockdevAttachment : public PedalAttachment
{
public:
    explicit UmockdevAttachment(std::string ttyName = "ttyACM0", std::string usbPort = "1-1");
    ~UmockdevAttachment() override;
    UmockdevAttachment(const UmockdevAttachment&) = delete;
    UmockdevAttachment& operator=(const UmockdevAttachment&) = delete;

    void attach(const UsbIdentity& identity, const std::string& ptySlavePath) override;
    void detach() override;
    std::string devicePath() const override;  // "/dev/<tty>", as the preloaded program sees it

    std::string rootDir() const { return m_root; }
    // "UMOCKDEV_DIR=<root>" and "LD_PRELOAD=libumockdev-preload.so.0[:<previous>]".
    std::vector<std::string> preloadEnvironment() const;

    // Re-executes this program (argv as main got it) under the preload unless it already runs so;
    // only then do the uevents reach listeners. Throws when it cannot.
    static void runUnderPreload(char** argv);

    // What the program did to the port's modem lines and exclusive mode (TtyIoctlHandler).
    int modemLines() const;
    bool exclusive() const;
    int openCount() const;

private:
    static std::string preloadList();
    std::string usbDevicePath() const;
    std::string interfacePath(int interfaceNumber) const;
    void addDevice(const std::string& description, const std::string& devicePath);
    void removeDevice(const std::string& devicePath);
    void removeStaleNumberLinks();
    void makeDeviceNode(const std::string& ptySlavePath);
    void sendUevent(const std::string& devicePath, const char* action);

    UMockdevTestbed* m_testbed = nullptr;
    bool m_inMockEnvironment = false;
    std::unique_ptr<TtyIoctlHandler> m_ioctls;
    std::string m_root;
    std::string m_ttyName;
    std::string m_usbPort;
    std::vector<std::string> m_added;  // device paths, parents first
};
