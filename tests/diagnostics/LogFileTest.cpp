#include "app/Clock.h"
#include "diagnostics/DebugLogger.h"
#include "diagnostics/LogFormat.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <regex>
#include <thread>
#include <vector>

namespace
{
constexpr int64_t kStampTime = 0x1'89AB'CDEFll;  // low 32 bits 0x89abcdef
}

TEST(LogRecord, StampIsLowThirtyTwoBitsInEightLowerCaseHexDigits)
{
    EXPECT_EQ(LogFormat::record(kStampTime, "x"), "0x89abcdef:\tx\n");
    EXPECT_EQ(LogFormat::record(5, "x"), "0x00000005:\tx\n");
    // The stamp wraps every 2^32 ms and is then smaller than the one before.
    EXPECT_EQ(LogFormat::record(0x1'0000'0000ll, ""), "0x00000000:\t\n");
    EXPECT_EQ(LogFormat::record(0xFFFF'FFFFll, ""), "0xffffffff:\t\n");
}

TEST(LogRecord, EscapesTabCrLfThenEndMarkerInThatOrder)
{
    EXPECT_EQ(LogFormat::escape("a\tb"), "a{\\t}b");
    EXPECT_EQ(LogFormat::escape("a\r\nb"), "a{\\r}{\\n}b");
    EXPECT_EQ(LogFormat::escape("one{END}two"), "one\r\ntwo");
    // {END} is replaced last, so its line break is real while the message's own ones stay escaped.
    EXPECT_EQ(LogFormat::escape("\t\r\n{END}\n"), "{\\t}{\\r}{\\n}\r\n{\\n}");
    EXPECT_EQ(LogFormat::escape("{END}{END}"), "\r\n\r\n");
    EXPECT_EQ(LogFormat::escape("{end}"), "{end}");
}

class LogFile : public testing::Test
{
protected:
    ScopedHome home;
    Clock::ScopedManualClock clock { kStampTime };
};

TEST_F(LogFile, RecordsAreAppendedAsExactBytesWithColourTagsKept)
{
    DebugLogger::prepareLogFile();
    DebugLogger::logToFile("a\tb");
    clock.advance(1);
    DebugLogger::logToFile("<ORANGE>Debug mode enabled.");
    clock.advance(1);
    DebugLogger::logToFile("first{END}second\r\n");
    DebugLogger::logToFile({});

    EXPECT_EQ(fileBytes(home.logFile()), "0x89abcdef:\ta{\\t}b\n"
                                         "0x89abcdf0:\t<ORANGE>Debug mode enabled.\n"
                                         "0x89abcdf1:\tfirst\r\nsecond{\\r}{\\n}\n"
                                         "0x89abcdf1:\t\n");
}

TEST_F(LogFile, UnicodeIsWrittenAsUtf8WithoutByteOrderMark)
{
    DebugLogger::prepareLogFile();
    DebugLogger::logToFile(juce::String(juce::CharPointer_UTF8("caf\xc3\xa9")));
    EXPECT_EQ(fileBytes(home.logFile()), "0x89abcdef:\tcaf\xc3\xa9\n");
}

TEST_F(LogFile, FileOfMoreThanOneMebibyteIsDeletedAtPreparation)
{
    const auto file = home.logFile();
    file.getParentDirectory().createDirectory();
    file.replaceWithData(std::string(1'048'577, 'x').data(), 1'048'577);

    DebugLogger::prepareLogFile();
    EXPECT_FALSE(file.exists());
    DebugLogger::logToFile("fresh");
    EXPECT_EQ(fileBytes(file), "0x89abcdef:\tfresh\n");
}

TEST_F(LogFile, FileOfExactlyOneMebibyteIsKeptAndAppendedTo)
{
    const auto file = home.logFile();
    file.getParentDirectory().createDirectory();
    file.replaceWithData(std::string(1'048'576, 'x').data(), 1'048'576);

    DebugLogger::prepareLogFile();
    ASSERT_EQ(file.getSize(), 1'048'576);
    DebugLogger::logToFile("more");
    EXPECT_EQ(fileBytes(file).substr(1'048'576), "0x89abcdef:\tmore\n");
}

TEST_F(LogFile, PreparationCreatesTheFolderAndLeavesADirectoryOfTheLogNameAlone)
{
    DebugLogger::prepareLogFile();
    EXPECT_TRUE(home.folder().getChildFile("Halvane").isDirectory());

    home.logFile().createDirectory();
    home.logFile().getChildFile("inside").create();
    DebugLogger::prepareLogFile();
    EXPECT_TRUE(home.logFile().getChildFile("inside").existsAsFile());
}

TEST_F(LogFile, RecordThatCannotBeOpenedIsDroppedAndLoggingGoesOn)
{
    home.logFile().createDirectory();  // a folder where the file should be
    DebugLogger::logToFile("dropped");
    EXPECT_TRUE(home.logFile().isDirectory());

    home.logFile().deleteRecursively();
    DebugLogger::logToFile("kept");
    EXPECT_EQ(fileBytes(home.logFile()), "0x89abcdef:\tkept\n");
}

TEST_F(LogFile, HomeThatIsAFileDropsRecordsWithoutCrashing)
{
    const auto notAFolder = home.folder().getChildFile("plain-file");
    notAFolder.replaceWithText("not a folder");
    setenv("HOME", notAFolder.getFullPathName().toRawUTF8(), 1);

    DebugLogger::prepareLogFile();
    DebugLogger::logToFile("nowhere to go");
    EXPECT_EQ(notAFolder.loadFileAsString(), "not a folder");
}

TEST_F(LogFile, MissingHomeIsCreatedWithTheLogFolder)
{
    const auto missing = home.folder().getChildFile("gone/deeper");
    setenv("HOME", missing.getFullPathName().toRawUTF8(), 1);

    DebugLogger::prepareLogFile();
    DebugLogger::logToFile("here");
    EXPECT_EQ(fileBytes(missing.getChildFile("Halvane/HVPlatformUpdater.log")), "0x89abcdef:\there\n");
}

TEST_F(LogFile, EmptyHomeWritesNoLogAtTheFileSystemRoot)
{
    setenv("HOME", "", 1);
    DebugLogger::prepareLogFile();
    DebugLogger::logToFile("homeless");
    EXPECT_FALSE(juce::File("/Halvane/HVPlatformUpdater.log").existsAsFile());
    EXPECT_EQ(DebugLogger::logFile(), juce::File());
}

TEST_F(LogFile, AppendsFromManyThreadsStayWholeAndNoneIsLost)
{
    constexpr int kThreads = 8;
    constexpr int kRecordsEach = 200;
    const juce::String payload = juce::String::repeatedString("0123456789", 40);
    DebugLogger::prepareLogFile();

    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([t, &payload] {
            for (int i = 0; i < kRecordsEach; ++i)
                DebugLogger::logToFile("T" + juce::String(t) + "#" + juce::String(i) + " " + payload);
        });
    for (auto& thread : threads)
        thread.join();

    const auto lines = juce::StringArray::fromLines(home.logFile().loadFileAsString());
    ASSERT_EQ(lines.size(), kThreads * kRecordsEach + 1);  // + the empty text after the last "\n"
    std::vector<int> seen(kThreads, 0);
    const std::regex shape("0x89abcdef:\tT([0-9])#([0-9]+) (0123456789){40}");
    for (int i = 0; i < kThreads * kRecordsEach; ++i)
    {
        std::smatch match;
        const std::string line = lines[i].toStdString();
        ASSERT_TRUE(std::regex_match(line, match, shape)) << line;
        ++seen[(size_t) std::stoi(match[1])];
    }
    for (int count : seen)
        EXPECT_EQ(count, kRecordsEach);
}
