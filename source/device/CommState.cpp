#include "device/CommState.h"

namespace CommStateNames
{
juce::String coreName(int state)
{
    static const char* const names[] = {
        "COMM_STATE_INVALID",
        "COMM_STATE_ERROR",
        "COMM_ERROR_SCAN_FOR_DISCONNECT",
        "COMM_SCAN_FOR_DEVICES",
        "COMM_STATE_IDLE",
        "COMM_STATE_REQUEST_VERSION",
        "COMM_STATE_REQUEST_SERIAL",
        "COMM_LOAD_BIN_FILE",
        "COMM_START_UPDATE",
        "COMM_WAIT_FOR_BOOTLOADER",
        "COMM_STATE_FOUND_BOOTLOADER",
        "COMM_GET_DEVICE_PLATFORM",
        "COMM_VERIFY_DEVICE_PLATFORM",
        "COMM_REQUEST_DEVICE_INFO",
        "COMM_READ_DEVICE_INFO",
        "COMM_ERASE_DEVICE",
        "COMM_PROGRAM_DEVICE",
        "COMM_VERIFY_DEVICE",
        "COMM_REBOOT_DEVICE",
        "COMM_GET_CHANGELOG",
        "COMM_INITIALIZE_UPDATE_INFO",
        "COMM_GET_UPDATE_INFO",
        "COMM_CHECK_UPDATE_DATA",
        "COMM_GET_UPDATE_DATA",
        "COMM_FACTORY_RESET",
    };
    if (state < COMM_STATE_INVALID || state > COMM_FACTORY_RESET)
        return {};
    return names[state + 1];
}

juce::String mainName(int state)
{
    static const char* const names[] = {
        "COMM_RESTORE_PRESETS_FROM_ARCHIVE",
        "COMM_GET_PRESET",
        "COMM_SET_PRESET",
        "COMM_SET_PRESET_SEND",
        "COMM_GET_MIDI_CHANNEL",
        "COMM_SET_MIDI_CHANNEL",
        "COMM_GET_BPM_MODE",
        "COMM_SET_BPM_MODE",
        "COMM_GET_DRY_KILL",
        "COMM_SET_DRY_KILL",
        "COMM_DOWNLOAD_APP_UPDATE",
        "COMM_GET_PING_PONG",
        "COMM_SET_PING_PONG",
        "COMM_STATE_COUNT_",
    };
    if (state < COMM_RESTORE_PRESETS_FROM_ARCHIVE || state > COMM_STATE_COUNT_)
        return {};
    return names[state - COMM_RESTORE_PRESETS_FROM_ARCHIVE];
}
}
