#include "simpedal/TestbedSession.h"

#include "updateserver/UnreachableServers.h"

#include <fstream>
#include <sstream>
#include <thread>

TestbedSession::TestbedSession(std::string appBinary, std::filesystem::path home, PedalSettings settings)
    : m_appBinary(std::move(appBinary)), m_home(std::move(home))
{
    auto attachment = std::make_unique<UmockdevAttachment>(settings.ttyName, settings.usbPort);
    m_testbed = attachment.get();
    m_pedal = std::make_unique<SimulatedPedal>(std::move(settings), std::move(attachment));
}

TestbedSession::~TestbedSession()
{
    stopApp();
}

void TestbedSession::startApp(bool underPreload)
{
    std::filesystem::create_directories(m_home);
    UnreachableServers::writeInto(juce::File(m_home.string()));
    auto environment = underPreload ? m_testbed->preloadEnvironment() : std::vector<std::string> {};
    environment.push_back("HOME=" + m_home.string());
    m_app = std::make_unique<PreloadedProcess>(std::vector<std::string> { m_appBinary }, environment);
}

void TestbedSession::stopApp()
{
    m_app.reset();
}

std::filesystem::path TestbedSession::logFile() const
{
    return m_home / "Halvane" / "HVPlatformUpdater.log";
}

std::string TestbedSession::log() const
{
    std::ifstream in(logFile(), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

size_t TestbedSession::waitForLog(const std::string& text, std::chrono::milliseconds timeout, size_t from) const
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;)
    {
        const std::string current = log();
        const size_t found = from <= current.size() ? current.find(text, from) : std::string::npos;
        if (found != std::string::npos || std::chrono::steady_clock::now() >= deadline)
            return found;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

uint32_t TestbedSession::recordTime(const std::string& log, size_t position)
{
    // Records read "0x1234abcd:\t<message>"; a message may not hold a raw line feed.
    const size_t lineStart = log.rfind('\n', position);
    const size_t start = lineStart == std::string::npos ? 0 : lineStart + 1;
    return static_cast<uint32_t>(std::stoul(log.substr(start, 10), nullptr, 16));
}
