#pragma once

#include "update/UrlRequestResult.h"
#include "update/UtilityThread.h"

// One request to the update server on its own thread. The requester creates and starts it and
// then only polls its result record; the worker deletes itself about 100 ms after finishing.
// A request cannot be cancelled; see `UrlRequestResult::abandon` for giving up on one.
class GetUrlThread : public UtilityThread
{
public:
    // `result` (and `destination`, when given) belong to the requester and must outlive the worker.
    // `destination` receives the bytes of a 200 answer; any other answer goes to `result->body`.
    GetUrlThread(const juce::String& url, const juce::String& extraHeaders, UrlRequestResult* result,
                 juce::MemoryBlock* destination, bool usePost);

    void run() override;

    // Creates a worker and starts it at normal priority; the caller keeps no pointer to it.
    static void start(const juce::String& url, const juce::String& extraHeaders, UrlRequestResult* result,
                      juce::MemoryBlock* destination, bool usePost);

private:
    const juce::String url;
    const juce::String extraHeaders;
    UrlRequestResult* const result;
    juce::MemoryBlock* const destination;
    const bool usePost;
    const uint32_t m_serial;
};
