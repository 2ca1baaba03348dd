#pragma once

#include "device/VersionInfo.h"

#include <juce_core/juce_core.h>

#include <cstdint>
#include <optional>

// The pedal update-information file:
//   [Nimbrel Update ...          header (the same for every model)
//   v1.05.000.0.master.20240301  newest firmware version
//   File:<image file name>
//   Size:<bytes>
//   MD5:<32 lower-case hex digits>
//   EOF
namespace UpdateInfo
{
    inline constexpr const char* kHeader = "[Nimbrel Update";
    inline constexpr const char* kOldVersionHeader = "[Old Version]";

    // What the background check keeps for a model.
    struct AvailableUpdate
    {
        VersionInfo version;
        juce::String file;
        int32_t size = 0;
        juce::String md5;
    };

    // Strict: exactly the layout above, lines 3 to 5 in that order and "EOF" after them.
    // Values are taken as they stand after the first ":"; nothing is trimmed further.
    std::optional<AvailableUpdate> ParseAvailableUpdate(const juce::String& text);

    // What the connected-pedal sequence keeps, with the log lines the parse produced.
    struct UpdateInfoFields
    {
        juce::String header;
        juce::String version;
        juce::String imageFile;
        int32_t size = 0;
        juce::String md5;
        bool endedAtEof = false;  // false: the text ran out before an "EOF" line
        juce::StringArray logLines;
    };

    // Tolerant: after header and version, "File:", "Size:" and "MD5:" lines in any order (the
    // last one wins), unknown lines logged, up to a line "EOF" or the end of the text.
    // A text that ends without "EOF" may have been cut short in transfer, so the caller should
    // not offer an update from it (see `endedAtEof`).
    UpdateInfoFields ParseUpdateInfo(const juce::String& body);

    // How the connected-pedal sequence treats an answer to its update-information request.
    enum class Response
    {
        NoBody,          // "Unable to connect to update server."
        NotFound,        // 404: repeat on the release channel, or report "404 - File Not Found"
        OldVersion,      // the server's message for the user, see `SplitOldVersion`
        UpdateInfo,      // parse with ParseUpdateInfo
        Unintelligible,  // "Unintelligible response from server."
        ServerError,     // any other status: the server-error alert
    };
    Response ClassifyResponse(int statusCode, const juce::String& body);

    // "[Old Version]" answers: the first line (for the log) and the rest (for the user).
    struct OldVersionNotice
    {
        juce::String header;
        juce::String message;
    };
    OldVersionNotice SplitOldVersion(const juce::String& body);
}
