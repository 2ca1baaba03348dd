#pragma once

#include <juce_core/juce_core.h>

// Points the three server settings keys of a home folder at a closed loopback port, so a test
// or benchmark that runs the application without a local update server never looks up or
// contacts the maker's real hosts. Keys already present are kept.
namespace UnreachableServers
{
    inline constexpr const char* kBaseUrl = "http://127.0.0.1:9/halvane/";

    void writeInto(const juce::File& homeFolder);
}
