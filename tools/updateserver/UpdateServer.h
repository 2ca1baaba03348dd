#pragma once

#include <juce_core/juce_core.h>

#include <memory>
#include <utility>
#include <vector>

// A local stand-in for the maker's update server and event site, for tests and the demo. It
// serves a folder laid out like the release server ("/halvane/...") with the beta server inside
// it ("/halvane/betaCode/..."), answers GET and POST alike, records every request, injects faults
// per path, and accepts event reports at "/updater/event.php". It listens on 127.0.0.1 only.
class UpdateServer
{
public:
    static constexpr const char* kReleasePath = "/halvane/";
    static constexpr const char* kBetaPath = "/halvane/betaCode/";
    static constexpr const char* kEventPath = "/updater/event.php";

    struct RecordedRequest
    {
        juce::String method;
        juce::String path;
        std::vector<std::pair<juce::String, juce::String>> headers;
        juce::String body;

        // The first header of that name (letter case ignored), or empty.
        juce::String header(const juce::String& name) const;
        int headerCount(const juce::String& name) const;
    };

    struct Fault
    {
        enum class Kind { Status, Delay, Truncate, OldVersion, WrongSize, WrongDigest, Redirect };
        Kind kind = Kind::Status;
        int statusCode = 0;
        juce::String text;
        int delayMs = 0;

        // That status with `body` (default: the status text).
        static Fault status(int code, const juce::String& body = {});
        // Waits, then answers as usual; a stopping server ends the wait at once.
        static Fault delay(int ms);
        // Announces the whole file, sends half of it and closes the connection.
        static Fault truncate();
        // "[Old Version]" and the message instead of the file.
        static Fault oldVersion(const juce::String& message);
        // An update-information file whose "Size:" is one more than the image's.
        static Fault wrongSize();
        // An update-information file whose "MD5:" differs from the image's digest.
        static Fault wrongDigest();
        // A redirect to `location` (absolute URL or path).
        static Fault redirect(const juce::String& location, int code = 302);
    };

    explicit UpdateServer(juce::File root);
    ~UpdateServer();

    // Binds 127.0.0.1 (port 0: any free port) and starts serving on a background thread.
    bool start(int port = 0);
    void stop();

    int port() const;
    juce::String baseUrl() const;  // "http://127.0.0.1:<port>/"
    juce::String releaseBaseUrl() const;
    juce::String betaBaseUrl() const;
    juce::String eventReportUrl() const;
    const juce::File& root() const;

    // Faults stay on their path (as the server sees it, e.g. "/halvane/nimbrel.update") until cleared.
    void setFault(const juce::String& path, const Fault& fault);
    void clearFault(const juce::String& path);
    void clearFaults();

    // The event site's answer. Without one (or with an empty one) it answers {"status":"Success"}
    // to a report whose access hash is right for today and {"status":"Denied"} otherwise.
    void setEventAnswer(const juce::String& answer);

    std::vector<RecordedRequest> requests() const;
    std::vector<RecordedRequest> requestsTo(const juce::String& path) const;
    void clearRequests();

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};
