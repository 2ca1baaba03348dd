// The reader and writer streams on a real pseudo terminal: the test plays the device on the
// master side, the streams run on the slave opened through SerialPort.
#include "serial/SerialPortStreams.h"
#include "support/Pty.h"

#include <gtest/gtest.h>

#include <sys/resource.h>

namespace
{
struct CountingListener : public juce::ChangeListener
{
    void changeListenerCallback(juce::ChangeBroadcaster*) override
    {
        ++calls;
        if (onChange)
            onChange();
    }
    int calls = 0;
    std::function<void()> onChange;
};

// CPU time this process has used, in milliseconds.
double cpuMs()
{
    rusage usage {};
    ::getrusage(RUSAGE_SELF, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000.0
           + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1000.0;
}

std::string pattern(size_t size)
{
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i)
        bytes[i] = (char) ('a' + (i * 7 + i / 26) % 26);
    return bytes;
}

struct PortOnPty : public ::testing::Test
{
    void SetUp() override
    {
        ASSERT_TRUE(pty.ok());
        ASSERT_TRUE(port.open(pty.slavePath()));
        ASSERT_TRUE(port.setConfig(SerialPortConfig::pedal()));
    }
    Pty pty;
    SerialPort port;
};

// How the connection code sets up the reader: a listener, then notify on line feed.
struct Reader : public PortOnPty
{
    void SetUp() override
    {
        PortOnPty::SetUp();
        input = std::make_unique<SerialPortInputStream>(&port);
        input->addChangeListener(&listener);
        input->setNotify(SerialPortInputStream::NOTIFY_ON_CHAR, '\n');
    }
    void TearDown() override
    {
        if (input != nullptr)
            input->removeChangeListener(&listener);
        input.reset();
    }
    bool buffered(juce::int64 count, int timeoutMs = 2000)
    {
        return waitUntil([&] { return input->getTotalLength() >= count; }, timeoutMs);
    }
    CountingListener listener;
    std::unique_ptr<SerialPortInputStream> input;
};

struct Writer : public PortOnPty
{
    void SetUp() override
    {
        PortOnPty::SetUp();
        output = std::make_unique<SerialPortOutputStream>(&port);
    }
    std::unique_ptr<SerialPortOutputStream> output;
};
}

TEST_F(Reader, ThreadIsNamedAndSetNotifyIsLogged)
{
    EXPECT_EQ(juce::String("SerialInThread"), input->getThreadName());
    EXPECT_TRUE(input->isThreadRunning());
    LogTail log;
    input->setNotify(2, 'x');
    EXPECT_TRUE(log.contains("\tSerialPortInputStream::setNotify( 2 )\n")) << log.text();
}

TEST_F(Reader, OkLineGivesOneCallbackAndReadsBackWithoutCrLf)
{
    juce::String line;
    listener.onChange = [&] { line = input->readNextLine(); };
    ASSERT_TRUE(pty.send("OK\r\n"));

    ASSERT_TRUE(pumpMessagesUntil([&] { return listener.calls > 0; }, 2000));
    pumpMessagesUntil([] { return false; }, 100);  // nothing else may follow
    EXPECT_EQ(1, listener.calls);
    EXPECT_EQ(juce::String("OK"), line);
    EXPECT_EQ(0, input->getTotalLength());
    EXPECT_TRUE(input->isExhausted());
    EXPECT_FALSE(input->hasLine());
}

TEST_F(Reader, TwoLinesBeforeTheCallbackGiveOneCallbackAndBothStayBuffered)
{
    juce::StringArray lines;
    listener.onChange = [&] {
        while (input->hasLine())
            lines.add(input->readNextLine());
    };
    ASSERT_TRUE(pty.send("Version\r\n"));
    ASSERT_TRUE(buffered(9));
    ASSERT_TRUE(pty.send("v1.04.011\r\n"));  // a separate arrival, a second change message
    ASSERT_TRUE(buffered(20));
    EXPECT_EQ(0, listener.calls);  // not delivered until the message loop runs

    ASSERT_TRUE(pumpMessagesUntil([&] { return listener.calls > 0; }, 2000));
    pumpMessagesUntil([] { return false; }, 100);
    EXPECT_EQ(1, listener.calls);
    EXPECT_EQ(juce::StringArray({ "Version", "v1.04.011" }), lines);
}

