#pragma once

#include "presets/Preset.h"
#include "simpedal/CommandSplitter.h"
#include "simpedal/FirmwareResponse.h"
#include "simpedal/PedalOptions.h"
#include "simpedal/PedalSettings.h"

#include <array>
#include <string>

// The pedal's application firmware: identification, options, 128 preset slots, factory reset
// and the jump into the ROM bootloader. Not thread-safe; the pedal serialises access.
class ApplicationFirmware
{
public:
    static constexpr int kSlotCount = 128;

    explicit ApplicationFirmware(const PedalSettings& settings);

    FirmwareResponse handle(const CommandSplitter::Entry& entry);

    // True after "GO": the next input is the data line of a preset write.
    bool awaitsDataLine() const { return m_awaitsDataLine; }
    // "GO" to a data line: the computer is to send it again.
    FirmwareResponse askForDataLineAgain();
    void factoryReset();
    bool supports(PedalOptions::Option option) const;

    PedalOptions options;
    std::array<Preset, kSlotCount> presets;
    std::string version;
    std::string serial;

private:
    FirmwareResponse handleCommand(const std::string& command);
    FirmwareResponse handleOption(const std::string& command);
    FirmwareResponse handlePresetRead(const std::string& argument) const;
    FirmwareResponse handleDataLine(const std::string& line);

    int m_model;
    int m_factoryDelayMs;
    bool m_awaitsDataLine = false;
};

// The value of exactly two hexadecimal digits, or -1.
int parseTwoHexDigits(const std::string& text);
