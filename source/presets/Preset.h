#pragma once

#include <juce_core/juce_core.h>

#include <array>
#include <cstdint>
#include <vector>

class PresetBank;

// One stored sound of a pedal. Three forms exist: this record, the serialized line of upper-case
// hexadecimal text with a checksum (exchanged with the pedal), and the scrambled file form.
// Only the Nimbrel's parameter block is known field by field; other models carry it as `body`.
struct Preset
{
    static constexpr int kNameLength = 16;
    static constexpr int kNimbrelModel = 1;
    static constexpr int kNimbrelRecordBytes = 56;
    static constexpr int kMaxParsedBytes = 512;
    static constexpr int kUnreadModel = 255;

    PresetBank* bank = nullptr;
    std::array<uint8_t, kNameLength + 1> name {};

    uint8_t DelayType = 0;
    float Delay = 0.0f;
    float Ratio = 0.0f;
    float Feedback = 0.0f;
    float Mix = 0.0f;
    float Mod = 0.0f;
    float Sensitivity = 0.0f;
    float Tone = 0.0f;
    float Saturation = 0.0f;
    uint8_t Dynamics = 0;
    uint8_t DynDest = 0;
    bool Trails = false;
    uint8_t FootState = 0;

    int32_t model = -1;
    std::vector<uint8_t> body;
    bool modified = false;
    bool readPending = false;
    bool notifyBank = false;

    Preset() = default;
    Preset(PresetBank* owningBank, int32_t deviceModel) : bank(owningBank), model(deviceModel) {}

    void Init(PresetBank* owningBank, int32_t deviceModel);

    // The model is not copied: a slot keeps the model of the pedal it belongs to.
    void CopyFrom(const Preset& other);
    void SetName(const juce::String& text);
    juce::String GetDisplayName() const;
    juce::String GetFileName() const;

    bool IsModified() const { return modified; }
    void ClearModified() { modified = false; }
    void MarkChanged();

    // Ends with CR LF, as the pedal expects the data line of a write.
    juce::String ToSerialized() const;
    // The text must not carry its line ending. A negative slot index logs without a slot number.
    bool ParseSerialized(const juce::String& text, int slotIndex, int32_t deviceModel);
    juce::MemoryBlock ToFileBytes() const;
    bool FromFileBytes(const juce::MemoryBlock& bytes);
    juce::String BuildSendLine(int slot) const;

    // The characters a name typed by the user may hold, and those display names drop.
    static const char* const kNameCharacters;
    static const char* const kHiddenNameCharacters;

private:
    std::vector<uint8_t> serializedBytes() const;
    void takeNimbrelFields(const std::array<uint8_t, kMaxParsedBytes>& bytes);
    void logChecksumError(int slotIndex) const;
};
