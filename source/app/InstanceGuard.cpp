#include "app/InstanceGuard.h"

#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace
{
constexpr int kPollMs = 200;
constexpr size_t kMaxCommandLineBytes = 64 * 1024;

bool toAddress(const juce::File& file, sockaddr_un& address)
{
    const auto path = file.getFullPathName().toStdString();
    std::memset(&address, 0, sizeof(address));
    address.sun_family = AF_UNIX;
    if (path.empty() || path.size() >= sizeof(address.sun_path))
        return false;
    std::memcpy(address.sun_path, path.c_str(), path.size());
    return true;
}

bool sendAll(int fd, const char* data, size_t size)
{
    while (size > 0)
    {
        const auto sent = ::send(fd, data, size, MSG_NOSIGNAL);
        if (sent <= 0)
            return false;
        data += sent;
        size -= (size_t) sent;
    }
    return true;
}
}

InstanceGuard::InstanceGuard(const juce::String& name)
    : juce::Thread("InstanceGuard"), m_lock("hvInstance_" + name),
      m_socketFile(juce::File::getSpecialLocation(juce::File::userHomeDirectory)
                       .getChildFile("." + name.removeCharacters(" ") + ".socket"))
{
}

InstanceGuard::~InstanceGuard()
{
    stopThread(2 * kPollMs + 1000);
    if (m_listenFd >= 0)
    {
        ::close(m_listenFd);
        m_socketFile.deleteFile();
    }
}

bool InstanceGuard::claim(Handler onAnotherInstance)
{
    if (!m_lock.enter(0))
        return false;
    m_handler = std::move(onAnotherInstance);
    // Without a socket the instance still runs alone; later starts are then refused silently.
    if (listen())
        startThread();
    return true;
}

bool InstanceGuard::listen()
{
    sockaddr_un address;
    if (!toAddress(m_socketFile, address))
        return false;
    // We hold the lock, so a socket file left here belongs to an instance that died.
    ::unlink(address.sun_path);
    m_listenFd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (m_listenFd < 0)
        return false;
    if (::bind(m_listenFd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 || ::listen(m_listenFd, 4) != 0)
    {
        ::close(m_listenFd);
        m_listenFd = -1;
        return false;
    }
    return true;
}

void InstanceGuard::run()
{
    pollfd waiting { m_listenFd, POLLIN, 0 };
    while (!threadShouldExit())
    {
        if (::poll(&waiting, 1, kPollMs) <= 0)
            continue;
        const int connection = ::accept4(m_listenFd, nullptr, nullptr, SOCK_CLOEXEC);
        if (connection >= 0)
        {
            receiveFrom(connection);
            ::close(connection);
        }
    }
}

void InstanceGuard::receiveFrom(int connection)
{
    const timeval timeout { 1, 0 };  // a silent peer must not stall the listener
    ::setsockopt(connection, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof(timeout));
    std::string received;
    char buffer[4096];
    for (;;)
    {
        const auto got = ::recv(connection, buffer, sizeof(buffer), 0);
        if (got <= 0)
            break;
        received.append(buffer, (size_t) got);
        if (received.size() > kMaxCommandLineBytes)
            return;
    }
    const auto commandLine = juce::String::fromUTF8(received.data(), (int) received.size());
    juce::MessageManager::callAsync([handler = m_handler, commandLine] { handler(commandLine); });
}

bool InstanceGuard::forward(const juce::String& commandLine)
{
    sockaddr_un address;
    if (!toAddress(m_socketFile, address))
        return false;
    // The running instance may hold the lock a moment before it listens.
    for (int attempt = 0; attempt < 20; ++attempt)
    {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd < 0)
            return false;
        if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0)
        {
            const auto utf8 = commandLine.toStdString();
            const bool sent = sendAll(fd, utf8.data(), utf8.size());
            ::close(fd);
            return sent;
        }
        ::close(fd);
        juce::Thread::sleep(100);
    }
    return false;
}
