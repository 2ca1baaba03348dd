#include "diagnostics/LogFormat.h"

#include <gtest/gtest.h>

namespace
{
constexpr uint32_t kDefault = 0xFFBFBFBF;

struct Shown
{
    uint32_t colour;
    bool tag;
    juce::String text;
};

Shown show(const juce::String& line)
{
    bool tag = true;  // must be reset by the call
    const auto colour = LogFormat::parseColourTag(line, &tag, kDefault);
    return { colour, tag, LogFormat::displayText(line, tag) };
}
}

TEST(ColourTags, EachOfTheEightTagsGivesItsColourAndIsRemovedOnScreen)
{
    const std::pair<const char*, uint32_t> tags[] = {
        { "<RED>", 0xFFFF3F3F },    { "<BLUE>", 0xFF7F7FFF },   { "<GREY>", 0xFFD3D3D3 },
        { "<MDGREY>", 0xFF808080 }, { "<DKGREY>", 0xFF555555 }, { "<ORANGE>", 0xFFFFA500 },
        { "<GREEN>", 0xFF00FF00 },  { "<PROFILE>", 0xFFCF3FFF },
    };
    for (const auto& [tag, colour] : tags)
    {
        const auto shown = show(juce::String(tag) + "text > more");
        EXPECT_EQ(shown.colour, colour) << tag;
        EXPECT_TRUE(shown.tag) << tag;
        EXPECT_EQ(shown.text, "text > more") << tag;
    }
}

TEST(ColourTags, ErrorPrefixIsTestedFirstAndKeepsTheWholeText)
{
    auto shown = show("Error: <RED>port busy");
    EXPECT_EQ(shown.colour, 0xFFFF0000u);
    EXPECT_FALSE(shown.tag);
    EXPECT_EQ(shown.text, "Error: <RED>port busy");

    shown = show("<RED>Error");
    EXPECT_EQ(shown.colour, 0xFFFF3F3Fu);
    EXPECT_EQ(shown.text, "Error");

    EXPECT_EQ(show("error: lower case").colour, kDefault);
}

TEST(ColourTags, AnythingElseIsShownWholeInTheDefaultColour)
{
    for (const char* line : { "<red>lower-case tag", "plain text", "", "<UNKNOWN>x", " <RED>leading blank",
                              "<RED", "a>b", "<ORANGE >x" })
    {
        const auto shown = show(line);
        EXPECT_EQ(shown.colour, kDefault) << line;
        EXPECT_FALSE(shown.tag) << line;
        EXPECT_EQ(shown.text, line);
    }
}

TEST(ColourTags, TagFlagIsOptional)
{
    EXPECT_EQ(LogFormat::parseColourTag("<GREEN>ok", nullptr, kDefault), 0xFF00FF00u);
}

TEST(ScreenLines, MessagesSplitAtCrLfLfAndCr)
{
    EXPECT_EQ(LogFormat::splitLines("a\r\nb\nc\rd"), juce::StringArray({ "a", "b", "c", "d" }));
    EXPECT_EQ(LogFormat::splitLines("one"), juce::StringArray({ "one" }));
    EXPECT_EQ(LogFormat::splitLines(""), juce::StringArray({ "" }));
    EXPECT_EQ(LogFormat::splitLines("end\r\n"), juce::StringArray({ "end", "" }));
    EXPECT_EQ(LogFormat::splitLines("\n\n"), juce::StringArray({ "", "", "" }));
}

TEST(ScreenLines, KeepNewestDropsFromTheFront)
{
    juce::StringArray lines;
    for (int i = 0; i < 50; ++i)
        lines.add("line " + juce::String(i));
    LogFormat::keepNewest(lines, 45);
    ASSERT_EQ(lines.size(), 45);
    EXPECT_EQ(lines[0], "line 5");
    EXPECT_EQ(lines[44], "line 49");

    LogFormat::keepNewest(lines, 45);
    EXPECT_EQ(lines.size(), 45);
    LogFormat::keepNewest(lines, 1);
    EXPECT_EQ(lines, juce::StringArray({ "line 49" }));

    juce::StringArray empty;
    LogFormat::keepNewest(empty, 1);
    EXPECT_TRUE(empty.isEmpty());
}