TEST_F(Reader, PartialLineGivesNoCallbackAndStaysBuffered)
{
    ASSERT_TRUE(pty.send("OK"));
    ASSERT_TRUE(buffered(2));
    pumpMessagesUntil([] { return false; }, 200);
    EXPECT_EQ(0, listener.calls);
    EXPECT_FALSE(input->hasLine());
    EXPECT_EQ(2, input->getTotalLength());

    // The rest of the line completes it.
    ASSERT_TRUE(pty.send("\n"));
    ASSERT_TRUE(pumpMessagesUntil([&] { return listener.calls == 1; }, 2000));
    EXPECT_TRUE(input->hasLine());
    EXPECT_EQ(juce::String("OK"), input->readNextLine());
}

TEST_F(Reader, ReadNextLineWithoutLineFeedTakesWhatIsThere)
{
    ASSERT_TRUE(pty.send("  partial "));
    ASSERT_TRUE(buffered(10));
    EXPECT_EQ(juce::String("partial"), input->readNextLine());
    EXPECT_TRUE(input->isExhausted());
    EXPECT_EQ(juce::String(), input->readNextLine());
}

TEST_F(Reader, ReadTakesAtMostWhatIsBufferedAndNeverWaits)
{
    ASSERT_TRUE(pty.send("abc"));
    ASSERT_TRUE(buffered(3));
    char bytes[16] = {};
    EXPECT_EQ(0, input->read(bytes, 0));
    EXPECT_EQ(3, input->getTotalLength());
    EXPECT_EQ(2, input->read(bytes, 2));
    EXPECT_EQ(std::string("ab"), std::string(bytes, 2));
    EXPECT_EQ(1, input->read(bytes, 16));
    EXPECT_EQ('c', bytes[0]);

    const auto start = juce::Time::getMillisecondCounterHiRes();
    EXPECT_EQ(0, input->read(bytes, 16));
    EXPECT_LT(juce::Time::getMillisecondCounterHiRes() - start, 50.0);
    EXPECT_EQ(-1, input->getPosition());
    EXPECT_FALSE(input->setPosition(0));
}

TEST_F(Reader, FrameworkReadsWorkOnTheStream)
{
    ASSERT_TRUE(pty.send(std::string("\x12\x34\x56\x78", 4)));
    ASSERT_TRUE(buffered(4));
    EXPECT_EQ(0x12345678, input->readIntBigEndian());
}

TEST_F(Reader, NotifyModes)
{
    input->setNotify(SerialPortInputStream::NOTIFY_OFF, '\n');
    ASSERT_TRUE(pty.send("line\n"));
    ASSERT_TRUE(buffered(5));
    pumpMessagesUntil([] { return false; }, 150);
    EXPECT_EQ(0, listener.calls);

    input->setNotify(SerialPortInputStream::NOTIFY_ALWAYS, 0);
    ASSERT_TRUE(pty.send("x"));
    EXPECT_TRUE(pumpMessagesUntil([&] { return listener.calls == 1; }, 2000));

    input->setNotify(SerialPortInputStream::NOTIFY_ON_CHAR, '#');  // any byte can be the one
    ASSERT_TRUE(pty.send("ab\n"));
    ASSERT_TRUE(buffered(9));
    pumpMessagesUntil([] { return false; }, 150);
    EXPECT_EQ(1, listener.calls);
    ASSERT_TRUE(pty.send("#"));
    EXPECT_TRUE(pumpMessagesUntil([&] { return listener.calls == 2; }, 2000));

    input->setNotify(SerialPortInputStream::NOTIFY_ON_CHAR, 0xFF);  // compared as unsigned bytes
    ASSERT_TRUE(pty.send("\xFF"));
    EXPECT_TRUE(pumpMessagesUntil([&] { return listener.calls == 3; }, 2000));
}

TEST_F(Reader, WithoutListenerBytesAreBufferedAndNobodyIsTold)
{
    input->removeChangeListener(&listener);
    ASSERT_TRUE(pty.send("OK\r\n"));
    ASSERT_TRUE(buffered(4));
    pumpMessagesUntil([] { return false; }, 150);
    EXPECT_EQ(0, listener.calls);
    EXPECT_TRUE(input->hasLine());
}

