#pragma once

#include <chrono>
#include <string>

// The computer's side of a simulated pedal's port, as the application uses it: raw bytes out,
// reply lines in.
class PortClient
{
public:
    explicit PortClient(const std::string& path);
    ~PortClient();
    bool isOpen() const { return m_fd >= 0; }

    void write(const std::string& bytes);
    // The next line without its line ending ("" is a valid empty line); "<timeout>" when none came.
    std::string readLine(std::chrono::milliseconds timeout = std::chrono::milliseconds(1000));
    // Everything that arrives within the window.
    std::string readFor(std::chrono::milliseconds window);
    // True when the far end has gone: a read fails or reports a hang-up.
    bool waitForHangup(std::chrono::milliseconds timeout);

    static constexpr const char* kTimeout = "<timeout>";

private:
    bool fill(std::chrono::milliseconds timeout);

    int m_fd = -1;
    std::string m_buffer;
};
