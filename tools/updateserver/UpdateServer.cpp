#include "updateserver/UpdateServer.h"

#include "app/Clock.h"
#include "diagnostics/EventReporter.h"
#include "update/StatusCodeText.h"

#include <httplib.h>

#include <condition_variable>
#include <map>
#include <mutex>
#include <optional>
#include <thread>

namespace
{
using Fault = UpdateServer::Fault;

juce::String fromStd(const std::string& text)
{
    return juce::String::fromUTF8(text.data(), (int) text.size());
}

std::string toStd(const juce::String& text)
{
    return text.toStdString();
}

std::string contentTypeFor(const juce::File& file)
{
    const auto ext = file.getFileExtension().toLowerCase();
    if (ext == ".html")
        return "text/html";
    if (ext == ".bin" || ext == ".exe")
        return "application/octet-stream";
    return "text/plain";
}

// Form fields of an event report, decoded once.
std::map<juce::String, juce::String> formFields(const juce::String& body)
{
    std::map<juce::String, juce::String> fields;
    for (const auto& pair : juce::StringArray::fromTokens(body, "&", {}))
        fields[juce::URL::removeEscapeChars(pair.upToFirstOccurrenceOf("=", false, false))] =
            juce::URL::removeEscapeChars(pair.fromFirstOccurrenceOf("=", false, false));
    return fields;
}

juce::String rewriteLine(const juce::String& text, const juce::String& label,
                         const std::function<juce::String(const juce::String&)>& newValue)
{
    juce::StringArray lines;
    lines.addTokens(text, "\n", {});
    for (auto& line : lines)
        if (line.startsWith(label))
            line = label + newValue(line.substring(label.length()).trimEnd()) + (line.endsWithChar('\r') ? "\r" : "");
    return lines.joinIntoString("\n");
}

juce::String withWrongSize(const juce::String& info)
{
    return rewriteLine(info, "Size:", [](const juce::String& value) { return juce::String(value.getIntValue() + 1); });
}

juce::String withWrongDigest(const juce::String& info)
{
    return rewriteLine(info, "MD5:", [](const juce::String& value) {
        return (value.startsWithChar('0') ? "1" : "0") + value.substring(1);
    });
}
}

struct UpdateServer::Impl
{
    explicit Impl(juce::File rootFolder) : root(std::move(rootFolder)) {}

    void handle(const httplib::Request& request, httplib::Response& response);
    void record(const httplib::Request& request);
    std::optional<Fault> faultFor(const juce::String& path) const;
    bool waitUnlessStopping(int ms);
    void answerEvent(const juce::String& body, httplib::Response& response);
    void applyFault(const Fault& fault, httplib::Response& response);
    void serveFile(const juce::String& path, const std::optional<Fault>& fault, httplib::Response& response);
    juce::File fileFor(const juce::String& path) const;

    juce::File root;
    httplib::Server server;
    std::thread listener;
    int port = 0;

    mutable std::mutex lock;
    std::condition_variable stopSignal;
    bool stopping = false;
    std::map<juce::String, Fault> faults;
    juce::String eventAnswer;
    std::vector<RecordedRequest> requests;
};

void UpdateServer::Impl::handle(const httplib::Request& request, httplib::Response& response)
{
    record(request);
    const auto path = fromStd(request.path);
    if (path == kEventPath && request.method == "POST")
        return answerEvent(fromStd(request.body), response);

    const auto fault = faultFor(path);
    if (fault && fault->kind == Fault::Kind::Delay && !waitUnlessStopping(fault->delayMs))
        return applyFault(Fault::status(503), response);
    if (fault && (fault->kind == Fault::Kind::Status || fault->kind == Fault::Kind::Redirect
                  || fault->kind == Fault::Kind::OldVersion))
        return applyFault(*fault, response);
    serveFile(path, fault, response);
}

