#include "support/LocalUpdateServer.h"

#include "app/Clock.h"
#include "diagnostics/EventReporter.h"
#include "diagnostics/SystemReport.h"
#include "update/UrlFetch.h"

namespace
{
const juce::String kSystem = "os=Linux&ram=16000mb&cpu=8x2400MHz&";

class EventReporterTest : public LocalUpdateServerTest
{
protected:
    EventReporter reporter(bool beta = false, bool debug = false, const juce::String& host = "build-host")
    {
        return EventReporter(server->eventReportUrl(), "nimbrel", kSystem, beta, debug, host);
    }

    juce::String receivedBody() const
    {
        const auto seen = server->requestsTo(UpdateServer::kEventPath);
        return seen.empty() ? juce::String() : seen.back().body;
    }
};

TEST(EventReporterEncoding, EscapesUtf8BytesOutsideTheUnreservedSet)
{
    EXPECT_EQ(EventReporter::escape("Az09_-.*!'()"), "Az09_-.*!'()");
    EXPECT_EQ(EventReporter::escape("a b+c&d=e~/"), "a%20b%2Bc%26d%3De%7E%2F");
    EXPECT_EQ(EventReporter::escape(juce::String::fromUTF8("\xc3\xa9")), "%C3%A9");
    EXPECT_EQ(EventReporter::makeParam("sn", "A 1", false), "sn=A%201&");
    EXPECT_EQ(EventReporter::makeParam("tool", "v1", true), "tool=v1");
}

TEST(EventReporterEncoding, EventParametersComeInTheAgreedOrder)
{
    const EventReporter plain("http://x/", "nimbrel", kSystem, false, false, "h");
    EXPECT_EQ(plain.eventParams("Start Update", "SN 7", "v1.04.011.0"),
              "event=Start%20Update&sn=SN%207&fw=v1.04.011.0&" + kSystem + "tool=v1.04.011.0");

    const EventReporter flagged("http://x/", "nimbrel", kSystem, true, true, "h");
    EXPECT_EQ(flagged.eventParams("E", "S", "F"), "event=E&sn=S&fw=F&" + kSystem + "beta=1&debug=1&tool=v1.04.011.0");
}

TEST(EventReporterEncoding, SystemParametersDescribeThisComputer)
{
    const auto params = getSystemParams();
    EXPECT_TRUE(params.startsWith("os=" + EventReporter::escape(SystemReport::operatingSystemName()) + "&ram="));
    EXPECT_TRUE(params.endsWith("MHz&"));
    EXPECT_TRUE(params.contains("mb&cpu=" + juce::String(juce::SystemStats::getNumCpus()) + "x"));
}

TEST(EventReporterEncoding, AccessHashIsLowerHexAndChangesWithTheLocalDayAndProduct)
{
    const juce::Time morning(2024, 2, 10, 8, 0), evening(2024, 2, 10, 23, 59), nextDay(2024, 2, 11, 0, 1);
    const auto hash = EventReporter::accessHash("nimbrel", morning);
    EXPECT_EQ(hash.length(), 32);
    EXPECT_TRUE(hash.containsOnly("0123456789abcdef"));
    EXPECT_EQ(hash, EventReporter::accessHash("nimbrel", evening));
    EXPECT_NE(hash, EventReporter::accessHash("nimbrel", nextDay));
    EXPECT_NE(hash, EventReporter::accessHash("embervale", morning));
}

TEST(EventReporterEncoding, AnswerIsAcceptedOnlyWithSuccessAfterStatus)
{
    EXPECT_TRUE(EventReporter::isAccepted("{\"status\":\"Success\"}"));
    EXPECT_TRUE(EventReporter::isAccepted("status ... Success"));
    EXPECT_FALSE(EventReporter::isAccepted("Success, status unknown"));
    EXPECT_FALSE(EventReporter::isAccepted("{\"status\":\"success\"}"));
    EXPECT_FALSE(EventReporter::isAccepted(""));
}

TEST_F(EventReporterTest, BodyOnTheWireIsTheQueryWithTheEventEscapedTwice)
{
    Clock::ScopedManualClock clock;
    auto events = reporter();
    const auto params = events.eventParams("Update Complete (forced)+1", "HV 0042", "v1.05.000.0");
    EXPECT_TRUE(events.postEvent(params));

    const auto hash = EventReporter::accessHash("nimbrel", juce::Time(clock.now()));
    EXPECT_EQ(receivedBody(), "action=plog&pid=nimbrel&pk=" + hash + "&data=" + EventReporter::escape(params));
    EXPECT_TRUE(receivedBody().contains("data=event%3DUpdate%2520Complete%2520(forced)%252B1%26sn%3DHV%25200042%26"));

    const auto request = server->requestsTo(UpdateServer::kEventPath).back();
    EXPECT_EQ(request.method, "POST");
    EXPECT_EQ(request.header("Content-Type"), "application/x-www-form-urlencoded");
    EXPECT_FALSE(request.header("User-Agent").startsWith("Halvane"));
}

TEST_F(EventReporterTest, BetaAndDebugFlagsTravelBeforeTheTool)
{
    auto events = reporter(true, true);
    EXPECT_TRUE(events.reportEvent("First time connect", "S1", "v1.0"));
    EXPECT_TRUE(receivedBody().endsWith("cpu%3D8x2400MHz%26beta%3D1%26debug%3D1%26tool%3Dv1.04.011.0"));

    auto plain = reporter();
    plain.sendEvent("First time connect", "S1", "v1.0");
    EXPECT_TRUE(receivedBody().endsWith("cpu%3D8x2400MHz%26tool%3Dv1.04.011.0"));
}

TEST_F(EventReporterTest, SiteAnswerDecidesTheOutcomeAndIsKeptTrimmed)
{
    auto events = reporter();
    EXPECT_TRUE(events.reportEvent("Start Update", "S", "v1"));
    EXPECT_EQ(events.lastResponse(), "{\"status\":\"Success\"}");

    server->setEventAnswer("  Success! (status: pending)\n");
    EXPECT_FALSE(events.reportEvent("Start Update", "S", "v1"));
    EXPECT_EQ(events.lastResponse(), "Success! (status: pending)");

    // A key built on another day is turned away by the site.
    server->setEventAnswer({});
    juce::String staleQuery;
    {
        Clock::ScopedManualClock yesterday(Clock::nowMs() - 86'400'000);
        staleQuery = events.requestQuery(events.eventParams("E", "S", "F"));
    }
    const auto answer = UrlFetch::fetch(juce::URL(server->eventReportUrl()).withPOSTData(staleQuery), {}, true, false);
    EXPECT_EQ(answer.body, "{\"status\":\"Denied\"}");
}

TEST_F(EventReporterTest, NoAnswerIsAFailureWithAnEmptyResponse)
{
    EventReporter events(unreachableUrl(), "nimbrel", kSystem, false, false, "h");
    EXPECT_FALSE(events.reportEvent("Start Update", "S", "v1"));
    EXPECT_TRUE(events.lastResponse().isEmpty());
}

TEST_F(EventReporterTest, DevelopmentMachineSendsNothingAndCountsAsSuccess)
{
    auto events = reporter(false, false, EventReporter::kDevelopmentMachineName);
    EXPECT_TRUE(events.reportEvent("Start Update", "S", "v1"));
    EXPECT_TRUE(server->requests().empty());
}
}
