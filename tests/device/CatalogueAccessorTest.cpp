#include "app/Clock.h"
#include "device/AppCommon.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

class CatalogueAccessors : public testing::Test
{
protected:
    void SetUp() override
    {
        SKIP_WITHOUT_DISPLAY();
        core = std::make_unique<AppCommon>();
        log.mark();
    }

    std::string newBytes() const { return log.added(); }

    ScopedHome home;
    Clock::ScopedManualClock clock { 0x42 };
    std::unique_ptr<AppCommon> core;
    LogTail log { home.logFile() };
};

TEST_F(CatalogueAccessors, ValidIndexesReadTheRowsWithoutLogging)
{
    EXPECT_EQ(core->DeviceName(0), "Platform bootloader");
    EXPECT_EQ(core->DeviceSubName(3), "Echo + Space");
    EXPECT_EQ(core->DeviceVID(2), "7A5C");
    EXPECT_EQ(core->DevicePID(0), "6124");
    EXPECT_EQ(core->DevicePlatformKey(1), 0x7A5CB301u);
    EXPECT_EQ(core->DeviceUpdateFile(3), "hv_DelayVerb.update");
    EXPECT_EQ(core->DeviceChangelogFile(2), "hv_rvb.changelog");
    EXPECT_EQ(core->DeviceURL(1, false), ServerConfig::kDefaultReleaseBaseUrl);
    EXPECT_EQ(core->DeviceURL(1, true), ServerConfig::kDefaultBetaBaseUrl);
    EXPECT_EQ(core->DeviceURL(0, true), "");
    EXPECT_EQ(core->DeviceKeyName(1), "nimbrel");
    EXPECT_EQ(core->DeviceKeyName(0), "platform-bootloader");
    EXPECT_EQ(newBytes(), "");
}

TEST_F(CatalogueAccessors, InvalidIndexesAnswerInvalidDeviceWithOneLogLineEach)
{
    using Accessor = juce::String (AppCommon::*)(int);
    const std::pair<Accessor, const char*> accessors[] = {
        { &AppCommon::DeviceName, "DeviceName" },          { &AppCommon::DeviceSubName, "DeviceSubName" },
        { &AppCommon::DeviceVID, "DeviceVID" },            { &AppCommon::DevicePID, "DevicePID" },
        { &AppCommon::DeviceUpdateFile, "DeviceUpdateFile" }, { &AppCommon::DeviceChangelogFile, "DeviceChangelogFile" },
    };
    std::string expected;
    for (int index : { -1, 4 })
    {
        for (const auto& [accessor, name] : accessors)
        {
            EXPECT_EQ((core.get()->*accessor)(index), "INVALID DEVICE") << name;
            expected += "0x00000042:\tInvalid Device " + std::to_string(index) + " AppCommon::" + name + "()\n";
        }
        EXPECT_EQ(core->DevicePlatformKey(index), 0xFFFFFFFFu);
        expected += "0x00000042:\tInvalid Device " + std::to_string(index) + " AppCommon::DevicePlatformKey()\n";
        EXPECT_EQ(core->DeviceURL(index, true), "INVALID DEVICE");
        expected += "0x00000042:\tInvalid Device " + std::to_string(index) + " AppCommon::DeviceURL( 1 )\n";
        EXPECT_EQ(core->DeviceURL(index, false), "INVALID DEVICE");
        expected += "0x00000042:\tInvalid Device " + std::to_string(index) + " AppCommon::DeviceURL( 0 )\n";
    }
    EXPECT_EQ(newBytes(), expected);
}

TEST_F(CatalogueAccessors, NoConnectedDeviceLogsWithIndexMinusOne)
{
    EXPECT_EQ(core->ConnectedDeviceName(), "INVALID DEVICE");
    EXPECT_EQ(newBytes(), "0x00000042:\tInvalid Device -1 AppCommon::ConnectedDeviceName()\n");
}
