#include "app/Clock.h"
#include "device/AppCommon.h"
#include "update/DownloadChecks.h"
#include "update/GetUrlThread.h"
#include "update/ServerErrorText.h"
#include "update/UpdateUrls.h"
#include "ui/Dialogs.h"

namespace
{
constexpr const char* kNoServer = "Unable to connect to update server.";
constexpr const char* kNoUpdateFile = "Unable to retrieve update file.";
constexpr const char* kDebugImageName = "tessel_update.bin";
}

void AppCommon::EnterServerState(int state)
{
    if (state == COMM_GET_CHANGELOG)
        GetChangelog(true);
    else if (state == COMM_INITIALIZE_UPDATE_INFO)
        GetUpdateInfo(true);
    else if (state == COMM_CHECK_UPDATE_DATA)
        GetUpdateData(true);
}

void AppCommon::ProcessServerState(int state)
{
    if (state == COMM_GET_CHANGELOG)
        GetChangelog(false);
    else if (state == COMM_GET_UPDATE_INFO)
        GetUpdateInfo(false);
    else if (state == COMM_GET_UPDATE_DATA)
        GetUpdateData(false);
}

void AppCommon::startRequest(const juce::String& url, UrlRequestResult& record, juce::MemoryBlock* destination,
                             bool usePost)
{
    if (m_bLogUrlRequests)
        logToFile(UpdateUrls::RequestLogLine(url));
    GetUrlThread::start(url, m_userAgent, &record, destination, usePost);
}

void AppCommon::showServerStep(const juce::String& text)
{
    logMessage(text, false);
    setStatusLine(text, true);
    ShowProgress(text, ProgressDisplay::kIndeterminate);
}

void AppCommon::clearUpdateTarget()
{
    updateSize = 0;
    updateVersion.clear();
    updateImageFile.clear();
    logToFile(" - " + updatePath + updateInfoFile);
}

void AppCommon::GetChangelog(bool start)
{
    if (start)
    {
        showServerStep("Retrieving changelog...");
        clearUpdateTarget();
        startRequest(updatePath + updateChangelogFile, m_request, nullptr);
        return;
    }
    if (!m_request.takeIfDone())
        return;
    logToFile("Status code: " + juce::String(m_request.statusCode));
    // Only a served changelog counts: an error page kept here would later be cached and shown
    // as the changelog of the offered version.
    changelogAvailable = m_request.opened && m_request.statusCode == 200;
    if (m_request.opened)
        logToFile("Size: " + juce::String(m_request.body.length()));
    else
        logToFile("Server response: " + m_request.body);
    changelogText = changelogAvailable ? m_request.body : juce::String();
    SetNextState(COMM_INITIALIZE_UPDATE_INFO);
}

void AppCommon::GetUpdateInfo(bool start)
{
    if (start)
    {
        showServerStep("Verifying update info...");
        clearUpdateTarget();
        startRequest(updatePath + updateInfoFile, m_request, nullptr);
        SetNextState(COMM_GET_UPDATE_INFO);
        return;
    }
    if (!m_request.takeIfDone())
        return;
    if (!m_request.opened)
    {
        changelogAvailable = false;
        ReportError("Unable to retrieve update info.", COMM_STATE_IDLE);
        return;
    }
    logToFile("Status code: " + juce::String(m_request.statusCode));
    logToFile("Server response: " + m_request.body);
    logToFile("Size: " + juce::String(m_request.body.length()));
    HandleUpdateInfoResponse(m_request.statusCode, m_request.body);
}

void AppCommon::HandleUpdateInfoResponse(int statusCode, const juce::String& body)
{
    using UpdateInfo::Response;
    switch (UpdateInfo::ClassifyResponse(statusCode, body))
    {
        case Response::NoBody: ReportError(kNoServer, COMM_STATE_IDLE); break;
        case Response::NotFound: OnServerFileNotFound(body); break;
        case Response::ServerError: OnServerError(ServerErrorText::ServerErrorMessage(statusCode, body)); break;
        case Response::Unintelligible: ReportError("Unintelligible response from server.", COMM_STATE_IDLE); break;
        case Response::OldVersion:
        {
            const auto notice = UpdateInfo::SplitOldVersion(body);
            logToFile("header:" + notice.header);
            AlertRequest request;
            request.title = "Error";
            request.message = notice.message;
            request.buttons = { { "OK", 1, juce::KeyPress(juce::KeyPress::returnKey) } };
            Dialogs::get().runAlert(request);
            ReportError(notice.message, COMM_STATE_IDLE);
            break;
        }
        case Response::UpdateInfo:
            if (ParseUpdateInfo(body))
                offerOrReportUpToDate();
            else
                ReportError("Unintelligible response from server.", COMM_STATE_IDLE);
            break;
    }
}

