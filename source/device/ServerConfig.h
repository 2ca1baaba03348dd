#pragma once

#include <juce_data_structures/juce_data_structures.h>

// Where the maker's servers are. The product defaults live here; an operator, the tests and the
// demo can point them elsewhere with the global settings keys below (read at start-up only).
namespace ServerConfig
{
    inline constexpr const char* kDefaultReleaseBaseUrl = "https://downloads.halvane.example/halvane/";
    inline constexpr const char* kDefaultBetaBaseUrl = "https://beta.halvane.example/halvane/betaCode/";
    inline constexpr const char* kDefaultEventReportUrl = "https://www.halvane.example/updater/event.php";

    inline constexpr const char* kReleaseKey = "updateServerUrl";
    inline constexpr const char* kBetaKey = "betaServerUrl";
    inline constexpr const char* kEventReportKey = "eventReportUrl";

    struct Urls
    {
        juce::String releaseBase = kDefaultReleaseBaseUrl;
        juce::String betaBase = kDefaultBetaBaseUrl;
        juce::String eventReport = kDefaultEventReportUrl;
    };

    // The defaults, each replaced by its settings key when that is present and not empty. Base
    // URLs always end in "/".
    Urls read(juce::PropertySet* settings);
}
