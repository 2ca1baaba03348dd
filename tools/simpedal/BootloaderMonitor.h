#pragma once

#include "simpedal/FirmwareResponse.h"

#include <functional>
#include <map>
#include <optional>
#include <string>

// The microcontroller's ROM monitor as the pedal shows it after "Update": commands are a letter,
// optional comma-separated hexadecimal arguments and a closing "#". Each letter has a handler;
// the memory commands register theirs next to the mode and version commands.
class BootloaderMonitor
{
public:
    using Handler = std::function<FirmwareResponse(const std::string& arguments)>;

    explicit BootloaderMonitor(std::string banner);

    void append(const std::string& bytes) { m_buffer += bytes; }
    // The next complete command, "#" included.
    std::optional<std::string> nextCommand();
    FirmwareResponse handle(const std::string& command);

    void registerCommand(char letter, Handler handler) { m_handlers[letter] = std::move(handler); }
    void clear();

private:
    FirmwareResponse switchToBinaryMode() const;
    FirmwareResponse reportVersion() const;

    std::map<char, Handler> m_handlers;
    std::string m_buffer;
    std::string m_banner;
};
