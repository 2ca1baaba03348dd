#pragma once

#include <juce_core/juce_core.h>

#include <cstdint>
#include <optional>

// The size and digest checks of a downloaded firmware image or installer, with the texts the
// user sees when one fails.
namespace DownloadChecks
{
    inline constexpr const char* kTitle = "Update error";

    struct Failure
    {
        juce::String title;
        juce::String message;         // for the error alert (and, after "<RED>", the device log panel)
        juce::StringArray panelLines; // the installer's red log-panel lines, in order
    };

    // 32 lower-case hexadecimal digits.
    juce::String Md5Hex(const juce::MemoryBlock& data);

    // Firmware image: a size of -1 skips the size check, an empty digest skips the digest check.
    std::optional<Failure> CheckFirmwareImage(const juce::MemoryBlock& data, int32_t expectedSize,
                                              const juce::String& expectedMd5);

    // Installer: the size and the digest must both match exactly; the size is checked first.
    std::optional<Failure> CheckInstaller(const juce::MemoryBlock& data, int32_t expectedSize,
                                          const juce::String& expectedMd5);
}
