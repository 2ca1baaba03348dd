#include "presets/PresetBank.h"

#include <gtest/gtest.h>

namespace
{
// A Nimbrel record "Echo": type 2, delay 1.0, ratio 0.5, dynamics 1, destination 2, trails on,
// foot state 3, all other floats 0.
const char* const kEchoLine = "00034563686F000000000000000000000000023F8000003F00000000000000000000000000000000000000"
                              "00000000000000000102010389";
const char* const kEchoFileHex = "4E494D420003AEDDF30BADBECFE0F1021324354657687BC91BACBD0DDFF00112233445566778899AABBCCD"
                                 "DEEF00112233445566778899ABBDCDE077";

struct RecordingOwner : PresetBank::Owner
{
    void logMessage(const juce::String& text, bool) override { lines.add(text); }
    void setStatusLine(const juce::String&, bool) override {}
    void KeepLastLogLine() override { ++keeps; }
    juce::StringArray lines;
    int keeps = 0;
};

Preset echoPreset()
{
    Preset preset(nullptr, 1);
    preset.SetName("Echo");
    preset.DelayType = 2;
    preset.Delay = 1.0f;
    preset.Ratio = 0.5f;
    preset.Dynamics = 1;
    preset.DynDest = 2;
    preset.Trails = true;
    preset.FootState = 3;
    return preset;
}

juce::String fileHex(const juce::MemoryBlock& bytes)
{
    return juce::String::toHexString(bytes.getData(), static_cast<int>(bytes.getSize()), 0).toUpperCase();
}
}

TEST(PresetSerialized, NimbrelRecordHasExactBytesChecksumAndLineEnding)
{
    const auto line = echoPreset().ToSerialized();
    EXPECT_EQ(line, juce::String(kEchoLine) + "\r\n");
    EXPECT_EQ(line.length(), 112 + 2);
    EXPECT_EQ(echoPreset().BuildSendLine(0x7F), "7F" + line);
    EXPECT_EQ(echoPreset().BuildSendLine(5).substring(0, 4), "0500");
}

TEST(PresetSerialized, ParseRestoresEveryNimbrelFieldAndClearsFlags)
{
    Preset preset;
    preset.modified = preset.readPending = true;
    ASSERT_TRUE(preset.ParseSerialized(kEchoLine, 4, 1));
    EXPECT_EQ(preset.model, 1);
    EXPECT_EQ(preset.GetDisplayName(), "Echo");
    EXPECT_EQ(preset.DelayType, 2);
    EXPECT_EQ(preset.Delay, 1.0f);
    EXPECT_EQ(preset.Ratio, 0.5f);
    EXPECT_EQ(preset.Dynamics, 1);
    EXPECT_EQ(preset.DynDest, 2);
    EXPECT_TRUE(preset.Trails);
    EXPECT_EQ(preset.FootState, 3);
    EXPECT_FALSE(preset.modified);
    EXPECT_FALSE(preset.readPending);
    EXPECT_EQ(preset.ToSerialized(), juce::String(kEchoLine) + "\r\n");
}

TEST(PresetSerialized, LowerCaseDigitsAndAnyNonZeroTrailsByteAreAccepted)
{
    juce::String line = juce::String(kEchoLine).toLowerCase();
    // Trails byte 0x07 instead of 0x01: checksum grows by 6.
    line = line.replaceSection(53 * 2, 2, "07").replaceSection(55 * 2, 2, "8f");
    Preset preset;
    ASSERT_TRUE(preset.ParseSerialized(line, 0, 1));
    EXPECT_TRUE(preset.Trails);
}

