#include "update/DownloadChecks.h"
#include "update/ServerErrorText.h"
#include "update/StatusCodeText.h"

#include <gtest/gtest.h>

namespace
{
const juce::MemoryBlock kData("abc", 3);
const juce::String kDigest = "900150983cd24fb0d6963f7d28e17f72";  // MD5 of "abc"

TEST(DownloadChecks, FirmwareImageFailuresCarryTheExactTexts)
{
    EXPECT_EQ(DownloadChecks::Md5Hex(kData), kDigest);
    EXPECT_FALSE(DownloadChecks::CheckFirmwareImage(kData, 3, kDigest).has_value());

    const auto size = DownloadChecks::CheckFirmwareImage(kData, 4, kDigest);
    ASSERT_TRUE(size.has_value());
    EXPECT_EQ(size->title, "Update error");
    EXPECT_EQ(size->message, "An error was encounter while attempting to update the device.\r\n\r\n"
                             "Update file did not download correctly:\r\n  Expected: 4 bytes\r\n  Received: 3 bytes");

    const auto digest = DownloadChecks::CheckFirmwareImage(kData, 3, kDigest.toUpperCase());
    ASSERT_TRUE(digest.has_value());
    EXPECT_EQ(digest->message, "An error was encounter while attempting to update the device.\r\n\r\n"
                               "Update file checksum failed:\r\n  Expected: " + kDigest.toUpperCase()
                                   + "\r\n  Calculated: " + kDigest);
}

TEST(DownloadChecks, FirmwareChecksAreSkippedForSizeMinusOneAndAnEmptyDigest)
{
    EXPECT_FALSE(DownloadChecks::CheckFirmwareImage(kData, -1, kDigest).has_value());
    EXPECT_FALSE(DownloadChecks::CheckFirmwareImage(kData, 3, "").has_value());
    EXPECT_TRUE(DownloadChecks::CheckFirmwareImage(kData, -1, " " + kDigest).has_value());
}

TEST(DownloadChecks, InstallerNeedsExactSizeAndDigestAndGivesPanelLines)
{
    EXPECT_FALSE(DownloadChecks::CheckInstaller(kData, 3, kDigest).has_value());
    EXPECT_TRUE(DownloadChecks::CheckInstaller(kData, -1, kDigest).has_value());
    EXPECT_TRUE(DownloadChecks::CheckInstaller(kData, 3, "").has_value());

    const auto size = DownloadChecks::CheckInstaller(kData, 5, "wrong");
    ASSERT_TRUE(size.has_value());
    EXPECT_EQ(size->message, "An error was encounter while attempting to update this application.\r\n\r\n"
                             "Update file did not download correctly:\r\n  Expected: 5 bytes\r\n  Received: 3 bytes");
    EXPECT_EQ(size->panelLines.joinIntoString("|"),
              "<RED>File size mismatch!|<RED>  Expected: 5 bytes|<RED>  Received: 3 bytes");

    const auto digest = DownloadChecks::CheckInstaller(kData, 3, "wrong");
    ASSERT_TRUE(digest.has_value());
    EXPECT_EQ(digest->message, "An error was encounter while attempting to update this application.\r\n\r\n"
                               "Update file checksum failed:\r\n  Expected: wrong\r\n  Calculated: " + kDigest);
    EXPECT_EQ(digest->panelLines.joinIntoString("|"),
              "<RED>Checksum mismatch!|<RED>  Expected: wrong|<RED>  Calculated: " + kDigest);
}

TEST(ServerErrorText, MessagesForServerFailures)
{
    EXPECT_EQ(ServerErrorText::NotFoundMessage(),
              "An error was received from the update server (404 - File Not Found).\r\nPlease try again later.");
    EXPECT_EQ(ServerErrorText::ServerErrorMessage(500, "<h1>down</h1>"),
              "An error was received from the update server (500).\r\nPlease try again later.\r\n\r\n<h1>down</h1>");
    EXPECT_EQ(ServerErrorText::ImageDownloadErrorMessage(503, "busy"),
              "The update server responded with the following error:\r\n\r\n503 - Service Unavailable\r\n\r\n\r\n"
              "Message contents:\r\n\r\nbusy");
}

TEST(StatusCodeText, NamesKnownCodesAndUndefinedOthers)
{
    EXPECT_EQ(StatusCodeText(404), "404 - Not Found");
    EXPECT_EQ(StatusCodeText(0), "0 - Undefined");
    EXPECT_EQ(StatusCodeText(209), "209 - Undefined");
    EXPECT_EQ(StatusCodeText(599), "599 - Network Connect Timeout Error");
    EXPECT_EQ(StatusCodeText(418), "418 - I'm a teapot");
    EXPECT_EQ(StatusCodeText(203), "203 - Non-authoritative Information");
    EXPECT_EQ(StatusCodeText(308), "308 - Permanent Redirect");
    EXPECT_EQ(StatusCodeText(444), "444 - Connection Closed Without Response");
    EXPECT_EQ(StatusCodeText(-1), "-1 - Undefined");
}
}
