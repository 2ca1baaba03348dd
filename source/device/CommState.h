#pragma once

#include <juce_core/juce_core.h>

// The connection state machine's states. -1..23 belong to the connection core, 24..37 to the
// main component.
enum CommState : int32_t
{
    COMM_STATE_INVALID = -1,
    COMM_STATE_ERROR = 0,
    COMM_ERROR_SCAN_FOR_DISCONNECT = 1,
    COMM_SCAN_FOR_DEVICES = 2,
    COMM_STATE_IDLE = 3,
    COMM_STATE_REQUEST_VERSION = 4,
    COMM_STATE_REQUEST_SERIAL = 5,
    COMM_LOAD_BIN_FILE = 6,
    COMM_START_UPDATE = 7,
    COMM_WAIT_FOR_BOOTLOADER = 8,
    COMM_STATE_FOUND_BOOTLOADER = 9,
    COMM_GET_DEVICE_PLATFORM = 10,
    COMM_VERIFY_DEVICE_PLATFORM = 11,
    COMM_REQUEST_DEVICE_INFO = 12,
    COMM_READ_DEVICE_INFO = 13,
    COMM_ERASE_DEVICE = 14,
    COMM_PROGRAM_DEVICE = 15,
    COMM_VERIFY_DEVICE = 16,
    COMM_REBOOT_DEVICE = 17,
    COMM_GET_CHANGELOG = 18,
    COMM_INITIALIZE_UPDATE_INFO = 19,
    COMM_GET_UPDATE_INFO = 20,
    COMM_CHECK_UPDATE_DATA = 21,
    COMM_GET_UPDATE_DATA = 22,
    COMM_FACTORY_RESET = 23,
    COMM_RESTORE_PRESETS_FROM_ARCHIVE = 24,
    COMM_GET_PRESET = 25,
    COMM_SET_PRESET = 26,
    COMM_SET_PRESET_SEND = 27,
    COMM_GET_MIDI_CHANNEL = 28,
    COMM_SET_MIDI_CHANNEL = 29,
    COMM_GET_BPM_MODE = 30,
    COMM_SET_BPM_MODE = 31,
    COMM_GET_DRY_KILL = 32,
    COMM_SET_DRY_KILL = 33,
    COMM_DOWNLOAD_APP_UPDATE = 34,
    COMM_GET_PING_PONG = 35,
    COMM_SET_PING_PONG = 36,
    COMM_STATE_COUNT_ = 37,
};

namespace CommStateNames
{
    // The display name of a core state (-1..23); empty for any other value.
    juce::String coreName(int state);

    // The display name of a main-component state (24..37); empty for any other value.
    juce::String mainName(int state);
}
