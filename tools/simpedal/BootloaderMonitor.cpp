#include "simpedal/BootloaderMonitor.h"

namespace
{
// The monitor ends its lines the other way round.
constexpr const char* kMonitorLineEnding = "\n\r";
}

BootloaderMonitor::BootloaderMonitor(std::string banner) : m_banner(std::move(banner))
{
    registerCommand('N', [this](const std::string&) { return switchToBinaryMode(); });
    registerCommand('V', [this](const std::string&) { return reportVersion(); });
}

void BootloaderMonitor::clear()
{
    m_buffer.clear();
}

std::optional<std::string> BootloaderMonitor::nextCommand()
{
    const auto end = m_buffer.find('#');
    if (end == std::string::npos)
        return std::nullopt;
    std::string command = m_buffer.substr(0, end + 1);
    m_buffer.erase(0, end + 1);
    return command;
}

FirmwareResponse BootloaderMonitor::handle(const std::string& command)
{
    const auto handler = m_handlers.find(command.front());
    if (command.size() < 2 || handler == m_handlers.end())
        return {};
    return handler->second(command.substr(1, command.size() - 2));
}

// Binary mode differs from the terminal mode only in echo and prompts, which nothing here emits;
// what the computer sees is the empty line of the switch.
FirmwareResponse BootloaderMonitor::switchToBinaryMode() const
{
    FirmwareResponse response;
    response.lines.push_back("");
    response.lineEnding = kMonitorLineEnding;
    return response;
}

FirmwareResponse BootloaderMonitor::reportVersion() const
{
    FirmwareResponse response;
    response.lines.push_back(m_banner);
    response.lineEnding = kMonitorLineEnding;
    return response;
}
