#include "device/DeviceCatalogue.h"

#include <gtest/gtest.h>

TEST(Catalogue, RowsHoldTheFourDevices)
{
    const auto rows = DeviceCatalogue::rows("https://r.example/", "https://b.example/betaCode/");
    const auto& boot = rows[0];
    EXPECT_EQ(boot.name, "Platform bootloader");
    EXPECT_EQ(boot.subName, "");
    EXPECT_EQ(boot.vid + ":" + boot.pid, "03EB:6124");
    EXPECT_EQ(boot.platformKey, 0u);
    EXPECT_EQ(boot.usbInterface, 0);
    EXPECT_EQ(boot.platformTag, "APP");
    EXPECT_EQ(boot.baseUrl[0] + boot.baseUrl[1], "");

    const char* names[] = { "Nimbrel", "Embervale", "Nightcrest" };
    const char* subNames[] = { "Modulated Echo", "Ambient Space", "Echo + Space" };
    const char* files[] = { "nimbrel", "hv_rvb", "hv_DelayVerb" };
    const char* tags[] = { "NIMBREL", "EMBERVALE", "NIGHTCREST" };
    for (int i = 1; i <= 3; ++i)
    {
        const auto& row = rows[(size_t) i];
        EXPECT_EQ(row.name, names[i - 1]);
        EXPECT_EQ(row.subName, subNames[i - 1]);
        EXPECT_EQ(row.vid, "7A5C");
        EXPECT_EQ(row.pid, "B30" + juce::String(i));
        EXPECT_EQ(row.platformKey, 0x7A5CB300u + (uint32_t) i);
        EXPECT_EQ(row.usbInterface, 2);
        EXPECT_EQ(row.updateFile, juce::String(files[i - 1]) + ".update");
        EXPECT_EQ(row.changelogFile, juce::String(files[i - 1]) + ".changelog");
        EXPECT_EQ(row.platformTag, tags[i - 1]);
        EXPECT_EQ(row.baseUrl[0], "https://r.example/");
        EXPECT_EQ(row.baseUrl[1], "https://b.example/betaCode/");
    }
}

TEST(Catalogue, ReferenceFilesAndPresetPlatforms)
{
    EXPECT_EQ(DeviceCatalogue::refFile(0, false), "");
    EXPECT_EQ(DeviceCatalogue::refFile(1, true), "nimbrel.ref");
    EXPECT_EQ(DeviceCatalogue::refFile(2, false), "embervale.ref");
    EXPECT_EQ(DeviceCatalogue::refFile(3, true), "nightcrest.ref");
    EXPECT_EQ(DeviceCatalogue::refFile(4, false), "");
    EXPECT_EQ(DeviceCatalogue::refFile(-1, false), "");

    const std::pair<int, const char*> platforms[] = { { 0, "INVALID" }, { 3, "4E494D42" }, { 1, "454D4245" }, { 0, "4E494748" } };
    for (int i = 0; i < 4; ++i)
    {
        EXPECT_EQ(DeviceCatalogue::presetPlatform(i).typeCode, platforms[i].first);
        EXPECT_STREQ(DeviceCatalogue::presetPlatform(i).signature, platforms[i].second);
    }
}

TEST(Catalogue, KeyNameIsLowerCaseWithEveryBlankAHyphen)
{
    EXPECT_EQ(DeviceKeyName("Nimbrel"), "nimbrel");
    EXPECT_EQ(DeviceKeyName("Platform bootloader"), "platform-bootloader");
    EXPECT_EQ(DeviceKeyName("Big Red  Box"), "big-red--box");
    EXPECT_EQ(DeviceKeyName(" Edge "), "-edge-");
}

TEST(Features, WholeTableAgainstVersionsJustBelowAndAtEachMinimum)
{
    // minimum version per (device, option); nullptr: not supported
    const char* table[4][6] = {
        { "v0.0.0.0.UNDEF.0", nullptr, nullptr, nullptr, nullptr, nullptr },
        { "v0.0.0.0.UNDEF.0", "v0.0.0.0.UNDEF.0", "v0.0.0.0.UNDEF.0", "v1.03.0.0.UNDEF.0", "v1.04.5.0.UNDEF.0", "v0.0.0.0.UNDEF.0" },
        { "v0.0.0.0.UNDEF.0", "v0.0.0.0.UNDEF.0", nullptr, "v1.01.0.0.UNDEF.0", nullptr, "v0.0.0.0.UNDEF.0" },
        { "v0.0.0.0.UNDEF.0", "v0.0.0.0.UNDEF.0", "v0.0.0.0.UNDEF.0", "v1.01.0.0.UNDEF.0", "v1.01.42.0.UNDEF.0", "v0.0.0.0.UNDEF.0" },
    };
    const VersionInfo newest("v65535.65535.65535.65535.x.0");
    for (int device = 0; device < 4; ++device)
        for (int option = 0; option < 6; ++option)
        {
            const char* minimum = table[device][option];
            EXPECT_EQ(DeviceSupportsFeature(device, option, newest), minimum != nullptr) << device << "/" << option;
            if (minimum == nullptr)
                continue;
            const VersionInfo atMinimum(minimum);
            EXPECT_TRUE(DeviceSupportsFeature(device, option, atMinimum)) << device << "/" << option;
            if (!atMinimum.isZero())
            {
                VersionInfo below = atMinimum;
                below.revision = 0;
                below.build = (uint16_t) (below.build == 0 ? 0 : below.build - 1);
                if (below.build == atMinimum.build)
                    below.minor = (uint16_t) (below.minor - 1), below.build = 999;
                EXPECT_FALSE(DeviceSupportsFeature(device, option, below)) << device << "/" << option;
            }
        }
}

TEST(Features, PingPongExamples)
{
    for (const char* v : { "v0.0.0.0.UNDEF.0", "v1.04.5.0.UNDEF.0", "v9.99.999.0.UNDEF.0" })
        EXPECT_FALSE(DeviceSupportsFeature(2, DeviceCatalogue::kOptionPingPong, VersionInfo(v))) << v;
    EXPECT_FALSE(DeviceSupportsFeature(1, 4, VersionInfo("v1.04.4.0.UNDEF.0")));
    EXPECT_FALSE(DeviceSupportsFeature(1, 4, VersionInfo("v1.04.4.99.UNDEF.0")));
    EXPECT_TRUE(DeviceSupportsFeature(1, 4, VersionInfo("v1.04.5.0.UNDEF.0")));
    EXPECT_TRUE(DeviceSupportsFeature(1, 4, VersionInfo("v1.04.011.0.master.20210408140335")));
}

TEST(Features, IndexClampedBelowAtZeroAndFalseAboveThree)
{
    const VersionInfo any("v5.0.0.0.x.0");
    EXPECT_TRUE(DeviceSupportsFeature(-1, 0, any));  // reads as the bootloader
    EXPECT_FALSE(DeviceSupportsFeature(-7, 1, any));
    EXPECT_FALSE(DeviceSupportsFeature(4, 0, any));
    EXPECT_FALSE(DeviceSupportsFeature(1, 6, any));
    EXPECT_FALSE(DeviceSupportsFeature(1, -1, any));
}
