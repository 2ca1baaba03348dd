#include "simpedal/SimulatedPedal.h"

#include "simpedal/FakeSysfsTree.h"

#include <poll.h>
#include <stdexcept>
#include <sys/eventfd.h>
#include <unistd.h>

const char* pedalModeName(PedalMode mode)
{
    switch (mode)
    {
        case PedalMode::Unplugged: return "unplugged";
        case PedalMode::Application: return "application";
        case PedalMode::Restarting: return "restarting";
        case PedalMode::Bootloader: return "bootloader";
    }
    return "?";
}

SimulatedPedal::SimulatedPedal(PedalSettings settings, std::unique_ptr<PedalAttachment> attachment)
    : m_settings(std::move(settings)), m_attachment(std::move(attachment)), m_firmware(m_settings),
      m_monitor(m_settings.monitorBanner), m_latencyMs(m_settings.latencyMs)
{
    m_wakeFd = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (m_wakeFd < 0)
        throw std::runtime_error("eventfd failed");
    m_thread = std::thread([this] { run(); });
}

SimulatedPedal::~SimulatedPedal()
{
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_stopping = true;
    }
    wake();
    m_thread.join();
    if (m_mode != PedalMode::Unplugged)
        vanish(PedalMode::Unplugged);
    ::close(m_wakeFd);
}

std::unique_ptr<SimulatedPedal> SimulatedPedal::inFakeSysfs(PedalSettings settings, const std::filesystem::path& sysRoot,
                                                            const std::filesystem::path& devDir)
{
    auto tree = std::make_unique<FakeSysfsTree>(sysRoot, devDir, settings.ttyName, settings.usbPort);
    return std::make_unique<SimulatedPedal>(std::move(settings), std::move(tree));
}

// ---- Appearing and vanishing ----

void SimulatedPedal::plug()
{
    std::lock_guard<std::mutex> guard(m_lock);
    if (m_mode == PedalMode::Unplugged)
        appear(PedalMode::Application);
}

void SimulatedPedal::plugInBootloader()
{
    std::lock_guard<std::mutex> guard(m_lock);
    if (m_mode != PedalMode::Unplugged)
        vanish(PedalMode::Unplugged);
    appear(PedalMode::Bootloader);
}

void SimulatedPedal::unplug()
{
    std::lock_guard<std::mutex> guard(m_lock);
    if (m_mode != PedalMode::Unplugged)
        vanish(PedalMode::Unplugged);
}

void SimulatedPedal::appear(PedalMode mode)
{
    m_pty = std::make_unique<PtyEndpoint>();
    const UsbIdentity identity = mode == PedalMode::Application
                                     ? UsbIdentity::application(m_settings.model, m_settings.serial)
                                     : UsbIdentity::bootloader();
    m_splitter.clear();
    m_monitor.clear();
    m_mode = mode;
    ++m_session;
    m_attachment->attach(identity, m_pty->slavePath());
    m_changed.notify_all();
    wake();
}

void SimulatedPedal::vanish(PedalMode nextMode)
{
    m_attachment->detach();
    m_pty.reset();
    m_mode = nextMode;
    ++m_session;
    m_changed.notify_all();
    wake();
}

void SimulatedPedal::restartIntoBootloader()
{
    const unsigned session = m_session;
    after(m_settings.updateDropMs, [this, session] {
        if (session != m_session)
            return;
        vanish(PedalMode::Restarting);
        if (m_faults.neverReachesBootloader())
            return;
        after(m_settings.bootloaderAppearMs, [this, restarting = m_session] {
            if (restarting == m_session)
                appear(PedalMode::Bootloader);
        });
    });
}

// ---- The serving thread ----

void SimulatedPedal::run()
{
    std::unique_lock<std::mutex> lock(m_lock);
    while (!m_stopping)
    {
        pollfd fds[2] = { { m_wakeFd, POLLIN, 0 }, { m_pty ? m_pty->masterFd() : -1, POLLIN, 0 } };
        const unsigned session = m_session;
        const int timeoutMs = nextTimerMs();
        lock.unlock();
        ::poll(fds, 2, timeoutMs);
        if (fds[0].revents & POLLIN)
        {
            uint64_t count = 0;
            [[maybe_unused]] const auto n = ::read(m_wakeFd, &count, sizeof count);
        }
        lock.lock();
        if (session == m_session && m_pty && (fds[1].revents & POLLIN))
            readInput();
        runDueTimers();
    }
}

void SimulatedPedal::wake()
{
    const uint64_t one = 1;
    [[maybe_unused]] const auto n = ::write(m_wakeFd, &one, sizeof one);
}

int SimulatedPedal::nextTimerMs() const
{
    if (m_timers.empty())
        return -1;
    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(m_timers.begin()->first - Clock::now());
    return static_cast<int>(std::max<long long>(0, wait.count()));
}

