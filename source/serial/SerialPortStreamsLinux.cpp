// The reader and writer loops on Linux: poll() on the port and on the stream's eventfd, so a
// thread sleeps until bytes arrive, the device can take more, data is queued or it is asked to
// exit. Every wait is bounded (100 ms), and a device that has gone away (hung up, erroring) is
// waited on instead of spun on.
#include "serial/SerialPortStreams.h"

#if JUCE_LINUX

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

namespace
{
constexpr int kWaitMs = 100;
constexpr short kGone = POLLHUP | POLLERR | POLLNVAL;
}

SerialWakeEvent::SerialWakeEvent()
    : m_fd(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC))
{
    jassert(m_fd >= 0);
}

SerialWakeEvent::~SerialWakeEvent()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

void SerialWakeEvent::signal()
{
    const uint64_t one = 1;
    [[maybe_unused]] const auto written = ::write(m_fd, &one, sizeof(one));
}

void SerialWakeEvent::consume()
{
    uint64_t count = 0;
    [[maybe_unused]] const auto got = ::read(m_fd, &count, sizeof(count));
}

namespace
{
// Sleeps until the wake event is signalled (then consumes it) or `ms` have passed.
void waitForWake(SerialWakeEvent& wake, int ms)
{
    pollfd pfd { wake.fd(), POLLIN, 0 };
    if (::poll(&pfd, 1, ms) > 0)
        wake.consume();
}
}

void SerialPortInputStream::run()
{
    uint8_t chunk[4096];
    while (m_port != nullptr && m_port->isOpen() && !threadShouldExit())
    {
        pollfd fds[2] = { { m_port->getNativeHandle(), POLLIN, 0 }, { m_wake.fd(), POLLIN, 0 } };
        if (::poll(fds, 2, kWaitMs) < 0)
        {
            if (errno != EINTR)
                waitForWake(m_wake, kWaitMs);
            continue;
        }
        if (fds[1].revents & POLLIN)
            m_wake.consume();
        if ((fds[0].revents & (POLLIN | kGone)) == 0)
            continue;

        // Drain everything that has arrived.
        bool gotAny = false;
        while (!threadShouldExit())
        {
            const auto got = ::read(fds[0].fd, chunk, sizeof(chunk));
            if (got > 0)
            {
                gotAny = true;
                store(chunk, (size_t) got);
                continue;
            }
            if (got < 0 && errno == EINTR)
                continue;
            break;  // EAGAIN: drained; 0 or an error: the device has gone
        }
        // Ready but nothing to read: a hung-up or failing device stays "ready" for ever.
        if (!gotAny)
            waitForWake(m_wake, kWaitMs);
    }
}

void SerialPortOutputStream::run()
{
    uint8_t chunk[kChunkSize];
    while (m_port != nullptr && m_port->isOpen() && !threadShouldExit())
    {
        size_t count = 0;
        {
            std::lock_guard<std::mutex> lock(m_lock);
            count = std::min(m_queue.size(), kChunkSize);
            if (count > 0)
                std::memcpy(chunk, m_queue.data(), count);
        }
        if (count == 0)
        {
            waitForWake(m_wake, kWaitMs);
            continue;
        }

        const int fd = m_port->getNativeHandle();
        const auto written = ::write(fd, chunk, count);
        const int error = written < 0 ? errno : 0;
        takeWritten(count, (long) written);
        if (written > 0 || error == EINTR)
            continue;  // unwritten bytes stay queued for the next pass

        if (error == EAGAIN || error == EWOULDBLOCK)
        {
            // The device's buffer is full: wait until it takes more, or for a wake-up.
            pollfd fds[2] = { { fd, POLLOUT, 0 }, { m_wake.fd(), POLLIN, 0 } };
            if (::poll(fds, 2, kWaitMs) > 0 && (fds[1].revents & POLLIN))
                m_wake.consume();
            if ((fds[0].revents & kGone) == 0)
                continue;
        }
        // The device failed or has gone: try again later without spinning.
        waitForWake(m_wake, kWaitMs);
    }
}

#endif