TEST_F(Reader, InvalidUtf8IsReadWithoutHarm)
{
    // A stray continuation byte, a truncated sequence and invalid lead bytes.
    ASSERT_TRUE(pty.send(std::string("A\x80" "B\xC3\n\xFF\xFE" "C\n", 9)));
    ASSERT_TRUE(buffered(9));
    const auto first = input->readNextLine();
    const auto second = input->readNextLine();
    EXPECT_TRUE(first.startsWith("A"));
    EXPECT_TRUE(first.contains("B"));
    EXPECT_TRUE(second.endsWith("C"));
    EXPECT_EQ(4, first.length());  // one character per byte
    EXPECT_EQ(3, second.length());

    ASSERT_TRUE(pty.send("caf\xC3\xA9\n"));  // valid UTF-8 stays UTF-8
    ASSERT_TRUE(buffered(6));
    EXPECT_EQ(juce::String(juce::CharPointer_UTF8("caf\xc3\xa9")), input->readNextLine());
}

TEST_F(Reader, SixtyFourKibibytesWithoutLineFeed)
{
    const auto bytes = pattern(64 * 1024);
    ASSERT_TRUE(pty.send(bytes));
    ASSERT_TRUE(buffered((juce::int64) bytes.size(), 5000));
    pumpMessagesUntil([] { return false; }, 100);
    EXPECT_EQ(0, listener.calls);
    EXPECT_FALSE(input->hasLine());
    EXPECT_EQ(juce::String(bytes), input->readNextLine());
    EXPECT_TRUE(input->isExhausted());
}

TEST_F(Reader, BytesAfterThePeerClosedNeitherCrashNorHangNorSpin)
{
    ASSERT_TRUE(pty.send("late\r\n"));
    pty.closeMaster();  // the tty is hung up now

    pumpMessagesUntil([] { return false; }, 200);
    EXPECT_LE(listener.calls, 1);
    while (input->hasLine())
        EXPECT_EQ(juce::String("late"), input->readNextLine());

    // A hung-up tty is always "ready": the reader must wait, not spin on it.
    const auto before = cpuMs();
    juce::Thread::sleep(500);
    EXPECT_LT(cpuMs() - before, 100.0);

    const auto start = juce::Time::getMillisecondCounterHiRes();
    input->removeChangeListener(&listener);
    input.reset();
    EXPECT_LT(juce::Time::getMillisecondCounterHiRes() - start, 600.0);
}

TEST_F(Reader, IdleStreamsSleep)
{
    SerialPortOutputStream output(&port);
    const auto before = cpuMs();
    juce::Thread::sleep(500);
    EXPECT_LT(cpuMs() - before, 50.0);
}

TEST_F(Reader, DestructionIsPromptAndDropsTheBuffer)
{
    ASSERT_TRUE(pty.send("unread\n"));
    ASSERT_TRUE(buffered(7));
    LogTail log;
    const auto start = juce::Time::getMillisecondCounterHiRes();
    input->removeChangeListener(&listener);
    input.reset();
    EXPECT_LT(juce::Time::getMillisecondCounterHiRes() - start, 100.0);
    EXPECT_FALSE(log.contains("Could not close"));
    pumpMessagesUntil([] { return false; }, 50);  // a message still queued must not reach anyone
    EXPECT_EQ(0, listener.calls);
}

TEST_F(Writer, ThreadIsNamedAndPositionless)
{
    EXPECT_EQ(juce::String("SerialOutThread"), output->getThreadName());
    EXPECT_TRUE(output->isThreadRunning());
    EXPECT_EQ(-1, output->getPosition());
    EXPECT_FALSE(output->setPosition(0));
    output->flush();
    EXPECT_TRUE(output->write("", 0));
    EXPECT_EQ(0u, output->getPendingCount());
}

TEST_F(Writer, ThirteenHundredBytesLeaveIn512ByteChunks)
{
    const auto bytes = pattern(1300);
    EXPECT_TRUE(output->write(bytes.data(), bytes.size()));
    EXPECT_EQ(bytes, pty.receive(bytes.size(), 3000));
    ASSERT_TRUE(waitUntil([&] { return output->getPendingCount() == 0; }, 1000));

    const auto stats = output->getStats();
    EXPECT_EQ(1300u, stats.bytesSent);
    ASSERT_FALSE(stats.firstChunks.empty());
    for (const auto size : stats.firstChunks)
        EXPECT_LE(size, 512u);
    // The pty takes each chunk whole, so exactly three calls.
    EXPECT_EQ(std::vector<size_t>({ 512, 512, 276 }), stats.firstChunks);
    EXPECT_EQ(0u, stats.partialWrites);
}

