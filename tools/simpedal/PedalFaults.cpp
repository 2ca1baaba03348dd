#include "simpedal/PedalFaults.h"

#include <cstdio>

void PedalFaults::add(const Rule& rule)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_rules.push_back(rule);
}

void PedalFaults::clear()
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_rules.clear();
    m_unplugCountdown = -1;
    m_neverReachesBootloader = false;
}

bool PedalFaults::take(Kind kind, const CommandSplitter::Entry& entry, Rule* matched)
{
    std::lock_guard<std::mutex> guard(m_lock);
    for (auto it = m_rules.begin(); it != m_rules.end(); ++it)
    {
        if (it->kind != kind || entry.text.rfind(it->prefix, 0) != 0 || it->times == 0)
            continue;
        if (matched != nullptr)
            *matched = *it;
        if (it->times > 0 && --it->times == 0)
            m_rules.erase(it);
        return true;
    }
    return false;
}

bool PedalFaults::takeSilence(const CommandSplitter::Entry& entry)
{
    return take(Kind::Silence, entry);
}

bool PedalFaults::takeRepeatGo(const CommandSplitter::Entry& entry)
{
    return entry.kind == CommandSplitter::Kind::DataLine && take(Kind::RepeatGo, entry);
}

void PedalFaults::shape(const CommandSplitter::Entry& entry, FirmwareResponse& response)
{
    if (response.lines.empty())
        return;
    Rule rule;
    if (entry.text.rfind("Preset", 0) == 0 && take(Kind::BadChecksum, entry))
        corruptChecksum(response.lines.front());
    if (take(Kind::Garbage, entry, &rule))
        response.lines.front() = rule.text;
    if (take(Kind::TwoLines, entry))
        response.lines.push_back(response.lines.front());
    if (take(Kind::Late, entry, &rule))
        response.workMs += rule.delayMs;
}

void PedalFaults::corruptChecksum(std::string& line)
{
    if (line.size() < 2)
        return;
    const int checksum = std::stoi(line.substr(line.size() - 2), nullptr, 16);
    char digits[3];
    std::snprintf(digits, sizeof digits, "%02X", (checksum + 1) & 0xFF);
    line.replace(line.size() - 2, 2, digits);
}

void PedalFaults::unplugAfterCommands(int count)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_unplugCountdown = count;
}

bool PedalFaults::countCommandForUnplug()
{
    std::lock_guard<std::mutex> guard(m_lock);
    if (m_unplugCountdown <= 0)
        return false;
    return --m_unplugCountdown == 0;
}

void PedalFaults::setNeverReachesBootloader(bool never)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_neverReachesBootloader = never;
}

bool PedalFaults::neverReachesBootloader() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_neverReachesBootloader;
}
