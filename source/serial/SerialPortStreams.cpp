// The platform-neutral half of the two serial streams: buffers, notification, the public
// operations and the stopping procedure. The reader and writer loops are per platform
// (SerialPortStreams<Platform>.cpp).
#include "serial/SerialPortStreams.h"

#include "serial/SerialText.h"

#include <algorithm>
#include <cstring>

void SerialByteQueue::append(const void* bytes, size_t count)
{
    const auto* first = static_cast<const uint8_t*>(bytes);
    m_bytes.insert(m_bytes.end(), first, first + count);
}

void SerialByteQueue::discard(size_t count)
{
    m_head += std::min(count, size());
    if (m_head == m_bytes.size())
    {
        std::vector<uint8_t>().swap(m_bytes);
        m_head = 0;
    }
    else if (m_head >= 4096 && m_head * 2 >= m_bytes.size())
    {
        m_bytes.erase(m_bytes.begin(), m_bytes.begin() + (std::ptrdiff_t) m_head);
        m_head = 0;
    }
}

bool stopSerialThread(juce::Thread& thread, const char* className)
{
    for (int attempt = 0; attempt < 4; ++attempt)
    {
        thread.signalThreadShouldExit();
        if (thread.waitForThreadToExit(500))
            return true;
    }
    DebugLogger::logToFile("ERROR: Could not close " + juce::String(className) + "(). Forcing via stopThread().");
    thread.stopThread(0);
    return false;
}

// ---- Input stream ----

SerialPortInputStream::SerialPortInputStream(SerialPort* port)
    : juce::Thread("SerialInThread"), m_port(port)
{
    addListener(this);
    startThread();
}

SerialPortInputStream::~SerialPortInputStream()
{
    stopSerialThread(*this, "SerialPortInputStream");
    removeListener(this);
}

void SerialPortInputStream::setNotify(int32_t mode, uint8_t notifyByte)
{
    logToFile("SerialPortInputStream::setNotify( " + juce::String(mode) + " )");
    m_notifyByte = notifyByte;
    m_notifyMode = mode;
}

juce::int64 SerialPortInputStream::getTotalLength()
{
    std::lock_guard<std::mutex> lock(m_lock);
    return (juce::int64) m_buffer.size();
}

bool SerialPortInputStream::isExhausted()
{
    std::lock_guard<std::mutex> lock(m_lock);
    return m_buffer.size() == 0;
}

int SerialPortInputStream::read(void* destBuffer, int maxBytesToRead)
{
    if (maxBytesToRead <= 0)
        return 0;
    std::lock_guard<std::mutex> lock(m_lock);
    const auto count = std::min((size_t) maxBytesToRead, m_buffer.size());
    if (count == 0)
        return 0;
    std::memcpy(destBuffer, m_buffer.data(), count);
    m_buffer.discard(count);
    return (int) count;
}

juce::String SerialPortInputStream::readNextLine()
{
    std::vector<uint8_t> line;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        const auto* first = m_buffer.data();
        const auto available = m_buffer.size();
        const auto* lineFeed = available > 0 ? static_cast<const uint8_t*>(std::memchr(first, '\n', available)) : nullptr;
        const auto length = lineFeed != nullptr ? (size_t) (lineFeed - first) : available;
        line.assign(first, first + length);
        m_buffer.discard(lineFeed != nullptr ? length + 1 : length);
    }
    return serialTextFromBytes(line.data(), line.size()).trim();
}

bool SerialPortInputStream::hasLine()
{
    std::lock_guard<std::mutex> lock(m_lock);
    return m_buffer.size() > 0 && std::memchr(m_buffer.data(), '\n', m_buffer.size()) != nullptr;
}

void SerialPortInputStream::store(const uint8_t* bytes, size_t count)
{
    if (count == 0)
        return;
    bool notify = false;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_buffer.append(bytes, count);
        const auto mode = m_notifyMode.load();
        notify = mode == NOTIFY_ALWAYS
                 || (mode == NOTIFY_ON_CHAR && std::memchr(bytes, m_notifyByte.load(), count) != nullptr);
    }
    // Delivered on the message thread, only while a listener is registered; pending messages
    // coalesce into one callback.
    if (notify)
        sendChangeMessage();
}

// ---- Output stream ----

SerialPortOutputStream::SerialPortOutputStream(SerialPort* port)
    : juce::Thread("SerialOutThread"), m_port(port)
{
    addListener(this);
    startThread();
}

SerialPortOutputStream::~SerialPortOutputStream()
{
    stopSerialThread(*this, "SerialPortOutputStream");
    removeListener(this);
}

bool SerialPortOutputStream::write(const void* data, size_t numBytes)
{
    if (numBytes > 0)
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_queue.append(data, numBytes);
    }
    m_wake.signal();
    return true;
}

size_t SerialPortOutputStream::getPendingCount()
{
    std::lock_guard<std::mutex> lock(m_lock);
    return m_queue.size();
}

SerialPortOutputStream::Stats SerialPortOutputStream::getStats()
{
    std::lock_guard<std::mutex> lock(m_lock);
    return m_stats;
}

void SerialPortOutputStream::takeWritten(size_t offered, long accepted)
{
    std::lock_guard<std::mutex> lock(m_lock);
    ++m_stats.writeCalls;
    if (accepted > 0)
    {
        m_stats.bytesSent += (uint64_t) accepted;
        m_queue.discard((size_t) accepted);
    }
    if (accepted < (long) offered)
        ++m_stats.partialWrites;
    if (m_stats.firstChunks.size() < 64)
        m_stats.firstChunks.push_back(offered);
}
