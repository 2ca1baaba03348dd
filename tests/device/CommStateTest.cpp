#include "device/CommState.h"

#include <gtest/gtest.h>

TEST(CommState, NamesCoverEveryStateAndNothingElse)
{
    EXPECT_EQ(CommStateNames::coreName(-1), "COMM_STATE_INVALID");
    EXPECT_EQ(CommStateNames::coreName(COMM_STATE_IDLE), "COMM_STATE_IDLE");
    EXPECT_EQ(CommStateNames::coreName(COMM_FACTORY_RESET), "COMM_FACTORY_RESET");
    EXPECT_EQ(CommStateNames::coreName(24), "");
    EXPECT_EQ(CommStateNames::coreName(-2), "");
    EXPECT_EQ(CommStateNames::mainName(COMM_RESTORE_PRESETS_FROM_ARCHIVE), "COMM_RESTORE_PRESETS_FROM_ARCHIVE");
    EXPECT_EQ(CommStateNames::mainName(COMM_DOWNLOAD_APP_UPDATE), "COMM_DOWNLOAD_APP_UPDATE");
    EXPECT_EQ(CommStateNames::mainName(COMM_SET_PING_PONG), "COMM_SET_PING_PONG");
    EXPECT_EQ(CommStateNames::mainName(COMM_STATE_COUNT_), "COMM_STATE_COUNT_");
    EXPECT_EQ(CommStateNames::mainName(23), "");
    EXPECT_EQ(CommStateNames::mainName(38), "");
}
