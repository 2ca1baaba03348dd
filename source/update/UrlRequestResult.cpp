#include "update/UrlRequestResult.h"

bool UrlRequestResult::takeIfDone()
{
    if (!isDone())
        return false;
    done.store(false, std::memory_order_relaxed);
    return true;
}

void UrlRequestResult::abandon()
{
    const std::lock_guard<std::mutex> lock(m_lock);
    ++m_serial;
    done.store(true, std::memory_order_release);
}

uint32_t UrlRequestResult::beginRequest(juce::MemoryBlock* destination)
{
    const std::lock_guard<std::mutex> lock(m_lock);
    done.store(false, std::memory_order_relaxed);
    body.clear();
    statusCode = -1;
    if (destination != nullptr)
        destination->reset();
    return ++m_serial;
}

bool UrlRequestResult::publish(uint32_t serial, UrlResponse&& response, juce::MemoryBlock* destination)
{
    const std::lock_guard<std::mutex> lock(m_lock);
    if (serial != m_serial)
        return false;

    opened = response.opened;
    statusCode = response.statusCode;
    body = std::move(response.body);
    if (destination != nullptr && response.opened && response.statusCode == 200)
        destination->swapWith(response.data);
    done.store(true, std::memory_order_release);
    return true;
}
