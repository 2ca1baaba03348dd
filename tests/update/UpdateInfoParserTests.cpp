#include "update/AppUpdateInfo.h"
#include "update/UpdateInfoParser.h"
#include "update/UpdateTextLines.h"

#include <gtest/gtest.h>

namespace
{
const juce::String kGoodInfo = "[Nimbrel Update]\r\n"
                               "v1.05.000.0.master.20240301120000\r\n"
                               "File:nimbrel_1.05.000.bin\r\n"
                               "Size:66536\r\n"
                               "MD5:9c72624d59882847dcd3639e1df80671\r\n"
                               "EOF\r\n";

TEST(ParseAvailableUpdate, TakesTheValuesOfAWellFormedFile)
{
    const auto update = UpdateInfo::ParseAvailableUpdate(kGoodInfo);
    ASSERT_TRUE(update.has_value());
    EXPECT_EQ(update->version.toString(), "v1.05.000.0.master.20240301120000");
    EXPECT_EQ(update->file, "nimbrel_1.05.000.bin");
    EXPECT_EQ(update->size, 66536);
    EXPECT_EQ(update->md5, "9c72624d59882847dcd3639e1df80671");

    // Blank lines and surrounding blanks do not count as lines.
    const auto spaced = UpdateInfo::ParseAvailableUpdate("  [Nimbrel Update x]  \r\n\r\nv1.0.1.0.a.1\r\n  File:a.bin\r\n"
                                                         "Size:  12kB\r\n\r\nMD5:abc\r\n\r\nEOF and more");
    ASSERT_TRUE(spaced.has_value());
    EXPECT_EQ(spaced->file, "a.bin");
    EXPECT_EQ(spaced->size, 12);
}

TEST(ParseAvailableUpdate, KeepsValuesUntrimmedAfterTheColon)
{
    const auto update = UpdateInfo::ParseAvailableUpdate(kGoodInfo.replace("MD5:", "MD5: ").replace("Size:", "Size:x"));
    ASSERT_TRUE(update.has_value());
    EXPECT_EQ(update->md5, " 9c72624d59882847dcd3639e1df80671");
    EXPECT_EQ(update->size, 0);
}

TEST(ParseAvailableUpdate, RejectsEveryDeviationFromTheLayout)
{
    const juce::StringArray broken {
        kGoodInfo.replace("[Nimbrel Update]", "[Embervale Update]"),
        kGoodInfo.replace("File:", "Image:"),
        kGoodInfo.replace("Size:", "Bytes:"),
        kGoodInfo.replace("MD5:", "SHA:"),
        kGoodInfo.replace("EOF", "END"),
        kGoodInfo.upToFirstOccurrenceOf("EOF", false, false),
        "[Nimbrel Update]\r\nv1.05.000.0.master.1\r\nSize:1\r\nFile:a.bin\r\nMD5:abc\r\nEOF",
        kGoodInfo.replace("\r\n", "\n"),
        "",
    };
    for (const auto& text : broken)
        EXPECT_FALSE(UpdateInfo::ParseAvailableUpdate(text).has_value()) << text;
}

TEST(ParseUpdateInfo, AcceptsAnyOrderRepeatsAndUnknownLinesWithItsLogLines)
{
    const auto fields = UpdateInfo::ParseUpdateInfo("[Nimbrel Update]\r\nv1.06.0.0.beta.1\r\nMD5:aaaa\r\nSize:-1\r\n"
                                                    "Note:hello\r\nFile:first.bin\r\nFile:second.bin\r\nEOF\r\nFile:ignored.bin");
    EXPECT_EQ(fields.header, "[Nimbrel Update]");
    EXPECT_EQ(fields.version, "v1.06.0.0.beta.1");
    EXPECT_EQ(fields.imageFile, "second.bin");
    EXPECT_EQ(fields.size, -1);
    EXPECT_EQ(fields.md5, "aaaa");
    EXPECT_TRUE(fields.endedAtEof);
    EXPECT_EQ(fields.logLines.joinIntoString("|"),
              "header:[Nimbrel Update]|version:v1.06.0.0.beta.1|MD5 [aaaa]|SIZE [-1]|unknown [Note:hello]|"
              "FILE [first.bin]|FILE [second.bin]");
}

TEST(ParseUpdateInfo, StopsAtTheEndOfATextWithoutEof)
{
    const auto fields = UpdateInfo::ParseUpdateInfo("[Nimbrel Update]\r\nv1.06.0.0.beta.1\r\nFile:a.bin\r\nSize:10");
    EXPECT_FALSE(fields.endedAtEof);
    EXPECT_EQ(fields.imageFile, "a.bin");
    EXPECT_EQ(fields.size, 10);
    EXPECT_TRUE(fields.md5.isEmpty());

    const auto empty = UpdateInfo::ParseUpdateInfo("");
    EXPECT_FALSE(empty.endedAtEof);
    EXPECT_TRUE(empty.version.isEmpty());
    EXPECT_EQ(empty.size, 0);
}

TEST(ParseUpdateInfo, ClassifiesEveryKindOfAnswer)
{
    using R = UpdateInfo::Response;
    EXPECT_EQ(UpdateInfo::ClassifyResponse(200, ""), R::NoBody);
    EXPECT_EQ(UpdateInfo::ClassifyResponse(404, ""), R::NoBody);
    EXPECT_EQ(UpdateInfo::ClassifyResponse(404, "404 Not Found"), R::NotFound);
    EXPECT_EQ(UpdateInfo::ClassifyResponse(500, "[Nimbrel Update]"), R::ServerError);
    EXPECT_EQ(UpdateInfo::ClassifyResponse(200, "[Old Version]\r\nUpdate the app."), R::OldVersion);
    EXPECT_EQ(UpdateInfo::ClassifyResponse(200, kGoodInfo), R::UpdateInfo);
    EXPECT_EQ(UpdateInfo::ClassifyResponse(200, "<html>maintenance</html>"), R::Unintelligible);

    const auto notice = UpdateInfo::SplitOldVersion("[Old Version] v1\r\nThis pedal needs\r\nthe new app.\r\n");
    EXPECT_EQ(notice.header, "[Old Version] v1");
    EXPECT_EQ(notice.message, "This pedal needs\r\nthe new app.");
}

TEST(UpdateText, LeadingDecimalSkipsBlanksStopsAtTheFirstNonDigitAndSaturates)
{
    EXPECT_EQ(UpdateText::leadingDecimal("  123abc"), 123);
    EXPECT_EQ(UpdateText::leadingDecimal("-1"), -1);
    EXPECT_EQ(UpdateText::leadingDecimal("abc"), 0);
    EXPECT_EQ(UpdateText::leadingDecimal(""), 0);
    EXPECT_EQ(UpdateText::leadingDecimal("99999999999999999999"), 2147483647);
    EXPECT_EQ(UpdateText::leadingDecimal("-99999999999999999999"), -2147483647 - 1);
}

TEST(ParseAppUpdateInfo, TakesValuesAfterTheFirstColonWhateverTheLabels)
{
    EXPECT_TRUE(AppUpdateInfo::HasHeader("[hvplatformupdater UPDATE]\r\n"));
    EXPECT_FALSE(AppUpdateInfo::HasHeader("[Nimbrel Update]\r\n"));

    const auto record = AppUpdateInfo::ParseAppUpdateInfo("[HVPlatformUpdater Update]\r\n\r\nv1.05.000.0.master.20240305180000\r\n"
                                                          "Installer:setup:1.exe\r\nLength: 204800 bytes\r\nDigest:abcd\r\nEOF");
    EXPECT_EQ(record.version.toString(), "v1.05.000.0.master.20240305180000");
    EXPECT_EQ(record.file, "setup:1.exe");
    EXPECT_EQ(record.size, 204800);
    EXPECT_EQ(record.md5, "abcd");

    const auto shortText = AppUpdateInfo::ParseAppUpdateInfo("[HVPlatformUpdater Update]\r\nv1.05.000.0.x.1");
    EXPECT_TRUE(shortText.file.isEmpty());
    EXPECT_EQ(shortText.size, 0);
    EXPECT_TRUE(AppUpdateInfo::ParseAppUpdateInfo("").version.isZero());
}
}
