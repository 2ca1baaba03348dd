#include "diagnostics/DebugLogger.h"

#include "app/BuildInfo.h"
#include "app/Clock.h"
#include "app/HomeFolder.h"
#include "diagnostics/LogFormat.h"

#include <mutex>

namespace
{
// Records come from the message thread and, in a few places, from workers: one lock keeps
// every append whole.
std::mutex g_appendLock;
constexpr juce::int64 kMaxLogSize = 1024 * 1024;
}

juce::File DebugLogger::logFile()
{
    const auto folder = HomeFolder::halvane();
    if (folder == juce::File())
        return {};
    return folder.getChildFile(BuildInfo::appName().removeCharacters(" ") + ".log");
}

void DebugLogger::prepareLogFile()
{
    const auto file = logFile();
    if (file == juce::File())
        return;
    file.getParentDirectory().createDirectory();
    if (file.existsAsFile() && file.getSize() > kMaxLogSize)
        file.deleteFile();
}

void DebugLogger::logToFile(const juce::String& message)
{
    const auto text = LogFormat::record(Clock::nowMs(), message);
    const auto file = logFile();
    if (file == juce::File())
        return;

    std::lock_guard<std::mutex> lock(g_appendLock);
    juce::FileOutputStream out(file, 32768);  // opens positioned at the end
    if (out.failedToOpen())
        return;
    out.writeText(text, false, false, nullptr);
    out.flush();
}
