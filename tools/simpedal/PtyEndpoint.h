#pragma once

#include <string>

// One pseudo terminal: the pedal's end (the master) and the path the computer opens (the slave).
// The pedal keeps a slave descriptor of its own, in raw mode, so that the master never reports a
// hang-up while the computer has the port closed, and so no echo turns replies into input.
class PtyEndpoint
{
public:
    PtyEndpoint();  // throws std::runtime_error when no pty can be had
    ~PtyEndpoint();
    PtyEndpoint(const PtyEndpoint&) = delete;
    PtyEndpoint& operator=(const PtyEndpoint&) = delete;

    int masterFd() const { return m_master; }
    const std::string& slavePath() const { return m_slavePath; }

    // Writes everything it can without blocking; returns false when the master is gone.
    bool write(const std::string& bytes);

private:
    int m_master = -1;
    int m_heldSlave = -1;
    std::string m_slavePath;
};
