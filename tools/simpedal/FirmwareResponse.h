#pragma once

#include <string>
#include <vector>

// What firmware does about one received command: the lines it answers (each followed by the
// line ending), how long it works before answering, and whether it restarts into the bootloader.
struct FirmwareResponse
{
    std::vector<std::string> lines;
    std::string lineEnding = "\r\n";
    int workMs = 0;
    bool restartIntoBootloader = false;

    std::string bytes() const
    {
        std::string out;
        for (const auto& line : lines)
            out += line + lineEnding;
        return out;
    }
};