void SimulatedPedal::runDueTimers()
{
    while (!m_timers.empty() && m_timers.begin()->first <= Clock::now())
    {
        auto action = std::move(m_timers.begin()->second);
        m_timers.erase(m_timers.begin());
        action();
    }
}

void SimulatedPedal::after(int delayMs, std::function<void()> action)
{
    m_timers.emplace(Clock::now() + std::chrono::milliseconds(delayMs), std::move(action));
    wake();
}

void SimulatedPedal::readInput()
{
    char buffer[4096];
    const ssize_t n = ::read(m_pty->masterFd(), buffer, sizeof buffer);
    if (n <= 0)
        return;
    const std::string bytes(buffer, static_cast<size_t>(n));
    if (m_mode == PedalMode::Application)
        handleApplicationInput(bytes);
    else if (m_mode == PedalMode::Bootloader)
        handleMonitorInput(bytes);
}

// ---- Commands ----

void SimulatedPedal::handleApplicationInput(const std::string& bytes)
{
    m_splitter.append(bytes);
    while (m_mode == PedalMode::Application)
    {
        const auto entry = m_splitter.next();
        if (!entry)
            break;
        handleApplicationEntry(*entry);
        m_splitter.expectDataLine(m_firmware.awaitsDataLine());
    }
}

void SimulatedPedal::handleApplicationEntry(const CommandSplitter::Entry& entry)
{
    if (recordAndCountForUnplug(entry.text))
        return vanish(PedalMode::Unplugged);
    if (entry.kind == CommandSplitter::Kind::Unknown || m_faults.takeSilence(entry))
        return;
    FirmwareResponse response = m_faults.takeRepeatGo(entry) ? m_firmware.askForDataLineAgain() : m_firmware.handle(entry);
    m_faults.shape(entry, response);
    send(response);
    if (response.restartIntoBootloader)
        restartIntoBootloader();
}

void SimulatedPedal::handleMonitorInput(const std::string& bytes)
{
    m_monitor.append(bytes);
    while (m_mode == PedalMode::Bootloader)
    {
        const auto command = m_monitor.nextCommand();
        if (!command)
            break;
        const CommandSplitter::Entry entry { CommandSplitter::Kind::Command, *command };
        if (recordAndCountForUnplug(entry.text))
            return vanish(PedalMode::Unplugged);
        if (m_faults.takeSilence(entry))
            continue;
        FirmwareResponse response = m_monitor.handle(*command);
        m_faults.shape(entry, response);
        send(response);
    }
}

void SimulatedPedal::send(const FirmwareResponse& response)
{
    const std::string bytes = response.bytes();
    if (bytes.empty())
        return;
    after(m_latencyMs + response.workMs, [this, bytes, session = m_session] {
        if (session == m_session && m_pty)
            m_pty->write(bytes);
    });
}

bool SimulatedPedal::recordAndCountForUnplug(const std::string& entry)
{
    m_received.push_back(entry);
    m_changed.notify_all();
    return m_faults.countCommandForUnplug();
}

// ---- Observation ----

PedalMode SimulatedPedal::mode() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_mode;
}

bool SimulatedPedal::waitForMode(PedalMode mode, std::chrono::milliseconds timeout) const
{
    std::unique_lock<std::mutex> lock(m_lock);
    return m_changed.wait_for(lock, timeout, [&] { return m_mode == mode; });
}

std::string SimulatedPedal::devicePath() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_pty ? m_attachment->devicePath() : std::string();
}

std::string SimulatedPedal::ptyPath() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_pty ? m_pty->slavePath() : std::string();
}

std::vector<std::string> SimulatedPedal::receivedCommands() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_received;
}

void SimulatedPedal::clearReceivedCommands()
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_received.clear();
}

bool SimulatedPedal::waitForCommandCount(size_t count, std::chrono::milliseconds timeout) const
{
    std::unique_lock<std::mutex> lock(m_lock);
    return m_changed.wait_for(lock, timeout, [&] { return m_received.size() >= count; });
}

PedalOptions SimulatedPedal::options() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_firmware.options;
}

void SimulatedPedal::setOptions(const PedalOptions& options)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_firmware.options = options;
}

Preset SimulatedPedal::preset(int slot) const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_firmware.presets.at(static_cast<size_t>(slot));
}

void SimulatedPedal::setPreset(int slot, const Preset& preset)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_firmware.presets.at(static_cast<size_t>(slot)) = preset;
}

std::string SimulatedPedal::version() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_firmware.version;
}

void SimulatedPedal::setVersion(const std::string& version)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_firmware.version = version;
}

void SimulatedPedal::setLatencyMs(int latencyMs)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_latencyMs = latencyMs;
}
