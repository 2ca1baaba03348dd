#pragma once

#include "simpedal/CommandSplitter.h"
#include "simpedal/FirmwareResponse.h"

#include <mutex>
#include <string>
#include <vector>

// Faults a test injects into a simulated pedal. Each rule applies to the commands whose text
// starts with its prefix (an empty prefix matches every command) for a number of times (-1: for
// ever). Thread-safe: tests add rules while the pedal serves the port.
class PedalFaults
{
public:
    enum class Kind
    {
        Silence,      // the command is lost: nothing is done and nothing answered
        Late,         // the answer comes delayMs later than usual
        TwoLines,     // the answer line is sent twice in one burst
        Garbage,      // the answer is replaced by the rule's text
        BadChecksum,  // a preset answer carries a wrong checksum
        RepeatGo,     // a preset data line is answered "GO" and not stored
    };

    struct Rule
    {
        Kind kind;
        std::string prefix;
        int times = -1;
        int delayMs = 0;
        std::string text;
    };

    void add(const Rule& rule);
    void clear();

    // The same rules, one call each.
    void silence(const std::string& prefix, int times = -1) { add({ Kind::Silence, prefix, times, 0, {} }); }
    void late(const std::string& prefix, int delayMs, int times = -1) { add({ Kind::Late, prefix, times, delayMs, {} }); }
    void twoLines(const std::string& prefix, int times = -1) { add({ Kind::TwoLines, prefix, times, 0, {} }); }
    void garbage(const std::string& prefix, const std::string& text, int times = -1) { add({ Kind::Garbage, prefix, times, 0, text }); }
    void badChecksum(const std::string& prefix, int times = -1) { add({ Kind::BadChecksum, prefix, times, 0, {} }); }
    void repeatGo(int times) { add({ Kind::RepeatGo, {}, times, 0, {} }); }

    // Decided before the firmware sees the entry: whether it is lost or answered "GO" instead.
    bool takeSilence(const CommandSplitter::Entry& entry);
    bool takeRepeatGo(const CommandSplitter::Entry& entry);
    // Applies the answer-changing rules to the firmware's response.
    void shape(const CommandSplitter::Entry& entry, FirmwareResponse& response);

    // The pedal unplugs itself when the n-th command from now arrives, without answering it.
    void unplugAfterCommands(int count);
    bool countCommandForUnplug();

    void setNeverReachesBootloader(bool never);
    bool neverReachesBootloader() const;

private:
    bool take(Kind kind, const CommandSplitter::Entry& entry, Rule* matched = nullptr);
    static void corruptChecksum(std::string& line);

    mutable std::mutex m_lock;
    std::vector<Rule> m_rules;
    int m_unplugCountdown = -1;
    bool m_neverReachesBootloader = false;
};
