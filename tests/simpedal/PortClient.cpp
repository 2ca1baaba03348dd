#include "PortClient.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

PortClient::PortClient(const std::string& path)
{
    m_fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
}

PortClient::~PortClient()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

void PortClient::write(const std::string& bytes)
{
    [[maybe_unused]] const auto n = ::write(m_fd, bytes.data(), bytes.size());
}

bool PortClient::fill(std::chrono::milliseconds timeout)
{
    pollfd fd { m_fd, POLLIN, 0 };
    if (::poll(&fd, 1, static_cast<int>(timeout.count())) <= 0 || !(fd.revents & POLLIN))
        return false;
    char buffer[4096];
    const ssize_t n = ::read(m_fd, buffer, sizeof buffer);
    if (n <= 0)
        return false;
    m_buffer.append(buffer, static_cast<size_t>(n));
    return true;
}

std::string PortClient::readLine(std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;)
    {
        const auto end = m_buffer.find('\n');
        if (end != std::string::npos)
        {
            std::string line = m_buffer.substr(0, end);
            m_buffer.erase(0, end + 1);
            // The reader trims white space, so a "\r" on either side of the line disappears.
            while (!line.empty() && (line.back() == '\r'))
                line.pop_back();
            while (!line.empty() && (line.front() == '\r'))
                line.erase(0, 1);
            return line;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0 || !fill(left))
            return kTimeout;
    }
}

std::string PortClient::readFor(std::chrono::milliseconds window)
{
    const auto deadline = std::chrono::steady_clock::now() + window;
    for (;;)
    {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            break;
        fill(left);
    }
    std::string all;
    all.swap(m_buffer);
    return all;
}

bool PortClient::waitForHangup(std::chrono::milliseconds timeout)
{
    pollfd fd { m_fd, POLLIN, 0 };
    if (::poll(&fd, 1, static_cast<int>(timeout.count())) <= 0)
        return false;
    char byte;
    return (fd.revents & (POLLHUP | POLLERR)) != 0 || ::read(m_fd, &byte, 1) <= 0;
}
