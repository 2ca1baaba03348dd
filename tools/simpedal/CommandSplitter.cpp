#include "simpedal/CommandSplitter.h"

#include <array>
#include <cctype>

namespace
{
struct KnownCommand
{
    const char* text;
    size_t argumentChars;
};

const std::array<KnownCommand, 14> kCommands { {
    { "Version", 0 }, { "Serial", 0 }, { "Factory", 0 }, { "Update", 0 }, { "StPrst", 0 },
    { "GetMCh", 0 }, { "GetBPM", 0 }, { "GetDrK", 0 }, { "GetPng", 0 },
    { "SetMCh", 2 }, { "SetBPM", 2 }, { "SetDrK", 2 }, { "SetPng", 2 }, { "Preset", 2 },
} };

enum class Match { None, Partial, Complete };

Match matchCommand(const std::string& buffer, const KnownCommand& command, size_t& length)
{
    const std::string name = command.text;
    length = name.size() + command.argumentChars;
    const size_t compared = std::min(buffer.size(), name.size());
    if (buffer.compare(0, compared, name, 0, compared) != 0)
        return Match::None;
    return buffer.size() >= length ? Match::Complete : Match::Partial;
}

bool isLineEnding(char c)
{
    return c == '\r' || c == '\n';
}
}

void CommandSplitter::clear()
{
    m_buffer.clear();
    m_unknown.clear();
    m_expectDataLine = false;
}

std::optional<CommandSplitter::Entry> CommandSplitter::next()
{
    if (m_expectDataLine)
        if (auto line = nextDataLine())
            return line;
    return nextCommand();
}

std::optional<CommandSplitter::Entry> CommandSplitter::nextDataLine()
{
    if (m_buffer.empty())
        return std::nullopt;
    // A data line is hexadecimal; a letter beyond F means the computer gave up and announces again.
    if (!std::isxdigit(static_cast<unsigned char>(m_buffer[0])))
    {
        m_expectDataLine = false;
        return std::nullopt;
    }
    const auto end = m_buffer.find('\n');
    if (end == std::string::npos)
        return std::nullopt;
    std::string line = m_buffer.substr(0, end);
    m_buffer.erase(0, end + 1);
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    m_expectDataLine = false;
    return Entry { Kind::DataLine, line };
}

std::optional<CommandSplitter::Entry> CommandSplitter::nextCommand()
{
    for (;;)
    {
        // Line endings are not part of any command; one closes a run of unknown bytes.
        if (!m_buffer.empty() && isLineEnding(m_buffer[0]))
        {
            m_buffer.erase(0, 1);
            if (auto unknown = takeUnknown())
                return unknown;
            continue;
        }
        if (m_buffer.empty())
            return std::nullopt;
        bool partial = false;
        for (const auto& command : kCommands)
        {
            size_t length = 0;
            const Match match = matchCommand(m_buffer, command, length);
            if (match == Match::Complete)
            {
                if (auto unknown = takeUnknown())
                    return unknown;
                Entry entry { Kind::Command, m_buffer.substr(0, length) };
                m_buffer.erase(0, length);
                return entry;
            }
            partial = partial || match == Match::Partial;
        }
        if (partial)
            return std::nullopt;
        m_unknown += m_buffer[0];
        m_buffer.erase(0, 1);
    }
}

std::optional<CommandSplitter::Entry> CommandSplitter::takeUnknown()
{
    if (m_unknown.empty())
        return std::nullopt;
    Entry entry { Kind::Unknown, m_unknown };
    m_unknown.clear();
    return entry;
}
