#include "presets/Preset.h"

#include "device/DeviceCatalogue.h"
#include "presets/PresetBank.h"

#include <cstring>

const char* const Preset::kNameCharacters =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz1234567890$&()_-+={[}]'`~!$%&. ";
const char* const Preset::kHiddenNameCharacters = "@#^;,";

namespace
{
constexpr int kNameOffset = 2;
constexpr int kBodyOffset = 18;
constexpr uint8_t kScrambleStart = 0x69;
constexpr uint8_t kScrambleStep = 0x11;
constexpr int kScrambleOffset = 6;

uint8_t checksumOf(const uint8_t* bytes, size_t count)
{
    unsigned sum = 0;
    for (size_t i = 0; i < count; ++i)
        sum += bytes[i];
    return static_cast<uint8_t>(sum & 0xFF);
}

void appendFloat(std::vector<uint8_t>& bytes, float value)
{
    uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    for (int shift = 24; shift >= 0; shift -= 8)
        bytes.push_back(static_cast<uint8_t>(bits >> shift));
}

float floatAt(const std::array<uint8_t, Preset::kMaxParsedBytes>& bytes, int offset)
{
    uint32_t bits = 0;
    for (int i = 0; i < 4; ++i)
        bits = (bits << 8) | bytes[static_cast<size_t>(offset + i)];
    float value = 0.0f;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

juce::String toHex(const uint8_t* bytes, size_t count)
{
    static const char digits[] = "0123456789ABCDEF";
    juce::String text;
    text.preallocateBytes(count * 2 + 2);
    for (size_t i = 0; i < count; ++i)
    {
        text << digits[bytes[i] >> 4];
        text << digits[bytes[i] & 0x0F];
    }
    return text;
}

// Pairs of characters from the first; a lone final character is a pair of its own. Only the
// hexadecimal digits of a pair count, so "G1" gives 0x01 and a pair without digits gives 0.
size_t decodePairs(const juce::String& text, uint8_t* out, size_t capacity)
{
    size_t count = 0;
    auto p = text.getCharPointer();
    while (!p.isEmpty() && count < capacity)
    {
        unsigned value = 0;
        for (int i = 0; i < 2 && !p.isEmpty(); ++i)
        {
            const int digit = juce::CharacterFunctions::getHexDigitValue(p.getAndAdvance());
            if (digit >= 0)
                value = value * 16 + static_cast<unsigned>(digit);
        }
        out[count++] = static_cast<uint8_t>(value);
    }
    return count;
}

void scramble(uint8_t* bytes, size_t count, bool forward)
{
    uint8_t offset = kScrambleStart;
    for (size_t i = kScrambleOffset; i < count; ++i, offset = static_cast<uint8_t>(offset + kScrambleStep))
        bytes[i] = static_cast<uint8_t>(forward ? bytes[i] + offset : bytes[i] - offset);
}
}

void Preset::Init(PresetBank* owningBank, int32_t deviceModel)
{
    bank = owningBank;
    model = deviceModel;
    notifyBank = true;
    body.clear();
}

void Preset::MarkChanged()
{
    modified = true;
    if (notifyBank && bank != nullptr)
        bank->modified = true;
}

void Preset::CopyFrom(const Preset& other)
{
    name = other.name;
    if (model == kNimbrelModel)
    {
        DelayType = other.DelayType;
        Delay = other.Delay;
        Ratio = other.Ratio;
        Feedback = other.Feedback;
        Mix = other.Mix;
        Mod = other.Mod;
        Sensitivity = other.Sensitivity;
        Tone = other.Tone;
        Saturation = other.Saturation;
        Dynamics = other.Dynamics;
        DynDest = other.DynDest;
        Trails = other.Trails;
        FootState = other.FootState;
    }
    else
    {
        body = other.body;
    }
    MarkChanged();
}

void Preset::SetName(const juce::String& text)
{
    name.fill(0);
    const int length = juce::jmin(text.length(), kNameLength);
    for (int i = 0; i < length; ++i)
        name[static_cast<size_t>(i)] = static_cast<uint8_t>(text[i] & 0xFF);
    MarkChanged();
}

juce::String Preset::GetDisplayName() const
{
    juce::String text;
    for (int i = 0; i < kNameLength && name[static_cast<size_t>(i)] != 0; ++i)
        text << juce::String::charToString(static_cast<juce::juce_wchar>(name[static_cast<size_t>(i)]));
    return text.removeCharacters(kHiddenNameCharacters);
}

juce::String Preset::GetFileName() const
{
    return GetDisplayName() + ".pst";
}

std::vector<uint8_t> Preset::serializedBytes() const
{
    const uint16_t typeCode = DeviceCatalogue::presetPlatform(model).typeCode;
    std::vector<uint8_t> bytes { static_cast<uint8_t>(typeCode >> 8), static_cast<uint8_t>(typeCode & 0xFF) };
    bytes.insert(bytes.end(), name.begin(), name.begin() + kNameLength);
    if (model == kNimbrelModel)
    {
        bytes.push_back(DelayType);
        for (float value : { Delay, Ratio, Feedback, Mix, Mod, Sensitivity, Tone, Saturation })
            appendFloat(bytes, value);
        bytes.insert(bytes.end(), { Dynamics, DynDest, static_cast<uint8_t>(Trails ? 1 : 0), FootState });
    }
    else
    {
        bytes.insert(bytes.end(), body.begin(), body.end());
    }
    bytes.push_back(checksumOf(bytes.data(), bytes.size()));
    return bytes;
}

juce::String Preset::ToSerialized() const
{
    const auto bytes = serializedBytes();
    return toHex(bytes.data(), bytes.size()) + "\r\n";
}

juce::String Preset::BuildSendLine(int slot) const
{
    return juce::String::formatted("%02X", slot) + ToSerialized();
}

bool Preset::ParseSerialized(const juce::String& text, int slotIndex, int32_t deviceModel)
{
    model = deviceModel;
    // Zero-filled, so fixed fields beyond a short record read as 0 and nothing outside is touched.
    std::array<uint8_t, kMaxParsedBytes> bytes {};
    const size_t count = decodePairs(text, bytes.data(), bytes.size());
    // An empty text has no checksum to agree with; it is a failed read, not an empty record.
    if (count == 0 || checksumOf(bytes.data(), count - 1) != bytes[count - 1])
    {
        logChecksumError(slotIndex);
        return false;
    }
    std::copy(bytes.begin() + kNameOffset, bytes.begin() + kNameOffset + kNameLength, name.begin());
    name[kNameLength] = 0;
    if (model == kNimbrelModel)
        takeNimbrelFields(bytes);
    else if (count > static_cast<size_t>(kBodyOffset + 1))
        body.assign(bytes.begin() + kBodyOffset, bytes.begin() + static_cast<long>(count) - 1);
    else
        body.clear();
    modified = false;
    readPending = false;
    return true;
}

void Preset::takeNimbrelFields(const std::array<uint8_t, kMaxParsedBytes>& bytes)
{
    DelayType = bytes[18];
    Delay = floatAt(bytes, 19);
    Ratio = floatAt(bytes, 23);
    Feedback = floatAt(bytes, 27);
    Mix = floatAt(bytes, 31);
    Mod = floatAt(bytes, 35);
    Sensitivity = floatAt(bytes, 39);
    Tone = floatAt(bytes, 43);
    Saturation = floatAt(bytes, 47);
    Dynamics = bytes[51];
    DynDest = bytes[52];
    Trails = bytes[53] != 0;
    FootState = bytes[54];
}

void Preset::logChecksumError(int slotIndex) const
{
    if (bank == nullptr || bank->owner == nullptr)
        return;
    if (slotIndex >= 0)
        bank->owner->logMessage("<RED>Checksum error in preset #" + juce::String(slotIndex) + ", ParseSerialized()", false);
    else
        bank->owner->logMessage("<RED>Checksum error in preset, ParseSerialized()", false);
    bank->owner->KeepLastLogLine();
}

juce::MemoryBlock Preset::ToFileBytes() const
{
    std::array<uint8_t, 4> signature {};
    decodePairs(DeviceCatalogue::presetPlatform(model).signature, signature.data(), signature.size());
    auto bytes = serializedBytes();
    bytes.insert(bytes.begin(), signature.begin(), signature.end());
    scramble(bytes.data(), bytes.size(), true);
    return { bytes.data(), bytes.size() };
}

bool Preset::FromFileBytes(const juce::MemoryBlock& bytes)
{
    std::vector<uint8_t> plain(static_cast<const uint8_t*>(bytes.getData()),
                               static_cast<const uint8_t*>(bytes.getData()) + bytes.getSize());
    scramble(plain.data(), plain.size(), false);
    auto text = toHex(plain.data(), plain.size());
    const juce::String signature = DeviceCatalogue::presetPlatform(model).signature;
    if (text.startsWith(signature))
        text = text.substring(signature.length());
    const bool parsed = ParseSerialized(text, -1, model);
    MarkChanged();
    return parsed;
}
