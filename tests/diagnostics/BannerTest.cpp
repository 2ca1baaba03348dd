#include "app/Clock.h"
#include "device/AppCommon.h"
#include "diagnostics/SystemReport.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <regex>

namespace
{
const std::string kSep(61, '=');
const std::string kStamp = "0x89abcdef:\t";
const std::string kTitle = "HV Platform Updater (v1.04.011.0.master)";
const std::string kBannerTime = "[0-9]{4}\\.[0-9]{2}\\.[0-9]{2} [0-9]{2}\\.[0-9]{2}\\.[0-9]{2}";
}

class Banners : public testing::Test
{
protected:
    void SetUp() override { SKIP_WITHOUT_DISPLAY(); }
    ScopedHome home;
    Clock::ScopedManualClock clock { 0x1'89AB'CDEFll };
};

TEST_F(Banners, StartBannerThenSystemHeaderThenReportEachOneRecord)
{
    auto core = std::make_unique<AppCommon>();
    const std::string bytes = fileBytes(home.logFile());

    const std::string head = kStamp + "\n" + kStamp + kSep + "\n" + kStamp + kTitle + "\n";
    ASSERT_EQ(bytes.substr(0, head.size()), head);

    const std::string afterStart = kStamp + kSep + "\n" + kStamp + "System:\n" + kStamp
                                 + SystemReport::getSystemLine().toStdString() + "\n" + kStamp + kSep + "\n" + kStamp
                                 + "Application:\n" + kStamp + "  " + kTitle + "\n" + kStamp + kSep + "\n" + kStamp
                                 + "Time and date:    ";
    const std::regex startLine(kStamp + "START " + kBannerTime + "\n");
    std::smatch match;
    const std::string rest = bytes.substr(head.size());
    ASSERT_TRUE(std::regex_search(rest, match, startLine, std::regex_constants::match_continuous)) << rest.substr(0, 80);
    const std::string header = rest.substr((size_t) match.length());
    ASSERT_EQ(header.substr(0, afterStart.size()), afterStart);

    // The whole multi-line report is one escaped record; the port listing follows it.
    const std::string afterReport = header.substr(afterStart.size() - kStamp.size() - 18);
    const std::string report = afterReport.substr(0, afterReport.find('\n') + 1);
    EXPECT_TRUE(std::regex_search(afterReport.substr(report.size()), std::regex("^" + kStamp + kSep + "\n" + kStamp + "Com Ports: ")));
    EXPECT_NE(report.find("{\\r}{\\n}Host name:        "), std::string::npos);
    EXPECT_NE(report.find("Network card MAC addresses: {\\r}{\\n}"), std::string::npos);
    EXPECT_EQ(report.find('\r'), std::string::npos);
}

TEST_F(Banners, EndBannerClosesTheRunWithABlankLine)
{
    auto core = std::make_unique<AppCommon>();
    const auto before = fileBytes(home.logFile()).size();
    core.reset();

    const std::string tail = fileBytes(home.logFile()).substr(before);
    const std::regex end(kStamp + kSep + "\n" + kStamp + "END " + kBannerTime + "\n" + kStamp + kSep + "\r\n\n");
    EXPECT_TRUE(std::regex_match(tail, end)) << tail;
}

TEST_F(Banners, SecondRunAppendsToTheFirst)
{
    std::make_unique<AppCommon>().reset();
    const auto firstRun = fileBytes(home.logFile());
    std::make_unique<AppCommon>().reset();
    const auto bothRuns = fileBytes(home.logFile());
    EXPECT_EQ(bothRuns.substr(0, firstRun.size()), firstRun);
    EXPECT_EQ(bothRuns.substr(firstRun.size(), kStamp.size() + 1), kStamp + "\n");
}
