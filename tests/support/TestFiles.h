#pragma once

#include <juce_core/juce_core.h>

#include <cstdlib>
#include <string>

// Points $HOME at a fresh empty folder for the scope and restores the previous value after.
class ScopedHome
{
public:
    ScopedHome()
        : m_previous(std::getenv("HOME") != nullptr ? std::getenv("HOME") : ""),
          m_folder(juce::File::createTempFile("home"))
    {
        m_folder.createDirectory();
        setenv("HOME", m_folder.getFullPathName().toRawUTF8(), 1);
    }

    ~ScopedHome()
    {
        setenv("HOME", m_previous.c_str(), 1);
        m_folder.deleteRecursively();
    }

    const juce::File& folder() const { return m_folder; }
    juce::File logFile() const { return m_folder.getChildFile("Halvane/HVPlatformUpdater.log"); }
    juce::File settingsFile() const
    {
        return m_folder.getChildFile("HV Platform Updater/HV Platform Updater.settings");
    }

private:
    std::string m_previous;
    juce::File m_folder;
};

// The exact bytes of a file as a std::string (empty when it does not exist).
inline std::string fileBytes(const juce::File& file)
{
    juce::MemoryBlock block;
    file.loadFileAsData(block);
    return std::string(static_cast<const char*>(block.getData()), block.getSize());
}

// The bytes the log file gained since `mark()` (or construction).
class LogTail
{
public:
    explicit LogTail(juce::File file) : m_file(std::move(file)) { mark(); }
    void mark() { m_start = fileBytes(m_file).size(); }
    std::string added() const { return fileBytes(m_file).substr(m_start); }

private:
    juce::File m_file;
    size_t m_start = 0;
};

// True when a display is there for windows and alerts.
inline bool haveDisplay()
{
    const char* display = std::getenv("DISPLAY");
    return display != nullptr && *display != 0;
}

#define SKIP_WITHOUT_DISPLAY()                    \
    do                                            \
    {                                             \
        if (!haveDisplay())                       \
            GTEST_SKIP() << "no display (DISPLAY unset)"; \
    } while (false)
