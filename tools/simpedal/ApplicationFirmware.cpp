#include "simpedal/ApplicationFirmware.h"

#include "device/DeviceCatalogue.h"
#include "device/VersionInfo.h"
#include "simpedal/FactoryPresets.h"

#include <cctype>

namespace
{
using Option = PedalOptions::Option;

struct OptionCommand
{
    const char* suffix;
    Option option;
};
const OptionCommand kOptionCommands[] = {
    { "MCh", Option::MidiChannel }, { "BPM", Option::BpmMode }, { "DrK", Option::DryKill }, { "Png", Option::PingPong },
};

FirmwareResponse reply(const std::string& line, int workMs = 0)
{
    FirmwareResponse response;
    response.lines.push_back(line);
    response.workMs = workMs;
    return response;
}
}

int parseTwoHexDigits(const std::string& text)
{
    if (text.size() != 2 || !std::isxdigit(static_cast<unsigned char>(text[0]))
        || !std::isxdigit(static_cast<unsigned char>(text[1])))
        return -1;
    return std::stoi(text, nullptr, 16);
}

ApplicationFirmware::ApplicationFirmware(const PedalSettings& settings)
    : version(settings.version), serial(settings.serial), m_model(settings.model),
      m_factoryDelayMs(settings.factoryDelayMs)
{
    factoryReset();
}

void ApplicationFirmware::factoryReset()
{
    options = PedalOptions {};
    for (int slot = 0; slot < kSlotCount; ++slot)
        presets[static_cast<size_t>(slot)] = FactoryPresets::make(m_model, slot);
}

bool ApplicationFirmware::supports(Option option) const
{
    const int feature = PedalOptions::featureNumber(option);
    return DeviceSupportsFeature(m_model, feature, VersionInfo(juce::String(version)));
}

FirmwareResponse ApplicationFirmware::handle(const CommandSplitter::Entry& entry)
{
    switch (entry.kind)
    {
        case CommandSplitter::Kind::Command: return handleCommand(entry.text);
        case CommandSplitter::Kind::DataLine: return handleDataLine(entry.text);
        case CommandSplitter::Kind::Unknown: break;
    }
    return {};
}

FirmwareResponse ApplicationFirmware::handleCommand(const std::string& command)
{
    m_awaitsDataLine = false;
    if (command == "Version")
        return reply(version);
    if (command == "Serial")
        return reply(serial);
    if (command == "Factory")
    {
        factoryReset();
        return reply("OK", m_factoryDelayMs);
    }
    if (command == "Update")
    {
        FirmwareResponse response;
        response.restartIntoBootloader = true;
        return response;
    }
    if (command == "StPrst")
    {
        m_awaitsDataLine = true;
        return reply("GO");
    }
    if (command.rfind("Preset", 0) == 0)
        return handlePresetRead(command.substr(6));
    return handleOption(command);
}

FirmwareResponse ApplicationFirmware::handleOption(const std::string& command)
{
    const std::string verb = command.substr(0, 3);
    for (const auto& known : kOptionCommands)
    {
        if (command.compare(3, 3, known.suffix) != 0 || !supports(known.option))
            continue;
        if (verb == "Get")
            return reply(options.reply(known.option));
        // A Set is never answered; a value out of range or not hexadecimal is refused silently.
        options.set(known.option, parseTwoHexDigits(command.substr(6)));
        return {};
    }
    return {};
}

FirmwareResponse ApplicationFirmware::handlePresetRead(const std::string& argument) const
{
    const int slot = parseTwoHexDigits(argument);
    if (slot < 0 || slot >= kSlotCount)
        return {};
    return reply(presets[static_cast<size_t>(slot)].ToSerialized().trimEnd().toStdString());
}

FirmwareResponse ApplicationFirmware::handleDataLine(const std::string& line)
{
    m_awaitsDataLine = false;
    const int slot = parseTwoHexDigits(line.substr(0, 2));
    Preset received(nullptr, m_model);
    if (slot < 0 || slot >= kSlotCount || !received.ParseSerialized(juce::String(line.substr(2)), slot, m_model))
        return askForDataLineAgain();
    received.ClearModified();
    presets[static_cast<size_t>(slot)] = received;
    return reply("OK");
}

FirmwareResponse ApplicationFirmware::askForDataLineAgain()
{
    m_awaitsDataLine = true;
    return reply("GO");
}
