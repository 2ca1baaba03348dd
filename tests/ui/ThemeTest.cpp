// The device theme table and the active theme.
#include "ui/Theme.h"

#include "device/DeviceCatalogue.h"

#include <gtest/gtest.h>

TEST(Theme, UnknownDeviceIndexesFallBackToTheGreyRowAndLoadingSwitchesTheActiveTheme)
{
    const auto& grey = Theme::forDevice(DeviceCatalogue::kBootloader);
    EXPECT_EQ(grey[0], 0xFFBFBFBFu);
    EXPECT_EQ(Theme::forDevice(-1), grey);
    EXPECT_EQ(Theme::forDevice(DeviceCatalogue::kDeviceCount), grey);

    // The accents that notification lines borrow for each pedal.
    EXPECT_EQ(Theme::forDevice(DeviceCatalogue::kNimbrel)[0], 0xFF00BF00u);
    EXPECT_EQ(Theme::forDevice(DeviceCatalogue::kEmbervale)[0], 0xFF6095C9u);
    EXPECT_EQ(Theme::forDevice(DeviceCatalogue::kNightcrest)[0], 0xFFC57000u);

    Theme::load(DeviceCatalogue::kNightcrest);
    EXPECT_EQ(s_theme, Theme::forDevice(DeviceCatalogue::kNightcrest));
    Theme::load(7);
    EXPECT_EQ(s_theme, grey);
}
