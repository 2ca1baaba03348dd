#pragma once

#include <juce_core/juce_core.h>

#include <cstdint>

// A firmware or application version: "v1.04.011.0.master.20210408140335". Ordering and equality
// use the four numbers only; date, time and channel never take part.
struct VersionInfo
{
    uint16_t major = 0;
    uint16_t minor = 0;
    uint16_t build = 0;
    uint16_t revision = 0;
    int32_t date = 0;
    int32_t time = 0;
    juce::String channel;

    VersionInfo() = default;
    explicit VersionInfo(const juce::String& text) { parse(text); }

    // Never fails: fields without digits become zero.
    void parse(const juce::String& text);

    juce::String toString() const;
    juce::String formatBody(const juce::String& fallback) const;
    juce::String toShortString() const;

    bool isZero() const;
    // A version was read: the four numbers are not all zero (date, time and channel aside).
    bool isKnown() const { return major != 0 || minor != 0 || build != 0 || revision != 0; }
    bool equalNumbers(const VersionInfo& other) const;
    bool isOlderThan(const VersionInfo& other) const;
    bool isAtLeast(const VersionInfo& other) const { return !isOlderThan(other); }

private:
    juce::String timeText() const;

public:
    static constexpr const char* kUnknown = "v0.0.0.0.UNDEF.0";
    static constexpr int kMaxChannelBytes = 127;
};
