#include "update/InstallerFile.h"

namespace InstallerFile
{
namespace
{
bool hasControlCharacter(const juce::String& name)
{
    for (auto p = name.getCharPointer(); !p.isEmpty(); ++p)
        if (*p < 0x20 || *p == 0x7f)
            return true;
    return false;
}
}

bool IsSafeName(const juce::String& name)
{
    return name.isNotEmpty() && !name.containsAnyOf("/\\:") && !name.contains("..") && !name.startsWithChar('.')
           && !hasControlCharacter(name);
}

juce::File UpdatesFolder(const juce::File& userFolder)
{
    return userFolder.getChildFile(kUpdatesFolder);
}

juce::File InstallerPath(const juce::File& userFolder, const juce::String& name)
{
    if (!IsSafeName(name))
        return {};
    const auto file = UpdatesFolder(userFolder).getChildFile(name);
    return file.getParentDirectory() == UpdatesFolder(userFolder) ? file : juce::File();
}

juce::File Save(const juce::File& userFolder, const juce::String& name, const juce::MemoryBlock& data)
{
    const auto file = InstallerPath(userFolder, name);
    if (file == juce::File() || !UpdatesFolder(userFolder).createDirectory())
        return {};
    file.deleteFile();
    return file.replaceWithData(data.getData(), data.getSize()) ? file : juce::File();
}

namespace
{
juce::String failureText(const juce::String& what, const juce::String& detail)
{
    return juce::String("An error was encounter while attempting to update this application.") + "\r\n\r\n" + what
           + "\r\n" + "  " + detail;
}
}

juce::String UnsafeNameMessage(const juce::String& name)
{
    return failureText("The update file name is not acceptable:", name);
}

juce::String NotSavedMessage(const juce::File& file)
{
    return failureText("The update file could not be saved:", file.getFullPathName());
}
}
