#include "app/Clock.h"
#include "ui/MainComponent.h"

juce::String MainComponent::StateName(int state)
{
    if (state >= COMM_RESTORE_PRESETS_FROM_ARCHIVE)
        return CommStateNames::mainName(state);
    return AppCommon::StateName(state);
}

void MainComponent::DumpStateNames()
{
    for (int state = COMM_STATE_ERROR; state < COMM_STATE_COUNT_; ++state)
        StateName(state);
}

void MainComponent::InitState(int state)
{
    if (state < COMM_RESTORE_PRESETS_FROM_ARCHIVE || state >= COMM_STATE_COUNT_)
    {
        AppCommon::InitState(state);
        return;
    }
    if (state != COMM_GET_PRESET && state != COMM_SET_PRESET && state != COMM_SET_PRESET_SEND)
        logToFile("InitState( " + StateName(state) + " )");

    const auto option = optionOfState(state);
    if (option != kOptionSlots)
    {
        if (state == optionGetState(option))
            EnterOptionGetState(option);
        else
            EnterOptionSetState(option);
        return;
    }
    if (state != COMM_DOWNLOAD_APP_UPDATE)
        EnterPresetState(state);
}

void MainComponent::ProcessState(int state)
{
    const auto now = Clock::nowMs();
    if (m_txIndicator == 2 || m_rxIndicator == 2 || now > m_nextRepaintTime)
        repaintChangingAreas();
    ListPortsIfDue();
    if (appCheckRunning)
        CheckForNewAppUpdate(false, false);
    if (m_firmwareCheck.running)
        CheckAllActiveFirmwareAvailable(false);
    if (m_manualLockUntil != 0 && now >= m_manualLockUntil)
        RefreshStateDisplay(m_state);

    if (state >= COMM_RESTORE_PRESETS_FROM_ARCHIVE && state < COMM_STATE_COUNT_)
    {
        const auto option = optionOfState(state);
        if (option != kOptionSlots && state == optionGetState(option))
            ProcessOptionGetState(option);
        else if (state == COMM_DOWNLOAD_APP_UPDATE)
            DownloadAppUpdate(false);
        else if (option == kOptionSlots)
            ProcessPresetState(state);
    }
    else
    {
        AppCommon::ProcessState(state);
    }
    ++s_tickCounter;
}

// Reading and writing presets is not in this version yet: the connection goes on to idle and
// says so, instead of pretending the pedal's presets were read.
void MainComponent::EnterPresetState(int)
{
    logMessage("<GREY>Preset transfer is not available in this version.", false);
    SetNextState(COMM_STATE_IDLE);
}

void MainComponent::ProcessPresetState(int)
{
}
