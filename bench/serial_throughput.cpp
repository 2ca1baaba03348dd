// Throughput and round-trip latency of the serial streams through a pseudo terminal.
//
//   bench_serial_throughput [megabytes=4] [round trips=2000]
//
// The benchmark plays the device on the pty's master side; the application side is a SerialPort
// on the slave with its two streams, set up as the connection code sets them up (notify on line
// feed, a change listener on the message thread). Prints the figures and, beside them, the
// floor a real pedal link imposes (115200 bit/s 8N1 on the wire, 1 ms USB round trip).
#include "serial/SerialPortStreams.h"

#include <juce_events/juce_events.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace juce
{
// The framework's own "wait for and dispatch the next message" (its Linux run loop); the public
// runDispatchLoopUntil sleeps in 1 ms steps and would hide sub-millisecond latencies.
bool dispatchNextMessageOnSystemQueue(bool returnIfNoPendingMessages);
}

namespace
{
using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

constexpr double kWireBytesPerSecond = 115200.0 / 10.0;  // 8N1: ten bits per byte
constexpr double kUsbRoundTripMs = 1.0;                  // the simulated pedal's default

struct LineListener : public juce::ChangeListener
{
    void changeListenerCallback(juce::ChangeBroadcaster*) override
    {
        while (input->hasLine())
        {
            input->readNextLine();
            ++lines;
        }
    }
    SerialPortInputStream* input = nullptr;
    int lines = 0;
};

// The device side: echoes every byte back, until stopped.
class Echo
{
public:
    explicit Echo(int fd) : m_fd(fd), m_thread([this] { run(); }) {}
    ~Echo()
    {
        m_stop = true;
        m_thread.join();
    }

private:
    void run()
    {
        char buffer[4096];
        while (!m_stop)
        {
            pollfd pfd { m_fd, POLLIN, 0 };
            if (::poll(&pfd, 1, 50) <= 0)
                continue;
            const auto got = ::read(m_fd, buffer, sizeof(buffer));
            for (ssize_t done = 0; got > 0 && done < got;)
            {
                const auto n = ::write(m_fd, buffer + done, (size_t) (got - done));
                if (n > 0)
                    done += n;
                else if (errno != EINTR && errno != EAGAIN)
                    break;
            }
        }
    }
    int m_fd;
    std::atomic<bool> m_stop { false };
    std::thread m_thread;
};

void appToDevice(int master, SerialPortOutputStream& output, size_t total)
{
    std::vector<char> bytes(total, 'x');
    std::atomic<size_t> received { 0 };
    std::thread device([&] {
        char buffer[65536];
        const auto deadline = Clock::now() + std::chrono::seconds(60);
        while (received < total && Clock::now() < deadline)
        {
            pollfd pfd { master, POLLIN, 0 };
            if (::poll(&pfd, 1, 50) > 0)
            {
                const auto n = ::read(master, buffer, sizeof(buffer));
                if (n > 0)
                    received += (size_t) n;
            }
        }
    });

    const auto before = output.getStats();
    const auto start = Clock::now();
    output.write(bytes.data(), bytes.size());
    device.join();
    const auto seconds = secondsSince(start);
    const auto stats = output.getStats();
    const auto calls = stats.writeCalls - before.writeCalls;
    const auto sent = stats.bytesSent - before.bytesSent;

    std::printf("app -> device: %zu bytes in %.3f s = %.2f MB/s (%llu write calls, %.0f bytes per call, "
                "%llu partial or refused)\n",
                received.load(), seconds, received / seconds / 1e6, (unsigned long long) calls,
                calls ? (double) sent / (double) calls : 0.0,
                (unsigned long long) (stats.partialWrites - before.partialWrites));
    std::printf("    floor on the pedal's wire (115200 8N1): %.0f bytes/s, so %.1f s for these bytes; "
                "the streams run %.0fx faster than the wire\n",
                kWireBytesPerSecond, (double) total / kWireBytesPerSecond,
                (received / seconds) / kWireBytesPerSecond);
}

void deviceToApp(int master, SerialPortInputStream& input, size_t total)
{
    std::thread device([&] {
        std::vector<char> bytes(65536, 'y');
        size_t sent = 0;
        while (sent < total)
        {
            const auto n = ::write(master, bytes.data(), std::min(bytes.size(), total - sent));
            if (n > 0)
                sent += (size_t) n;
            else if (errno != EINTR && errno != EAGAIN)
                break;
        }
    });

    std::vector<char> sink(65536);
    size_t received = 0;
    const auto start = Clock::now();
    const auto deadline = start + std::chrono::seconds(60);
    while (received < total && Clock::now() < deadline)
    {
        const auto n = input.read(sink.data(), (int) sink.size());
        received += (size_t) n;
        if (n == 0)
            std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    const auto seconds = secondsSince(start);
    device.join();
    std::printf("device -> app: %zu bytes in %.3f s = %.2f MB/s (floor on the wire: %.0f bytes/s)\n", received,
                seconds, received / seconds / 1e6, kWireBytesPerSecond);
}

struct Percentiles
{
    double min, median, p99, max;
};

Percentiles percentiles(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const auto at = [&](double q) { return values[std::min(values.size() - 1, (size_t) (q * (double) values.size()))]; };
    return { values.front(), at(0.5), at(0.99), values.back() };
}

void roundTrips(SerialPortOutputStream& output, LineListener& listener, int count)
{
    // Keeps the blocking dispatch below bounded should a reply ever be lost.
    std::atomic<bool> running { true };
    std::thread watchdog([&] {
        while (running)
        {
            std::this_thread::sleep_for(std::chrono::milliseconds(250));
            juce::MessageManager::callAsync([] {});
        }
    });

    const std::string line = "Preset 042\n";  // a typical request line
    std::vector<double> delivered;
    for (int i = 0; i < count; ++i)
    {
        const auto linesBefore = listener.lines;
        const auto start = Clock::now();
        output.write(line.data(), line.size());
        // Sleep in the framework's run loop until the listener has taken the echoed line, as the
        // application's message thread does.
        const auto deadline = start + std::chrono::seconds(2);
        while (listener.lines == linesBefore && Clock::now() < deadline)
            juce::dispatchNextMessageOnSystemQueue(false);
        delivered.push_back(secondsSince(start) * 1e3);
    }
    running = false;
    watchdog.join();

    const auto wireMs = 2.0 * (double) line.size() / kWireBytesPerSecond * 1e3;
    const auto d = percentiles(delivered);
    std::printf("round trip of a %zu-byte line to the listener on the message thread, %d times (ms):\n",
                line.size(), count);
    std::printf("    min %.3f  median %.3f  p99 %.3f  max %.3f\n", d.min, d.median, d.p99, d.max);
    std::printf("    floor on a real pedal: %.3f ms on the wire both ways + %.1f ms USB round trip = %.3f ms\n", wireMs,
                kUsbRoundTripMs, wireMs + kUsbRoundTripMs);
}
}

int main(int argc, char** argv)
{
    const size_t megabytes = argc > 1 ? (size_t) std::max(1, std::atoi(argv[1])) : 4;
    const int trips = argc > 2 ? std::max(1, std::atoi(argv[2])) : 2000;

    juce::ScopedJuceInitialiser_GUI framework;

    const int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0)
    {
        std::fprintf(stderr, "no pseudo terminal: %d\n", errno);
        return 1;
    }
    SerialPort port(::ptsname(master));
    if (!port.isOpen() || !port.setConfig(SerialPortConfig::pedal()))
    {
        std::fprintf(stderr, "cannot open %s\n", ::ptsname(master));
        return 1;
    }

    {
        auto input = std::make_unique<SerialPortInputStream>(&port);
        auto output = std::make_unique<SerialPortOutputStream>(&port);
        LineListener listener;
        listener.input = input.get();
        input->addChangeListener(&listener);
        input->setNotify(SerialPortInputStream::NOTIFY_ON_CHAR, '\n');

        std::printf("serial streams over a pty (%s), 115200 8N1 settings\n", port.getPath().toRawUTF8());
        appToDevice(master, *output, megabytes * 1024 * 1024);
        deviceToApp(master, *input, megabytes * 1024 * 1024);
        {
            Echo echo(master);
            roundTrips(*output, listener, trips);
        }

        input->removeChangeListener(&listener);
        const auto start = Clock::now();
        input.reset();
        output.reset();
        std::printf("both streams stopped in %.3f ms\n", secondsSince(start) * 1e3);
    }
    port.close();
    ::close(master);
    return 0;
}
