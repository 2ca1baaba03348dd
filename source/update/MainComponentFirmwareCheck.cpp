#include "app/Clock.h"
#include "ui/MainComponent.h"
#include "update/UpdateUrls.h"

UrlRequestResult MainComponent::s_firmwareCheckRequest;

namespace
{
constexpr int kLastStep = 11;

// The steps of one model; 0, 1 and 10 move on to the next model.
enum Step
{
    kRequestInfo = 2,
    kWaitInfo = 3,
    kChangelog = 4,
    kWaitChangelog = 5,
    kRequestReference = 6,
    kWaitReference = 7,
    kProbeDocumentation = 8,
    kWaitProbe = 9,
    kModelDone = 10,
};
}

void MainComponent::CheckAllActiveFirmwareAvailable(bool start)
{
    auto& check = m_firmwareCheck;
    if (start)
    {
        if (check.running)
            return;
        logToFile("CheckAllActiveFirmwareAvailable()");
        check = FirmwareCheck();
        check.step = 1;
        check.beta = m_bBetaChannel;
        check.running = true;
        RefreshStateDisplay(m_state);
        return;
    }
    if (!check.running)
        return;
    if (m_bRecoveryMode)
    {
        check.running = false;
        RefreshStateDisplay(m_state);
        return;
    }

    const auto& row = m_devices[(size_t) juce::jlimit(0, DeviceCatalogue::kDeviceCount - 1, check.model)];
    switch (check.step)
    {
        case kRequestInfo:
            logToFile("update path: " + row.baseUrl[check.beta ? 1 : 0]);
            logToFile("update file: " + row.updateFile);
            firmwareCheckRequest(UpdateUrls::UpdateInfoUrl(row, check.beta), true, kWaitInfo);
            break;
        case kWaitInfo: if (firmwareCheckAnswered(1)) firmwareCheckTakeUpdateInfo(); break;
        case kChangelog: firmwareCheckChangelog(); break;
        case kWaitChangelog: if (firmwareCheckAnswered(2)) firmwareCheckTakeChangelog(); break;
        case kRequestReference:
            firmwareCheckRequest(UpdateUrls::ReferenceUrl(check.model, row, check.beta), true, kWaitReference);
            break;
        case kWaitReference: if (firmwareCheckAnswered(3)) firmwareCheckTakeReference(); break;
        case kProbeDocumentation: firmwareCheckProbeDocumentation(); break;
        case kWaitProbe: if (firmwareCheckAnswered(4)) firmwareCheckTakeProbe(); break;
        case kLastStep: firmwareCheckFinish(); break;
        default: firmwareCheckNextModel(); break;
    }
}

void MainComponent::firmwareCheckNextModel()
{
    ++m_firmwareCheck.model;
    m_firmwareCheck.step = m_firmwareCheck.model >= DeviceCatalogue::kDeviceCount ? kLastStep : (int) kRequestInfo;
}

void MainComponent::firmwareCheckRequest(const juce::String& url, bool usePost, int nextStep)
{
    m_firmwareCheck.requestStartMs = Clock::nowMs();
    startRequest(url, s_firmwareCheckRequest, nullptr, usePost);
    m_firmwareCheck.step = nextStep;
}

// The give-up time counts from the request's own start: counted from the entry of the current
// connection state, a check started after the machine had rested in one state for five minutes
// would give up on every request at once.
bool MainComponent::firmwareCheckAnswered(int waitId)
{
    if (s_firmwareCheckRequest.takeIfDone())
        return true;
    if (Clock::nowMs() - m_firmwareCheck.requestStartMs <= UrlRequestResult::kGiveUpMs)
        return false;
    logToFile("URL REQUEST TIMEOUT MainComponent::CheckAllActiveFirmwareAvailable:" + juce::String(waitId));
    s_firmwareCheckRequest.abandon();
    return s_firmwareCheckRequest.takeIfDone();
}