TEST(PresetSerialized, ChecksumFailuresLogTheSlotAndKeepTheRecord)
{
    RecordingOwner owner;
    PresetBank bank(&owner);
    auto& slot = *bank.GetSlot(9);
    slot.SetName("Keep");
    juce::String bad(kEchoLine);
    bad = bad.replaceSection(110, 2, "8A");

    EXPECT_FALSE(slot.ParseSerialized(bad, 9, 1));
    EXPECT_FALSE(slot.ParseSerialized(juce::String(kEchoLine) + "\r\n", -1, 1));
    EXPECT_FALSE(slot.ParseSerialized("", 12, 1));
    EXPECT_EQ(owner.lines, juce::StringArray({ "<RED>Checksum error in preset #9, ParseSerialized()",
                                               "<RED>Checksum error in preset, ParseSerialized()",
                                               "<RED>Checksum error in preset #12, ParseSerialized()" }));
    EXPECT_EQ(owner.keeps, 3);
    EXPECT_EQ(slot.GetDisplayName(), "Keep");
    EXPECT_EQ(slot.model, 1);

    Preset loose;
    EXPECT_FALSE(loose.ParseSerialized(bad, 1, 1));  // no bank: nothing to log to, and no crash
}

TEST(PresetSerialized, PairsWithoutDigitsAndOddLengthsDecodeAsSpecified)
{
    // Type code 2, name "A", a body pair "G1" read as 0x01, checksum 0x02 + 0x41 + 0x01 = 0x44.
    juce::String text = "0002" "41" + juce::String::repeatedString("00", 15) + "G1" + "44";
    Preset preset;
    ASSERT_TRUE(preset.ParseSerialized(text, 0, 2));
    EXPECT_EQ(preset.body, std::vector<uint8_t>({ 0x01 }));

    Preset lone;
    EXPECT_TRUE(lone.ParseSerialized("0", 0, 2));  // one byte 0: the sum of nothing agrees
    EXPECT_TRUE(lone.body.empty());
}

TEST(PresetSerialized, OtherModelsCarryTheirBlockAsBodyAndNineteenBytesGiveAnEmptyOne)
{
    const char* const hall = "000148616C6C40235E3B2C00000000000000090807C2";
    Preset preset;
    ASSERT_TRUE(preset.ParseSerialized(hall, 3, 2));
    EXPECT_EQ(preset.body, std::vector<uint8_t>({ 9, 8, 7 }));
    EXPECT_EQ(preset.ToSerialized(), juce::String(hall) + "\r\n");

    juce::String nineteen = "0001" + juce::String::repeatedString("00", 16) + "01";
    ASSERT_TRUE(preset.ParseSerialized(nineteen, 0, 3));
    EXPECT_TRUE(preset.body.empty());
    EXPECT_EQ(preset.ToSerialized(), "0000" + juce::String::repeatedString("00", 16) + "00\r\n");
}

TEST(PresetSerialized, OverlongTextIsCutAtTheParseBuffer)
{
    // 600 bytes of zeros: only the first 512 count, their checksum (0) agrees.
    Preset preset;
    EXPECT_TRUE(preset.ParseSerialized(juce::String::repeatedString("00", 600), 0, 2));
    EXPECT_EQ(preset.body.size(), 512u - 19u);
}

TEST(PresetNames, SixteenCharactersFillTheFieldAndLongerNamesAreCut)
{
    Preset preset(nullptr, 1);
    preset.SetName("ABCDEFGHIJKLMNOPQRS");
    EXPECT_EQ(preset.GetDisplayName(), "ABCDEFGHIJKLMNOP");
    EXPECT_EQ(preset.name[16], 0);
    EXPECT_EQ(preset.ToSerialized().substring(4, 36), "4142434445464748494A4B4C4D4E4F50");
    EXPECT_TRUE(preset.IsModified());
}

TEST(PresetNames, HiddenCharactersStayInTheRecordButNotInDisplayOrFileNames)
{
    Preset a(nullptr, 2), b(nullptr, 2);
    a.SetName("Hall@#^;,");
    b.SetName("Ha,ll");
    EXPECT_EQ(a.ToSerialized().substring(4, 22), "48616C6C40235E3B2C");
    EXPECT_EQ(a.GetDisplayName(), "Hall");
    EXPECT_EQ(a.GetFileName(), "Hall.pst");
    EXPECT_EQ(a.GetFileName(), b.GetFileName());
}