void UpdateServer::Impl::record(const httplib::Request& request)
{
    RecordedRequest recorded { fromStd(request.method), fromStd(request.path), {}, fromStd(request.body) };
    for (const auto& [name, value] : request.headers)
        recorded.headers.emplace_back(fromStd(name), fromStd(value));
    const std::lock_guard<std::mutex> guard(lock);
    requests.push_back(std::move(recorded));
}

std::optional<Fault> UpdateServer::Impl::faultFor(const juce::String& path) const
{
    const std::lock_guard<std::mutex> guard(lock);
    const auto found = faults.find(path);
    return found == faults.end() ? std::nullopt : std::optional<Fault>(found->second);
}

bool UpdateServer::Impl::waitUnlessStopping(int ms)
{
    std::unique_lock<std::mutex> guard(lock);
    return !stopSignal.wait_for(guard, std::chrono::milliseconds(ms), [this] { return stopping; });
}

void UpdateServer::Impl::answerEvent(const juce::String& body, httplib::Response& response)
{
    auto fields = formFields(body);
    const auto expectedHash = EventReporter::accessHash(fields["pid"], juce::Time(Clock::nowMs()));
    const bool valid = fields["action"] == "plog" && fields["pk"] == expectedHash && fields["data"].isNotEmpty();

    const std::lock_guard<std::mutex> guard(lock);
    const auto answer = eventAnswer.isNotEmpty() ? eventAnswer : (valid ? "{\"status\":\"Success\"}" : "{\"status\":\"Denied\"}");
    response.set_content(toStd(answer), "application/json");
}

void UpdateServer::Impl::applyFault(const Fault& fault, httplib::Response& response)
{
    switch (fault.kind)
    {
        case Fault::Kind::Redirect:
            response.set_redirect(toStd(fault.text), fault.statusCode);
            return;
        case Fault::Kind::OldVersion:
            response.set_content(toStd(juce::String("[Old Version]\r\n") + fault.text), "text/plain");
            return;
        default:
            response.status = fault.statusCode;
            response.set_content(toStd(fault.text.isNotEmpty() ? fault.text : StatusCodeText(fault.statusCode)),
                                 "text/plain");
            return;
    }
}

void UpdateServer::Impl::serveFile(const juce::String& path, const std::optional<Fault>& fault,
                                   httplib::Response& response)
{
    const auto file = fileFor(path);
    if (!file.existsAsFile())
        return applyFault(Fault::status(404, "404 Not Found"), response);

    juce::MemoryBlock bytes;
    file.loadFileAsData(bytes);
    std::string content((const char*) bytes.getData(), bytes.getSize());
    const auto kind = fault ? fault->kind : Fault::Kind::Delay;

    if (kind == Fault::Kind::WrongSize)
        content = toStd(withWrongSize(fromStd(content)));
    else if (kind == Fault::Kind::WrongDigest)
        content = toStd(withWrongDigest(fromStd(content)));

    if (kind != Fault::Kind::Truncate)
        return response.set_content(content, contentTypeFor(file));

    auto shared = std::make_shared<std::string>(std::move(content));
    response.set_content_provider(shared->size(), contentTypeFor(file),
                                  [shared](size_t offset, size_t, httplib::DataSink& sink) {
                                      const auto half = shared->size() / 2;
                                      if (offset < half)
                                          sink.write(shared->data() + offset, half - offset);
                                      return offset < half;
                                  });
}

juce::File UpdateServer::Impl::fileFor(const juce::String& path) const
{
    const auto relative = path.trimCharactersAtStart("/");
    if (relative.isEmpty() || juce::StringArray::fromTokens(relative, "/", {}).contains(".."))
        return {};
    const auto file = root.getChildFile(relative);
    return file.isAChildOf(root) ? file : juce::File();
}

// ---- UpdateServer ----

juce::String UpdateServer::RecordedRequest::header(const juce::String& name) const
{
    for (const auto& [key, value] : headers)
        if (key.equalsIgnoreCase(name))
            return value;
    return {};
}

int UpdateServer::RecordedRequest::headerCount(const juce::String& name) const
{
    int count = 0;
    for (const auto& entry : headers)
        count += entry.first.equalsIgnoreCase(name) ? 1 : 0;
    return count;
}