bool AppCommon::ParseUpdateInfo(const juce::String& body)
{
    const auto fields = UpdateInfo::ParseUpdateInfo(body);
    for (const auto& line : fields.logLines)
        logToFile(line);
    updateVersion = fields.version;
    updateImageFile = fields.imageFile;
    updateSize = fields.size;
    updateMD5 = fields.md5;
    // A text without its closing "EOF" may have been cut off in transfer, so nothing in it is
    // offered as an update.
    return fields.endedAtEof;
}

void AppCommon::offerOrReportUpToDate()
{
    logToFile("[" + updateImageFile + "]");
    logToFile("[" + updateVersion + "]");
    logToFile("[" + juce::String(updateSize) + "]");
    if (updateVersion.isEmpty())
    {
        ReportError(kNoServer, COMM_STATE_IDLE);
        return;
    }
    logMessage("<BLUE>" + updateVersion, false);
    if (!IsUpdateNeeded())
    {
        OnDeviceUpToDate();
        return;
    }
    if (changelogAvailable)
        SaveChangelog(updateDevice, updateVersion, changelogText, true);
    OfferUpdate();
}

void AppCommon::OnServerFileNotFound(const juce::String&)
{
    if (m_bBetaChannel)
    {
        SetBetaChannel(false);
        GetUpdate(updateDevice, forcedUpdate);
        return;
    }
    ReportServerFileNotFound();
}

void AppCommon::ReportServerFileNotFound()
{
    ErrorMessage(ServerErrorText::kAlertTitle, ServerErrorText::NotFoundMessage(), false);
    logMessage(ServerErrorText::kNotFoundPanelLine, false);
    m_bKeepLastLogLine = true;
    ReportError(ServerErrorText::kTryLater, COMM_STATE_IDLE);
}

void AppCommon::OnServerError(const juce::String& text)
{
    ErrorMessage(ServerErrorText::kAlertTitle, text, true);
    ReportError(text, COMM_STATE_IDLE);
}

void AppCommon::GetUpdateData(bool start)
{
    if (start)
    {
        showServerStep("Retrieving update...");
        if (m_updateTracker != nullptr)
            m_updateTracker->StartUpdate(m_deviceVersion.toString(), updateVersion, forcedUpdate, m_bRecoveryMode);
        forcedUpdate = false;
        imageReady = false;
        logToFile(" - " + updatePath + updateImageFile);
        startRequest(UpdateUrls::ImageUrl(updatePath, updateImageFile), m_request, &imageData);
        SetNextState(COMM_GET_UPDATE_DATA);
        return;
    }
    if (!m_request.isDone() && m_timeInState > UrlRequestResult::kGiveUpMs)
    {
        logToFile("URL REQUEST TIMEOUT AppCommon::GetUpdateData");
        m_request.abandon();
        m_request.takeIfDone();
        ReportError(kNoUpdateFile, COMM_STATE_IDLE);
        return;
    }
    if (!m_request.takeIfDone())
        return;
    if (!m_request.opened)
        ReportError(kNoUpdateFile, COMM_STATE_IDLE);
    else if (m_request.statusCode != 200)
        ReportUpdateFileError(kNoUpdateFile, ServerErrorText::ImageDownloadErrorMessage(m_request.statusCode, m_request.body),
                              COMM_STATE_IDLE);
    else
        AcceptDownloadedImage();
}

void AppCommon::AcceptDownloadedImage()
{
    logToFile("  " + juce::String((juce::int64) imageData.getSize()) + " bytes");
    if (const auto failure = DownloadChecks::CheckFirmwareImage(imageData, updateSize, updateMD5))
    {
        ReportUpdateFileError(failure->title, failure->message, COMM_STATE_IDLE);
        return;
    }
    imageReady = true;
    if (m_bSaveImage)
    {
        juce::File::getSpecialLocation(juce::File::userHomeDirectory)
            .getChildFile(kDebugImageName)
            .replaceWithData(imageData.getData(), imageData.getSize());
        logMessage("<RED>Saved.", false);
    }
    m_timerIntervalMs = 100;
    SetNextState(COMM_LOAD_BIN_FILE);
}

void AppCommon::ReportUpdateFileError(const juce::String& title, const juce::String& message, int nextState)
{
    logMessage("<RED>" + message, false);
    m_bKeepLastLogLine = true;
    ReportError(kNoUpdateFile, nextState);
    ClearAvailableUpdate(updateDevice);
    m_updateNoticeDevice = updateDevice;
    ErrorMessage(title, message, true);
}