TEST(PresetRecord, CopyFromFollowsTheTargetModel)
{
    const Preset nimbrel = echoPreset();
    Preset other(nullptr, 2);
    other.body = { 1, 2, 3 };
    other.CopyFrom(nimbrel);
    EXPECT_EQ(other.GetDisplayName(), "Echo");
    EXPECT_TRUE(other.body.empty());
    EXPECT_EQ(other.Delay, 0.0f);
    EXPECT_EQ(other.model, 2);
    EXPECT_TRUE(other.IsModified());

    Preset target(nullptr, 1);
    target.CopyFrom(nimbrel);
    EXPECT_EQ(target.ToSerialized(), nimbrel.ToSerialized());
}

TEST(PresetFileForm, BytesAreSignedAndScrambledFromOffsetSix)
{
    const auto bytes = echoPreset().ToFileBytes();
    EXPECT_EQ(fileHex(bytes), kEchoFileHex);

    Preset back(nullptr, 1);
    EXPECT_TRUE(back.FromFileBytes(bytes));
    EXPECT_EQ(back.ToSerialized(), echoPreset().ToSerialized());
    EXPECT_TRUE(back.IsModified());
}

TEST(PresetFileForm, AnotherModelsFileFailsButIsStillMarkedChanged)
{
    RecordingOwner owner;
    PresetBank bank(&owner);
    auto& slot = *bank.GetSlot(0);
    slot.model = 2;
    EXPECT_FALSE(slot.FromFileBytes(echoPreset().ToFileBytes()));
    EXPECT_TRUE(slot.IsModified());
    EXPECT_TRUE(bank.modified);
    EXPECT_EQ(owner.lines, juce::StringArray({ "<RED>Checksum error in preset, ParseSerialized()" }));
}

TEST(PresetBankTest, NewSlotsAreUnreadAndNotifyTheBank)
{
    PresetBank bank(nullptr);
    EXPECT_EQ(bank.GetSlot(0)->model, 255);
    EXPECT_EQ(bank.GetSlot(128), nullptr);
    EXPECT_EQ(bank.GetSlot(-1), nullptr);
    EXPECT_EQ(bank.GetLibraryPreset(0), nullptr);
    EXPECT_FALSE(bank.modified);
    bank.GetSlot(127)->SetName("X");
    EXPECT_TRUE(bank.modified);
    EXPECT_EQ(bank.CountModified(), 1);
    bank.cursor = 128;
    EXPECT_EQ(bank.GetCurrentSlot(), nullptr);
}

TEST(PresetBankTest, CursorWalksSkipTheCurrentSlotAndWrapToZero)
{
    PresetBank bank(nullptr);
    bank.GetSlot(0)->readPending = true;
    bank.GetSlot(3)->readPending = true;
    EXPECT_TRUE(bank.NextReadPending());
    EXPECT_EQ(bank.cursor, 3);
    EXPECT_FALSE(bank.NextReadPending());
    EXPECT_EQ(bank.cursor, 0);

    bank.GetSlot(5)->SetName("Five");
    EXPECT_TRUE(bank.NextModified());  // slot 0 first, whether changed or not
    EXPECT_EQ(bank.cursor, 5);
    EXPECT_FALSE(bank.NextModified());
    EXPECT_EQ(bank.cursor, 0);
    EXPECT_FALSE(bank.modified);
    EXPECT_EQ(bank.CountModified(), 0);
}

TEST(PresetBankTest, MoveSlotRotatesBothWaysAndMarksEveryShiftedSlot)
{
    PresetBank bank(nullptr);
    for (int i = 0; i < 5; ++i)
    {
        bank.GetSlot(i)->model = 2;
        bank.GetSlot(i)->SetName(juce::String(i));
        bank.GetSlot(i)->ClearModified();
    }
    bank.MoveSlot(1, 3);
    juce::StringArray names;
    for (int i = 0; i < 5; ++i)
        names.add(bank.GetSlot(i)->GetDisplayName());
    EXPECT_EQ(names.joinIntoString(""), "02314");
    EXPECT_EQ(bank.CountModified(), 3);

    bank.MoveSlot(3, 1);
    names.clear();
    for (int i = 0; i < 5; ++i)
        names.add(bank.GetSlot(i)->GetDisplayName());
    EXPECT_EQ(names.joinIntoString(""), "01234");
    bank.MoveSlot(0, 200);  // out of range: nothing moves
    EXPECT_EQ(bank.GetSlot(0)->GetDisplayName(), "0");
}
