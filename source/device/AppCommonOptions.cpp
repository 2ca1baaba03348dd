#include "device/AppCommon.h"
#include "device/OptionRules.h"

int AppCommon::optionGetState(Option option)
{
    static const int states[] = { COMM_GET_MIDI_CHANNEL, COMM_GET_BPM_MODE, COMM_GET_DRY_KILL, COMM_GET_PING_PONG };
    return states[option];
}

int AppCommon::optionSetState(Option option)
{
    static const int states[] = { COMM_SET_MIDI_CHANNEL, COMM_SET_BPM_MODE, COMM_SET_DRY_KILL, COMM_SET_PING_PONG };
    return states[option];
}

AppCommon::Option AppCommon::optionOfState(int state)
{
    for (int option = kMidiChannel; option < kOptionSlots; ++option)
        if (optionGetState((Option) option) == state || optionSetState((Option) option) == state)
            return (Option) option;
    return kOptionSlots;
}

void AppCommon::setOptionValue(Option option, int value)
{
    m_optionValues[(size_t) option] = OptionRules::clamp(option, value);
}

void AppCommon::UpdateOption(Option option, const juce::String& reply)
{
    const int value = OptionRules::parseReply(option, reply);
    if (value < 0)
        return;
    if (value != m_optionValues[(size_t) option])
        m_optionChanged[(size_t) option] = true;
    m_optionValues[(size_t) option] = value;
    logToFile(OptionRules::updateLogPrefix(option) + juce::String(value));
    SelectOptionItem(option, value);
}

int AppCommon::nextSupportedOption(Option after)
{
    // BPM mode exists from the first firmware on; dry kill and ping pong depend on the version.
    for (int option = after + 1; option < kOptionSlots; ++option)
    {
        const auto version = option == kBpmMode ? VersionInfo(VersionInfo::kUnknown) : m_deviceVersion;
        if (DeviceSupportsFeature(m_connectedDevice, OptionRules::featureNumber(option), version))
            return option;
    }
    return -1;
}

void AppCommon::EnterOptionGetState(Option option)
{
    logMessage("<ORANGE>Get " + OptionRules::displayName(option), false);
    SendCommand(OptionRules::getCommand(option), true, 100, 2.0f);
}

void AppCommon::ProcessOptionGetState(Option option)
{
    if (!HasReply())
    {
        CheckReplyTimeout(COMM_STATE_IDLE, COMM_SCAN_FOR_DEVICES);
        return;
    }
    UpdateOption(option, TakeReply());
    if (m_bReadAllOptions)
        ContinueOptionChain(option, false);
    else
        SetNextState(COMM_STATE_IDLE);
}

void AppCommon::EnterOptionSetState(Option option)
{
    const int value = m_bApplyAllOptions ? OptionValueFromSettings(option) : m_optionValues[(size_t) option];
    setOptionValue(option, value);
    const int sent = m_optionValues[(size_t) option];
    logMessage("<ORANGE>Set " + OptionRules::displayName(option) + " " + juce::String(sent), false);
    if (!SendCommand(OptionRules::setCommand(option, sent), true, 100, 2.0f))
        return;
    if (!m_bApplyAllOptions)
    {
        SetNextState(optionGetState(option));
        return;
    }
    m_optionChanged[(size_t) option] = true;
    SelectOptionItem(option, sent);
    ContinueOptionChain(option, true);
}

void AppCommon::ContinueOptionChain(Option after, bool applying)
{
    const int next = nextSupportedOption(after);
    if (next >= 0)
    {
        SetNextState(applying ? optionSetState((Option) next) : optionGetState((Option) next));
        return;
    }
    if (applying)
    {
        m_bApplyAllOptions = false;
        SetNextState(m_stateAfterOptions);
        return;
    }
    if (IsPresetArchiveRestorePending())
        ContinueWithPresetArchiveRestore();
    else
        SetNextState(m_stateAfterOptions);
}

void AppCommon::ApplyAllOptions(int stateAfter)
{
    m_bApplyAllOptions = true;
    m_stateAfterOptions = stateAfter;
    SetNextState(COMM_SET_MIDI_CHANNEL);
}
