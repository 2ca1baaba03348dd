#include "device/VersionInfo.h"

#include <gtest/gtest.h>

namespace
{
struct Fields
{
    int major, minor, build, revision, date, time;
    const char* channel;
};

void expectFields(const char* text, const Fields& f)
{
    const VersionInfo v(text);
    EXPECT_EQ(v.major, f.major) << text;
    EXPECT_EQ(v.minor, f.minor) << text;
    EXPECT_EQ(v.build, f.build) << text;
    EXPECT_EQ(v.revision, f.revision) << text;
    EXPECT_EQ(v.date, f.date) << text;
    EXPECT_EQ(v.time, f.time) << text;
    EXPECT_EQ(v.channel, f.channel) << text;
}
}

TEST(VersionParse, FullAndShortStampForms)
{
    expectFields("v1.04.011.0.master.20210408140335", { 1, 4, 11, 0, 20210408, 140335, "master" });
    expectFields("v1.04.5.0.UNDEF.0", { 1, 4, 5, 0, 0, 0, "UNDEF" });
    expectFields("v0.0.0.0.UNDEF.0", { 0, 0, 0, 0, 0, 0, "UNDEF" });
    expectFields("v2.1.3.4.beta.1234567", { 2, 1, 3, 4, 1, 234567, "beta" });
}

TEST(VersionParse, EachSplitTakesTheLastDotInTurn)
{
    expectFields("v1.2", { 1, 0, 0, 0, 0, 2, "1" });
    // The form of the application version: the build number becomes the channel.
    expectFields("v1.04.011.0", { 1, 4, 0, 0, 0, 0, "011" });
    expectFields("v7", { 7, 0, 0, 0, 0, 7, "7" });
}

TEST(VersionParse, FirstCharacterIsDroppedWhateverItIs)
{
    expectFields("x1.2.3.4.ch.5", { 1, 2, 3, 4, 0, 5, "ch" });
    expectFields("1.2.3.4.ch.5", { 0, 2, 3, 4, 0, 5, "ch" });
}

TEST(VersionParse, MalformedTextGivesZerosWhereThereAreNoDigits)
{
    expectFields("", { 0, 0, 0, 0, 0, 0, "" });
    expectFields("v", { 0, 0, 0, 0, 0, 0, "" });
    expectFields("garbage", { 0, 0, 0, 0, 0, 0, "arbage" });
    expectFields("va.b.c.d.e.f", { 0, 0, 0, 0, 0, 0, "e" });
    expectFields("v1x.2y.3.4.ch.12ab", { 1, 2, 3, 4, 0, 12, "ch" });
    expectFields("v...", { 0, 0, 0, 0, 0, 0, "" });
    // Numbers are read from their leading digits with an optional sign and kept in 16 bits.
    expectFields("v-1.+2.65536.70000.ch.0", { 65535, 2, 0, 4464, 0, 0, "ch" });
}

TEST(VersionParse, ChannelKeepsAtMost127Bytes)
{
    const juce::String longChannel = juce::String::repeatedString("c", 200);
    EXPECT_EQ(VersionInfo("v1.2.3.4." + longChannel + ".0").channel, juce::String::repeatedString("c", 127));

    // A multi-byte character is never cut in half.
    const juce::String wide = juce::String::repeatedString("c", 126) + juce::String(juce::CharPointer_UTF8("\xc3\xa9"));
    EXPECT_EQ(VersionInfo("v1.2.3.4." + wide + ".0").channel, juce::String::repeatedString("c", 126));
}

TEST(VersionFormat, FullFormPadsMinorAndBuildOnly)
{
    EXPECT_EQ(VersionInfo("v1.04.011.0.master.20210408140335").toString(), "v1.04.011.0.master.20210408140335");
    EXPECT_EQ(VersionInfo("v1.04.5.0.UNDEF.0").toString(), "v1.04.005.0.UNDEF.00");
    // An early-morning build time keeps its leading zero, so the text reads back the same.
    const VersionInfo early("v1.04.011.0.master.20210408030508");
    EXPECT_EQ(early.toString(), "v1.04.011.0.master.20210408030508");
    EXPECT_EQ(VersionInfo(early.toString()).date, 20210408);
    EXPECT_EQ(VersionInfo(early.toString()).time, 30508);
    EXPECT_EQ(VersionInfo("v12.345.6789.10.x.0").toString(), "v12.345.6789.10.x.00");
    EXPECT_EQ(VersionInfo().toString(), "v0.00.000.0..00");
}

TEST(VersionFormat, NormalisingTwiceChangesNothingMore)
{
    const juce::String once = VersionInfo("v1.4.5.0.UNDEF.0").toString();
    EXPECT_EQ(VersionInfo(once).toString(), once);
    EXPECT_TRUE(VersionInfo(once).equalNumbers(VersionInfo("v1.04.005.0.UNDEF.0")));
}

TEST(VersionFormat, BodyFallsBackOnlyWhenAllSixNumbersAreZero)
{
    EXPECT_EQ(VersionInfo("v0.0.0.0.UNDEF.0").formatBody("unknown"), "unknown");
    EXPECT_EQ(VersionInfo("v0.0.0.0.UNDEF.1").formatBody("unknown"), "0.00.000.0.UNDEF.01");
    EXPECT_EQ(VersionInfo("v1.04.5.0.UNDEF.0").formatBody("unknown"), "1.04.005.0.UNDEF.00");
    EXPECT_EQ(VersionInfo("v0.0.0.0.UNDEF.0").formatBody(""), "0.00.000.0.UNDEF.00");
}

TEST(VersionFormat, ShortForm)
{
    EXPECT_EQ(VersionInfo("v1.04.011.0.master.20210408140335").toShortString(), "1.04.011");
    EXPECT_EQ(VersionInfo("v0.0.0.0.UNDEF.0").toShortString(), "");
    EXPECT_TRUE(VersionInfo("v0.0.0.0.UNDEF.0").isZero());
    EXPECT_FALSE(VersionInfo("v0.0.0.0.UNDEF.20210408000000").isZero());
}

TEST(VersionOrder, NumbersCompareAsNumbersFieldByField)
{
    EXPECT_TRUE(VersionInfo("v1.04.5.0.UNDEF.0").isOlderThan(VersionInfo("v1.04.11.0.UNDEF.0")));
    EXPECT_FALSE(VersionInfo("v1.04.11.0.UNDEF.0").isOlderThan(VersionInfo("v1.04.5.0.UNDEF.0")));
    EXPECT_TRUE(VersionInfo("v1.9.99.99.x.0").isOlderThan(VersionInfo("v2.0.0.0.x.0")));
    EXPECT_FALSE(VersionInfo("v2.0.0.0.x.0").isOlderThan(VersionInfo("v1.9.99.99.x.0")));
    EXPECT_TRUE(VersionInfo("v1.2.3.4.x.0").isOlderThan(VersionInfo("v1.2.3.5.x.0")));
}

TEST(VersionOrder, DateTimeAndChannelNeverTakePart)
{
    const VersionInfo a("v1.04.011.0.master.20210408140335");
    const VersionInfo b("v1.04.11.0.beta.20990101000000");
    EXPECT_TRUE(a.equalNumbers(b));
    EXPECT_FALSE(a.isOlderThan(b));
    EXPECT_FALSE(b.isOlderThan(a));
    EXPECT_TRUE(a.isAtLeast(b));
    EXPECT_TRUE(b.isAtLeast(a));
    EXPECT_FALSE(a.equalNumbers(VersionInfo("v1.04.011.1.master.20210408140335")));
}
