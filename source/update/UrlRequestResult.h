#pragma once

#include "update/UrlFetch.h"

#include <atomic>
#include <cstdint>
#include <mutex>

// The answer of one background request, owned by the requester and polled on the message thread.
//
// The worker writes `opened`, `statusCode`, `body` (and the requester's destination block) and
// then sets `done` with release ordering; the requester reads `done` with acquire ordering and
// only then the other fields. Each request started on the record gets a new serial number, and a
// worker publishes only while its number is still the current one: a request the requester gave
// up on (see `abandon`) can never overwrite the answer of a newer request on the same record.
class UrlRequestResult
{
public:
    std::atomic<bool> done { false };
    bool opened = false;
    int32_t statusCode = -1;
    juce::String body;

    UrlRequestResult() = default;

    // How long the background check and the image download wait before giving up on a request.
    static constexpr int64_t kGiveUpMs = 300000;

    bool isDone() const { return done.load(std::memory_order_acquire); }

    // True once when the answer has arrived: clears `done` so the same answer is taken only once.
    bool takeIfDone();

    // Stops waiting for the running request: whatever it answers later is dropped, and the record
    // reads as done with the values it holds now (no stream, status -1 when nothing arrived).
    void abandon();

    // Worker side. `beginRequest` resets the record for a new request and returns its serial;
    // `publish` stores the answer unless the request was abandoned or superseded meanwhile.
    uint32_t beginRequest(juce::MemoryBlock* destination);
    bool publish(uint32_t serial, UrlResponse&& response, juce::MemoryBlock* destination);

private:
    std::mutex m_lock;
    uint32_t m_serial = 0;

    JUCE_DECLARE_NON_COPYABLE(UrlRequestResult)
};