Fault Fault::status(int code, const juce::String& body)
{
    return { Kind::Status, code, body, 0 };
}

Fault Fault::delay(int ms)
{
    return { Kind::Delay, 0, {}, ms };
}

Fault Fault::truncate()
{
    return { Kind::Truncate, 0, {}, 0 };
}

Fault Fault::oldVersion(const juce::String& message)
{
    return { Kind::OldVersion, 200, message, 0 };
}

Fault Fault::wrongSize()
{
    return { Kind::WrongSize, 0, {}, 0 };
}

Fault Fault::wrongDigest()
{
    return { Kind::WrongDigest, 0, {}, 0 };
}

Fault Fault::redirect(const juce::String& location, int code)
{
    return { Kind::Redirect, code, location, 0 };
}

UpdateServer::UpdateServer(juce::File root) : m_impl(std::make_unique<Impl>(std::move(root)))
{
    auto handler = [this](const httplib::Request& request, httplib::Response& response) {
        m_impl->handle(request, response);
    };
    m_impl->server.Get(".*", handler);
    m_impl->server.Post(".*", handler);
    m_impl->server.set_keep_alive_timeout(1);
}

UpdateServer::~UpdateServer()
{
    stop();
}

bool UpdateServer::start(int port)
{
    auto& server = m_impl->server;
    m_impl->port = port == 0 ? server.bind_to_any_port("127.0.0.1") : (server.bind_to_port("127.0.0.1", port) ? port : -1);
    if (m_impl->port <= 0)
        return false;
    m_impl->listener = std::thread([this] { m_impl->server.listen_after_bind(); });
    while (!m_impl->server.is_running())
        std::this_thread::yield();
    return true;
}

void UpdateServer::stop()
{
    {
        const std::lock_guard<std::mutex> guard(m_impl->lock);
        m_impl->stopping = true;
    }
    m_impl->stopSignal.notify_all();
    m_impl->server.stop();
    if (m_impl->listener.joinable())
        m_impl->listener.join();
}

int UpdateServer::port() const
{
    return m_impl->port;
}

juce::String UpdateServer::baseUrl() const
{
    return "http://127.0.0.1:" + juce::String(m_impl->port) + "/";
}

juce::String UpdateServer::releaseBaseUrl() const
{
    return baseUrl() + juce::String(kReleasePath).substring(1);
}

juce::String UpdateServer::betaBaseUrl() const
{
    return baseUrl() + juce::String(kBetaPath).substring(1);
}

juce::String UpdateServer::eventReportUrl() const
{
    return baseUrl() + juce::String(kEventPath).substring(1);
}

const juce::File& UpdateServer::root() const
{
    return m_impl->root;
}

void UpdateServer::setFault(const juce::String& path, const Fault& fault)
{
    const std::lock_guard<std::mutex> guard(m_impl->lock);
    m_impl->faults[path] = fault;
}

void UpdateServer::clearFault(const juce::String& path)
{
    const std::lock_guard<std::mutex> guard(m_impl->lock);
    m_impl->faults.erase(path);
}

void UpdateServer::clearFaults()
{
    const std::lock_guard<std::mutex> guard(m_impl->lock);
    m_impl->faults.clear();
}

void UpdateServer::setEventAnswer(const juce::String& answer)
{
    const std::lock_guard<std::mutex> guard(m_impl->lock);
    m_impl->eventAnswer = answer;
}

std::vector<UpdateServer::RecordedRequest> UpdateServer::requests() const
{
    const std::lock_guard<std::mutex> guard(m_impl->lock);
    return m_impl->requests;
}

std::vector<UpdateServer::RecordedRequest> UpdateServer::requestsTo(const juce::String& path) const
{
    std::vector<RecordedRequest> matching;
    for (auto& request : requests())
        if (request.path == path)
            matching.push_back(request);
    return matching;
}

void UpdateServer::clearRequests()
{
    const std::lock_guard<std::mutex> guard(m_impl->lock);
    m_impl->requests.clear();
}
