#pragma once

#include "presets/Preset.h"

#include <juce_core/juce_core.h>

#include <array>
#include <vector>

// The presets of the connected pedal (128 slots) and those found on the computer (the library),
// with the cursor the transfer loops walk.
class PresetBank
{
public:
    static constexpr int kSlotCount = 128;

    // Where the bank and its records write their log lines and status text; the main component.
    class Owner
    {
    public:
        virtual ~Owner() = default;
        virtual void logMessage(const juce::String& text, bool replaceLast) = 0;
        virtual void setStatusLine(const juce::String& text, bool repaintNow) = 0;
        // Keeps the last log line on screen instead of letting the next one replace it.
        virtual void KeepLastLogLine() = 0;
    };

    explicit PresetBank(Owner* bankOwner);

    Preset* GetSlot(int i);
    Preset* GetLibraryPreset(int i);
    Preset* GetCurrentSlot();
    int CountModified() const;
    void MarkAllReadPending();
    bool NextReadPending();
    bool NextModified();
    void MoveSlot(int from, int to);

    std::array<Preset, kSlotCount> slots;
    std::vector<Preset> library;
    bool modified = false;
    int32_t cursor = 0;
    juce::String autoBackupFile;
    Owner* owner = nullptr;

    bool hasArchiveSettings = false;
    int archiveMidiChannel = 255;
    int archiveBpmMode = 0;
    int archiveDryKill = 0;
    int archivePingPong = 0;

private:
    JUCE_DECLARE_NON_COPYABLE(PresetBank)
};
