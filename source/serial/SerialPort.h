#pragma once

#include "diagnostics/DebugLogger.h"
#include "serial/SerialPortConfig.h"

#include <juce_core/juce_core.h>

#include <atomic>
#include <cstdint>

// One open serial port. It opens the port by path, applies and reads back the line settings,
// checks that the link is still usable and closes it. Reading and writing belong to the two
// streams (SerialPortStreams.h), which share the handle; finding ports is getSerialPortPaths.
//
// The interface is the same on every platform; each platform supplies SerialPort<Platform>.cpp
// (termios on Linux) and SerialPortEnumeration<Platform>.cpp.
class SerialPort : public DebugLogger
{
public:
#if JUCE_WINDOWS
    using NativeHandle = void*;
    static constexpr NativeHandle kNoHandle = nullptr;
#else
    using NativeHandle = int;
    static constexpr NativeHandle kNoHandle = -1;
#endif

    SerialPort() = default;
    // Opens the port at once; isOpen() tells whether that worked.
    explicit SerialPort(const juce::String& path);
    ~SerialPort();

    SerialPort(const SerialPort&) = delete;
    SerialPort& operator=(const SerialPort&) = delete;

    // Opens the port for reading and writing, exclusively, without waiting. On failure logs
    // "(SerialPort::open) CreateFile failed with error <errno>" and returns false.
    bool open(const juce::String& path);

    // Builds the line settings from scratch and applies them. False at once when not open.
    bool setConfig(const SerialPortConfig& config);

    // Reads the line settings back. The flow control is xonXoff, hardware or none (a port set to
    // noneLinesOff reads back as none). False when not open or unreadable.
    bool getConfig(SerialPortConfig& config);

    // Whether the link is still usable; logs "SerialPort::valid : !exists()" when never opened
    // and "SerialPort::valid : GetCommState() failed" when the device has gone.
    bool valid();

    bool isOpen() const { return m_handle.load() != kNoHandle; }

    // Closes the handle if one is held. Must not be called while the streams still exist.
    void close();

    const juce::String& getPath() const { return m_path; }

    // The operating-system handle the streams read and write; kNoHandle when not open.
    NativeHandle getNativeHandle() const { return m_handle.load(); }

    // Lists the serial ports present: key = a descriptive text carrying the USB identity as
    // "VID_xxxx", "PID_xxxx" and "MI_xx"; value = the path to give to open(). Empty vendor and
    // product ids list every USB serial port; interface 0 accepts any interface. When `log` is
    // given, the scan report is appended to it (followed by CR LF) only when it differs from the
    // last report of this process. `error` is set when the ports could not be listed at all.
    static juce::StringPairArray getSerialPortPaths(const juce::String& vendorId = {},
                                                    const juce::String& productId = {},
                                                    uint16_t interfaceNumber = 0,
                                                    juce::String* log = nullptr,
                                                    bool* error = nullptr);

    // Where getSerialPortPaths looks (Linux: the sysfs root, "/sys", and the device folder, "/dev").
    // The simulated pedal and the tests point these at trees of their own. Message thread only.
    static void setEnumerationRoots(const juce::File& sysfsRoot, const juce::File& deviceFolder);
    static juce::File getSysfsRoot();
    static juce::File getDeviceFolder();

    // Filled by the connection code from the results of open() and setConfig(), and read back
    // when it reports a failure.
    bool m_bOpened = false;
    bool m_bConfigured = false;

private:
    std::atomic<NativeHandle> m_handle { kNoHandle };
    juce::String m_path;
};
