#include "diagnostics/EventReporter.h"

#include "app/BuildInfo.h"
#include "app/Clock.h"
#include "diagnostics/SystemReport.h"
#include "update/UrlFetch.h"

#include <juce_cryptography/juce_cryptography.h>

namespace
{
bool staysUnescaped(unsigned char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')
           || juce::String("_-.*!'()").containsChar((juce::juce_wchar) c);
}

// The access key agreed with the event site: fixed fragments, the product and the local day.
juce::String accessKey(const juce::String& productId, juce::Time localTime)
{
    const juce::String fragments[] = { "hv", "plog", "fieldreport", "halvane" };
    return fragments[0] + "$" + fragments[1].toUpperCase() + fragments[2].substring(0, 5) + "$"
           + productId.toUpperCase() + "$" + fragments[3].toUpperCase() + localTime.formatted("%Y%m%d");
}
}

EventReporter::EventReporter(const juce::String& url, const juce::String& productId, const juce::String& systemParams,
                             bool beta, bool debug, const juce::String& computerName)
    : m_url(url),
      m_productId(productId),
      m_systemParams(systemParams),
      m_bBeta(beta),
      m_bDebug(debug),
      m_computerName(computerName)
{
}

void EventReporter::sendEvent(const juce::String& eventText, const juce::String& serial, const juce::String& version)
{
    reportEvent(eventText, serial, version);
}

bool EventReporter::reportEvent(const juce::String& eventText, const juce::String& serial, const juce::String& version)
{
    return postEvent(eventParams(eventText, serial, version));
}

juce::String EventReporter::eventParams(const juce::String& eventText, const juce::String& serial,
                                        const juce::String& version) const
{
    auto params = makeParam("event", eventText, false) + makeParam("sn", serial, false)
                  + makeParam("fw", version, false) + m_systemParams;
    if (m_bBeta)
        params += makeParam("beta", "1", false);
    if (m_bDebug)
        params += makeParam("debug", "1", false);
    return params + makeParam("tool", BuildInfo::appVersion(), true);
}

juce::String EventReporter::requestQuery(const juce::String& params) const
{
    const auto hash = accessHash(m_productId, juce::Time(Clock::nowMs()));
    return makeParam("action", "plog", false) + makeParam("pid", m_productId, false) + makeParam("pk", hash, false)
           + makeParam("data", params, true);
}

bool EventReporter::postEvent(const juce::String& params)
{
    const auto query = requestQuery(params);
    if (m_computerName == kDevelopmentMachineName)
        return true;

    // The query travels as the form body, byte for byte as built here: letting the URL layer
    // split and re-escape it would apply its own (different) set of unescaped characters.
    const auto response = UrlFetch::fetch(juce::URL(m_url).withPOSTData(query), {}, true, false);
    m_lastResponse = response.opened ? response.body.trim() : juce::String();
    return isAccepted(m_lastResponse);
}

juce::String EventReporter::makeParam(const juce::String& name, const juce::String& value, bool last)
{
    return escape(name) + "=" + escape(value) + (last ? "" : "&");
}

juce::String EventReporter::escape(const juce::String& text)
{
    static const char* const hex = "0123456789ABCDEF";
    juce::MemoryOutputStream out;
    for (auto p = text.toRawUTF8(); *p != 0; ++p)
    {
        const auto c = (unsigned char) *p;
        if (staysUnescaped(c))
            out.writeByte((char) c);
        else
            out << '%' << hex[c >> 4] << hex[c & 15];
    }
    return out.toString();
}

juce::String EventReporter::accessHash(const juce::String& productId, juce::Time localTime)
{
    return juce::MD5(accessKey(productId, localTime).toUTF8()).toHexString();
}

bool EventReporter::isAccepted(const juce::String& answer)
{
    const int status = answer.indexOf("status");
    return status >= 0 && answer.indexOf(status + 6, "Success") >= 0;
}

juce::String getSystemParams()
{
    const juce::String os = SystemReport::isWindows10() ? juce::String("Windows 10") : SystemReport::operatingSystemName();
    using SS = juce::SystemStats;
    return EventReporter::makeParam("os", os + (SystemReport::isWow64Process() ? "x64" : ""), false)
           + EventReporter::makeParam("ram", juce::String(SS::getMemorySizeInMegabytes()) + "mb", false)
           + EventReporter::makeParam("cpu", juce::String(SS::getNumCpus()) + "x"
                                                 + juce::String(SS::getCpuSpeedInMegahertz()) + "MHz", false);
}