void MainComponent::firmwareCheckTakeUpdateInfo()
{
    const int i = m_firmwareCheck.model;
    const auto& previous = m_availableUpdates[(size_t) i].availableVersion;
    m_firmwareCheck.comparisonBase[(size_t) i] = previous.isZero() ? m_activeVersion[(size_t) i] : previous;

    const auto& answer = s_firmwareCheckRequest;
    logToFile("Status code: " + juce::String(answer.statusCode));
    logToFile("Server response: " + answer.body);
    logToFile("Size: " + juce::String(answer.body.length()));
    m_firmwareCheck.step = 1;
    if (answer.statusCode == 404)
    {
        logToFile("Error: Server returned 404");
        logToFile("\t" + UpdateUrls::UpdateInfoUrl(m_devices[(size_t) i], m_firmwareCheck.beta));
    }
    else if (answer.statusCode != 200)
    {
        logToFile("Error: Unexpected server response");
        logToFile(answer.body);
    }
    else if (const auto update = UpdateInfo::ParseAvailableUpdate(answer.body))
    {
        SetAvailableUpdate(i, update->version);
        SetAvailableUpdateFile(i, update->file);
        SetAvailableUpdateSize(i, update->size);
        SetAvailableUpdateMD5(i, update->md5);
        m_firmwareCheck.step = kChangelog;
    }
    else
    {
        logToFile("An unexpected response was received from the update server.");
    }
}

void MainComponent::firmwareCheckChangelog()
{
    const int i = m_firmwareCheck.model;
    const auto version = m_availableUpdates[(size_t) i].availableVersion.toString();
    if (!IsChangelogCached(i, version))
    {
        firmwareCheckRequest(UpdateUrls::ChangelogUrl(m_devices[(size_t) i], m_firmwareCheck.beta), true, kWaitChangelog);
        return;
    }
    logToFile(DeviceName(i) + " changelog is cached: " + version);
    m_firmwareCheck.step = kRequestReference;
}

// Only the cache is written here: the connected pedal's own changelog belongs to its update
// sequence, which may be running at the same time for another model.
void MainComponent::firmwareCheckTakeChangelog()
{
    const int i = m_firmwareCheck.model;
    logToFile("Status code: " + juce::String(s_firmwareCheckRequest.statusCode));
    logToFile("Size: " + juce::String(s_firmwareCheckRequest.body.length()));
    if (s_firmwareCheckRequest.statusCode == 200)
        SaveChangelog(i, m_availableUpdates[(size_t) i].availableVersion.toString(), s_firmwareCheckRequest.body, false);
    m_firmwareCheck.step = kRequestReference;
}

void MainComponent::firmwareCheckTakeReference()
{
    logToFile("Status code: " + juce::String(s_firmwareCheckRequest.statusCode));
    logToFile("Size: " + juce::String(s_firmwareCheckRequest.body.length()));
    logToFile("Response: " + s_firmwareCheckRequest.body);
    if (s_firmwareCheckRequest.statusCode == 200)
        SetDocUrl(m_firmwareCheck.model, s_firmwareCheckRequest.body.trim());
    m_firmwareCheck.step = kProbeDocumentation;
}

void MainComponent::firmwareCheckProbeDocumentation()
{
    const auto& url = m_availableUpdates[(size_t) m_firmwareCheck.model].docUrl;
    if (url.isNotEmpty())
    {
        firmwareCheckRequest(url, false, kWaitProbe);
        return;
    }
    SetDocUrl(m_firmwareCheck.model, {});
    RefreshStateDisplay(m_state);
    m_firmwareCheck.step = kModelDone;
}

void MainComponent::firmwareCheckTakeProbe()
{
    logToFile("Status code: " + juce::String(s_firmwareCheckRequest.statusCode));
    logToFile("Size: " + juce::String(s_firmwareCheckRequest.body.length()));
    if (s_firmwareCheckRequest.statusCode != 200)
        SetDocUrl(m_firmwareCheck.model, {});
    RefreshStateDisplay(m_state);
    m_firmwareCheck.step = kModelDone;
}

void MainComponent::firmwareCheckFinish()
{
    for (int i = 1; i < DeviceCatalogue::kDeviceCount; ++i)
    {
        const auto& base = m_firmwareCheck.comparisonBase[(size_t) i];
        const auto& active = m_activeVersion[(size_t) i];
        const auto& available = m_availableUpdates[(size_t) i].availableVersion;
        if (m_deviceKnown[(size_t) i] && !base.isZero() && !active.isZero()
            && (base.isOlderThan(available) || active.isOlderThan(available)))
            AddFirmwareNotification(i);
    }
    m_firmwareCheck.running = false;
    RefreshStateDisplay(m_state);
}
