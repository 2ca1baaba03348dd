#include "device/OptionRules.h"
#include "device/Utf8Text.h"

#include <gtest/gtest.h>

namespace
{
constexpr int kMidi = 0, kBpm = 1, kDryKill = 2, kPingPong = 3;
}

TEST(OptionRules, RepliesParseAsHexWithCaseInsensitivePrefixAndRanges)
{
    EXPECT_EQ(OptionRules::parseReply(kMidi, "MIDICH:0A"), 10);
    EXPECT_EQ(OptionRules::parseReply(kMidi, "MidiCh:FF"), 255);
    EXPECT_EQ(OptionRules::parseReply(kMidi, "MidiCh:20"), 0);
    EXPECT_EQ(OptionRules::parseReply(kMidi, "MidiCh:"), 0);
    EXPECT_EQ(OptionRules::parseReply(kDryKill, "DryKill:03"), 0);
    EXPECT_EQ(OptionRules::parseReply(kDryKill, "DryKill:02"), 2);
    EXPECT_EQ(OptionRules::parseReply(kBpm, "BmpMode:01"), 1);
    EXPECT_EQ(OptionRules::parseReply(kPingPong, "pingpong:x1"), 1);
}

TEST(OptionRules, RepliesWithAnotherPrefixChangeNothing)
{
    EXPECT_EQ(OptionRules::parseReply(kBpm, "BpmMode:01"), -1);  // the pedal spells it "BmpMode:"
    EXPECT_EQ(OptionRules::parseReply(kMidi, "DryKill:01"), -1);
    EXPECT_EQ(OptionRules::parseReply(kMidi, "MidiCh 01"), -1);
    EXPECT_EQ(OptionRules::parseReply(kMidi, ""), -1);
}

TEST(OptionRules, CommandsCarryTwoUpperCaseHexDigitsAfterTheRangeRule)
{
    EXPECT_EQ(OptionRules::setCommand(kMidi, 10), "SetMCh0A");
    EXPECT_EQ(OptionRules::setCommand(kMidi, 255), "SetMChFF");
    EXPECT_EQ(OptionRules::setCommand(kMidi, 16), "SetMCh00");
    EXPECT_EQ(OptionRules::setCommand(kBpm, 1), "SetBPM01");
    EXPECT_EQ(OptionRules::setCommand(kDryKill, 3), "SetDrK00");
    EXPECT_EQ(OptionRules::setCommand(kPingPong, 1), "SetPng01");
    EXPECT_EQ(OptionRules::getCommand(kMidi), "GetMCh");
    EXPECT_EQ(OptionRules::getCommand(kBpm), "GetBPM");
    EXPECT_EQ(OptionRules::getCommand(kDryKill), "GetDrK");
    EXPECT_EQ(OptionRules::getCommand(kPingPong), "GetPng");
    EXPECT_EQ(OptionRules::updateLogPrefix(kBpm), "Update BpmMode: ");
}

TEST(Utf8Text, MalformedSequencesBecomeReplacementCharacters)
{
    const char bytes[] = { 'O', (char) 0xC3, (char) 0xA9, (char) 0xFF, 'K', (char) 0xE2, (char) 0x82 };
    const auto text = Utf8Text::decodeLenient(bytes, sizeof(bytes));
    EXPECT_EQ(text, juce::String(juce::CharPointer_UTF8("O\xc3\xa9\xef\xbf\xbdK\xef\xbf\xbd\xef\xbf\xbd")));

    const char overlong[] = { (char) 0xC0, (char) 0xAF };
    EXPECT_EQ(Utf8Text::decodeLenient(overlong, 2).length(), 2);
    const char surrogate[] = { (char) 0xED, (char) 0xA0, (char) 0x80 };
    EXPECT_EQ(Utf8Text::decodeLenient(surrogate, 3).length(), 3);
}
