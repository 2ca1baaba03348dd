#include "update/GetUrlThread.h"

GetUrlThread::GetUrlThread(const juce::String& urlToFetch, const juce::String& headers, UrlRequestResult* resultRecord,
                           juce::MemoryBlock* destinationBlock, bool post)
    : UtilityThread("threadGetURL"),
      url(urlToFetch),
      extraHeaders(headers),
      result(resultRecord),
      destination(destinationBlock),
      usePost(post),
      m_serial(resultRecord->beginRequest(destinationBlock))
{
}

void GetUrlThread::run()
{
    auto response = UrlFetch::fetch(juce::URL(url), extraHeaders, usePost, destination != nullptr);
    result->publish(m_serial, std::move(response), destination);
    markFinished();
}

void GetUrlThread::start(const juce::String& url, const juce::String& extraHeaders, UrlRequestResult* result,
                         juce::MemoryBlock* destination, bool usePost)
{
    (new GetUrlThread(url, extraHeaders, result, destination, usePost))->startThread(juce::Thread::Priority::normal);
}
