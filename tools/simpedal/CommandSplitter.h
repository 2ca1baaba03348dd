#pragma once

#include <optional>
#include <string>

// Cuts the pedal's input stream into commands. Commands carry no terminator, so they are
// recognised by their known texts and fixed lengths; the data line of a preset write is the one
// exception and ends with a line feed. Bytes that cannot start a command are collected and given
// back as one unknown entry once a line ending or a known command follows them, so a test still
// sees everything that went over the wire.
class CommandSplitter
{
public:
    enum class Kind { Command, DataLine, Unknown };
    struct Entry
    {
        Kind kind;
        std::string text;
    };

    void append(const std::string& bytes) { m_buffer += bytes; }
    std::optional<Entry> next();

    // After "GO" the next input is a data line ending in a line feed.
    void expectDataLine(bool expect) { m_expectDataLine = expect; }
    void clear();

private:
    std::optional<Entry> nextDataLine();
    std::optional<Entry> nextCommand();
    std::optional<Entry> takeUnknown();

    std::string m_buffer;
    std::string m_unknown;
    bool m_expectDataLine = false;
};
