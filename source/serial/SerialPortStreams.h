#pragma once

#include "diagnostics/DebugLogger.h"
#include "serial/SerialPort.h"

#include <juce_events/juce_events.h>

#include <atomic>
#include <cstdint>
#include <mutex>
#include <vector>

// Wakes a stream thread out of its wait: on a write request, or when the thread is asked to exit.
// One per stream; each platform implements it (Linux: an eventfd the thread polls beside the port).
class SerialWakeEvent
{
public:
    SerialWakeEvent();
    ~SerialWakeEvent();
    SerialWakeEvent(const SerialWakeEvent&) = delete;
    SerialWakeEvent& operator=(const SerialWakeEvent&) = delete;

    void signal();
    void consume();
#if !JUCE_WINDOWS
    int fd() const { return m_fd; }

private:
    int m_fd = -1;
#endif
};

// Bytes held oldest first, taken from the front; an emptied buffer gives its memory back.
class SerialByteQueue
{
public:
    size_t size() const { return m_bytes.size() - m_head; }
    const uint8_t* data() const { return m_bytes.data() + m_head; }
    void append(const void* bytes, size_t count);
    void discard(size_t count);

private:
    std::vector<uint8_t> m_bytes;
    size_t m_head = 0;
};

// Stops a stream thread: asks it to exit and waits up to 500 ms, at most four times; a thread
// still running then is logged as "ERROR: Could not close <className>(). Forcing via
// stopThread()." and stopped by force. Returns true when it ended by itself.
bool stopSerialThread(juce::Thread& thread, const char* className);

// The receiving side of an open port. Its thread "SerialInThread" drains received bytes into a
// buffer as they arrive; after a notifying byte (setNotify) it sends a change message, which the
// framework delivers asynchronously on the message thread to every registered
// juce::ChangeListener. Messages coalesce: one callback may stand for several lines, so a listener
// consumes every buffered line (while (hasLine()) readNextLine()).
class SerialPortInputStream final : public juce::InputStream,
                                    public juce::ChangeBroadcaster,
                                    public juce::Thread,
                                    public DebugLogger,
                                    private juce::Thread::Listener
{
public:
    enum NotifyMode : int32_t
    {
        NOTIFY_OFF = 0,
        NOTIFY_ON_CHAR = 1,
        NOTIFY_ALWAYS = 2,
    };

    // Starts the reader thread at once. The port is not owned and must outlive the stream.
    explicit SerialPortInputStream(SerialPort* port);
    ~SerialPortInputStream() override;

    // Logs "SerialPortInputStream::setNotify( <mode> )": 0 never, 1 on `notifyByte`, 2 on every byte.
    void setNotify(int32_t mode, uint8_t notifyByte);

    juce::int64 getTotalLength() override;  // bytes buffered now
    bool isExhausted() override;            // nothing buffered
    int read(void* destBuffer, int maxBytesToRead) override;  // never waits
    // The next line without its line feed, trimmed of white space (so a CR goes too); without a
    // line feed buffered, everything buffered. Invalid UTF-8 is taken byte by byte.
    juce::String readNextLine() override;
    juce::int64 getPosition() override { return -1; }
    bool setPosition(juce::int64) override { return false; }

    // Whether a complete line is buffered.
    bool hasLine();

    void run() override;

private:
    void exitSignalSent() override { m_wake.signal(); }
    void store(const uint8_t* bytes, size_t count);

    SerialPort* m_port;
    std::mutex m_lock;
    SerialByteQueue m_buffer;
    std::atomic<int32_t> m_notifyMode { NOTIFY_OFF };
    std::atomic<uint8_t> m_notifyByte { 0 };
    SerialWakeEvent m_wake;
};

// The sending side of an open port. write() only queues; the thread "SerialOutThread" sends the
// queue in chunks of at most 512 bytes, keeping whatever the device did not take for the next
// pass. Bytes still queued when the stream is destroyed are dropped.
class SerialPortOutputStream final : public juce::OutputStream,
                                     public juce::Thread,
                                     public DebugLogger,
                                     private juce::Thread::Listener
{
public:
    static constexpr size_t kChunkSize = 512;

    // Starts the writer thread at once. The port is not owned and must outlive the stream.
    explicit SerialPortOutputStream(SerialPort* port);
    ~SerialPortOutputStream() override;

    void flush() override {}
    bool setPosition(juce::int64) override { return false; }
    juce::int64 getPosition() override { return -1; }
    // Queues the bytes and wakes the writer; always true.
    bool write(const void* data, size_t numBytes) override;

    // Bytes queued and not yet taken by the device.
    size_t getPendingCount();

    // What the writer has done so far, for diagnostics and the benchmark.
    struct Stats
    {
        uint64_t writeCalls = 0;    // calls that handed a chunk to the device
        uint64_t bytesSent = 0;     // bytes the device took
        uint64_t partialWrites = 0; // calls in which it took fewer bytes than offered
        std::vector<size_t> firstChunks;  // sizes offered by the first 64 calls
    };
    Stats getStats();

    void run() override;

private:
    void exitSignalSent() override { m_wake.signal(); }
    void takeWritten(size_t offered, long accepted);  // drops what the device took, counts the call

    SerialPort* m_port;
    std::mutex m_lock;
    SerialByteQueue m_queue;
    Stats m_stats;
    SerialWakeEvent m_wake;  // the data-available event, also used to wake for exit
};
