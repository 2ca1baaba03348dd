#include "update/DownloadChecks.h"

#include <juce_cryptography/juce_cryptography.h>

namespace DownloadChecks
{
namespace
{
constexpr const char* kDeviceIntro = "An error was encounter while attempting to update the device.";
constexpr const char* kAppIntro = "An error was encounter while attempting to update this application.";

juce::String sizeLines(int32_t expected, size_t received)
{
    return juce::String("Update file did not download correctly:") + "\r\n" + "  Expected: " + juce::String(expected)
           + " bytes" + "\r\n" + "  Received: " + juce::String((juce::int64) received) + " bytes";
}

juce::String digestLines(const juce::String& expected, const juce::String& calculated)
{
    return juce::String("Update file checksum failed:") + "\r\n" + "  Expected: " + expected + "\r\n"
           + "  Calculated: " + calculated;
}

Failure failure(const char* intro, const juce::String& details, juce::StringArray panelLines = {})
{
    return { kTitle, juce::String(intro) + "\r\n\r\n" + details, std::move(panelLines) };
}

bool sizeMatches(const juce::MemoryBlock& data, int32_t expectedSize)
{
    return expectedSize >= 0 && data.getSize() == (size_t) expectedSize;
}
}

juce::String Md5Hex(const juce::MemoryBlock& data)
{
    return juce::MD5(data).toHexString();
}

std::optional<Failure> CheckFirmwareImage(const juce::MemoryBlock& data, int32_t expectedSize,
                                          const juce::String& expectedMd5)
{
    if (expectedSize != -1 && !sizeMatches(data, expectedSize))
        return failure(kDeviceIntro, sizeLines(expectedSize, data.getSize()));
    if (expectedMd5.isEmpty())
        return std::nullopt;
    const auto digest = Md5Hex(data);
    if (digest != expectedMd5)
        return failure(kDeviceIntro, digestLines(expectedMd5, digest));
    return std::nullopt;
}

std::optional<Failure> CheckInstaller(const juce::MemoryBlock& data, int32_t expectedSize,
                                      const juce::String& expectedMd5)
{
    if (!sizeMatches(data, expectedSize))
        return failure(kAppIntro, sizeLines(expectedSize, data.getSize()),
                       { "<RED>File size mismatch!", "<RED>  Expected: " + juce::String(expectedSize) + " bytes",
                         "<RED>  Received: " + juce::String((juce::int64) data.getSize()) + " bytes" });

    const auto digest = Md5Hex(data);
    if (digest != expectedMd5)
        return failure(kAppIntro, digestLines(expectedMd5, digest),
                       { "<RED>Checksum mismatch!", "<RED>  Expected: " + expectedMd5, "<RED>  Calculated: " + digest });
    return std::nullopt;
}
}
