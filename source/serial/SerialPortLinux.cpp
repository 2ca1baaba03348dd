// SerialPort on Linux: a tty opened without blocking, locked for this process, and driven through
// the kernel's termios2 interface (SerialPortTermios.h).
#include "serial/SerialPort.h"
#include "serial/SerialPortTermios.h"

#if JUCE_LINUX

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>

SerialPort::SerialPort(const juce::String& path)
{
    open(path);
}

SerialPort::~SerialPort()
{
    close();
}

bool SerialPort::open(const juce::String& path)
{
    close();
    m_path = path;

    const int fd = ::open(path.toRawUTF8(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
    {
        logToFile("(SerialPort::open) CreateFile failed with error " + juce::String(errno));
        return false;
    }

    // TIOCEXCL keeps other processes out (root is let through by the kernel); the lock keeps out
    // every program that locks as we do, root included, and a second open in this process.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0)
    {
        const int error = errno == EWOULDBLOCK ? EBUSY : errno;
        ::close(fd);
        logToFile("(SerialPort::open) CreateFile failed with error " + juce::String(error));
        return false;
    }
    if (::ioctl(fd, TIOCEXCL) != 0)
        logToFile("(SerialPort::open) TIOCEXCL failed with error " + juce::String(errno));

    m_handle = fd;
    return true;
}

bool SerialPort::setConfig(const SerialPortConfig& config)
{
    const int fd = m_handle.load();
    if (fd == kNoHandle)
        return false;

    termios2 t;
    if (!SerialTermios::build(config, t))
    {
        logToFile("(SerialPort::setConfig) SetCommState failed with error " + juce::String(EINVAL));
        return false;
    }
    if (::ioctl(fd, TCSETS2, &t) != 0)
    {
        logToFile("(SerialPort::setConfig) SetCommState failed with error " + juce::String(errno));
        return false;
    }

    const int lines = TIOCM_DTR | TIOCM_RTS;
    const bool linesOff = config.flowControl == SerialFlowControl::noneLinesOff;
    if (::ioctl(fd, linesOff ? TIOCMBIC : TIOCMBIS, &lines) != 0)
    {
        const int error = errno;
        // A pseudo terminal has no modem lines and says so with ENOTTY (some drivers: EINVAL).
        if (error != ENOTTY && error != EINVAL)
        {
            logToFile("(SerialPort::setConfig) SetCommState failed with error " + juce::String(error));
            return false;
        }
        logToFile("<ORANGE>(SerialPort::setConfig) DTR/RTS not set, the device has no modem lines, error "
                  + juce::String(error));
    }
    return true;
}

bool SerialPort::getConfig(SerialPortConfig& config)
{
    const int fd = m_handle.load();
    termios2 t;
    if (fd == kNoHandle || ::ioctl(fd, TCGETS2, &t) != 0)
        return false;
    config = SerialTermios::read(t);
    return true;
}

bool SerialPort::valid()
{
    const int fd = m_handle.load();
    if (fd == kNoHandle)
    {
        logToFile("SerialPort::valid : !exists()");
        return false;
    }
    // A hung-up tty (device unplugged, or the far end of a pseudo terminal closed) answers EIO.
    termios2 t;
    if (::ioctl(fd, TCGETS2, &t) != 0)
    {
        logToFile("SerialPort::valid : GetCommState() failed");
        return false;
    }
    return true;
}

void SerialPort::close()
{
    const int fd = m_handle.exchange(kNoHandle);
    if (fd != kNoHandle)
        ::close(fd);
}

#endif