TEST_F(Writer, FrameworkWritesWorkOnTheStream)
{
    EXPECT_TRUE(output->writeIntBigEndian(0x0A0B0C0D));
    EXPECT_TRUE(output->writeText("Version\n", false, false, nullptr));
    EXPECT_EQ(std::string("\x0A\x0B\x0C\x0DVersion\n"), pty.receive(12, 3000));
}

TEST_F(Writer, ADeviceThatTakesLessKeepsTheRestQueuedAndSendsEachByteOnce)
{
    // Far more than the pty holds: the writer meets partial writes and a full device.
    const auto bytes = pattern(300 * 1024);
    output->write(bytes.data(), bytes.size());
    ASSERT_TRUE(waitUntil([&] { return output->getStats().partialWrites > 0; }, 3000));
    juce::Thread::sleep(100);
    EXPECT_GT(output->getPendingCount(), 0u);

    // While it waits for room it must not spin.
    const auto before = cpuMs();
    juce::Thread::sleep(300);
    EXPECT_LT(cpuMs() - before, 60.0);

    EXPECT_EQ(bytes, pty.receive(bytes.size(), 10000));
    ASSERT_TRUE(waitUntil([&] { return output->getPendingCount() == 0; }, 2000));
    const auto stats = output->getStats();
    EXPECT_EQ(bytes.size(), stats.bytesSent);
}

TEST_F(Writer, DestructionWhileThePeerNeverReadsEndsPromptly)
{
    const auto bytes = pattern(300 * 1024);
    output->write(bytes.data(), bytes.size());
    ASSERT_TRUE(waitUntil([&] { return output->getStats().partialWrites > 0; }, 3000));
    juce::Thread::sleep(150);  // the writer is now waiting for room that never comes

    LogTail log;
    const auto start = juce::Time::getMillisecondCounterHiRes();
    output.reset();
    const auto elapsed = juce::Time::getMillisecondCounterHiRes() - start;
    EXPECT_LT(elapsed, 600.0);  // well inside the first of the four 500 ms waits
    EXPECT_FALSE(log.contains("Could not close"));
}

TEST_F(Writer, BytesToAVanishedPeerStayQueuedWithoutSpinning)
{
    pty.closeMaster();
    const auto bytes = pattern(2000);
    output->write(bytes.data(), bytes.size());
    juce::Thread::sleep(100);
    const auto before = cpuMs();
    juce::Thread::sleep(400);
    EXPECT_LT(cpuMs() - before, 60.0);
    EXPECT_EQ(bytes.size(), output->getPendingCount());

    const auto start = juce::Time::getMillisecondCounterHiRes();
    output.reset();
    EXPECT_LT(juce::Time::getMillisecondCounterHiRes() - start, 600.0);
}

namespace
{
// A thread that ignores exit requests for a while, like one stuck in a device call.
class StubbornThread : public juce::Thread
{
public:
    explicit StubbornThread(int busyMs) : juce::Thread("Stubborn"), m_busyMs(busyMs) {}
    void run() override
    {
        const auto end = juce::Time::getMillisecondCounter() + (juce::uint32) m_busyMs;
        while (juce::Time::getMillisecondCounter() < end)
            juce::Thread::sleep(5);
    }

private:
    int m_busyMs;
};
}

TEST(SerialStreamStop, WaitsUpToFourTimesHalfASecond)
{
    DebugLogger::prepareLogFile();
    StubbornThread thread(1200);
    thread.startThread();
    LogTail log;
    const auto start = juce::Time::getMillisecondCounterHiRes();
    EXPECT_TRUE(stopSerialThread(thread, "SerialPortOutputStream"));
    const auto elapsed = juce::Time::getMillisecondCounterHiRes() - start;
    EXPECT_GE(elapsed, 1100.0);  // the third wait saw it end
    EXPECT_LT(elapsed, 1900.0);
    EXPECT_FALSE(thread.isThreadRunning());
    EXPECT_FALSE(log.contains("Could not close"));
}

TEST(SerialStreamStop, AThreadThatIsNotRunningStopsAtOnce)
{
    StubbornThread thread(0);
    const auto start = juce::Time::getMillisecondCounterHiRes();
    EXPECT_TRUE(stopSerialThread(thread, "SerialPortInputStream"));
    EXPECT_LT(juce::Time::getMillisecondCounterHiRes() - start, 50.0);
}
