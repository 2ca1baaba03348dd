#include "firmware/BootloaderCommands.h"

#include <gtest/gtest.h>

TEST(BootloaderCommands, WordCommandsAreExactMonitorTexts)
{
    const auto read = BootloaderCommands::readWord(BootloaderCommands::kEefcFsr);
    EXPECT_EQ(read, "w400e0c08,#");
    EXPECT_EQ(read.getNumBytesAsUTF8(), 11u);
    const auto write = BootloaderCommands::writeWord(BootloaderCommands::kEefcFcr, BootloaderCommands::flashCommand(0x05));
    EXPECT_EQ(write, "W400e0c04,5a000005#");
    EXPECT_EQ(write.getNumBytesAsUTF8(), 19u);
    EXPECT_EQ(BootloaderCommands::readWord(0x00400000), "w00400000,#");
}

TEST(BootloaderCommands, FlashCommandsCarryKeyArgumentAndCode)
{
    EXPECT_EQ(BootloaderCommands::flashCommand(0x01, 3), 0x5A000301u);
    EXPECT_EQ(BootloaderCommands::flashCommand(0x0B, 1), 0x5A00010Bu);
    EXPECT_EQ(BootloaderCommands::flashCommand(0x14), 0x5A000014u);
}

TEST(BootloaderCommands, WordsAssembleLittleEndian)
{
    const uint8_t bytes[4] = { 0x01, 0x02, 0x03, 0x84 };
    EXPECT_EQ(BootloaderCommands::assembleWord(bytes), 0x84030201u);
}
