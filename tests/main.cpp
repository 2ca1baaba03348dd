// Test entry point: every test process gets its own home folder, fails on any JUCE assertion, and
// runs inside an initialised message manager.
#include <gtest/gtest.h>

#include "updateserver/UnreachableServers.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <cstdlib>
#include <cstring>

namespace
{
class FailOnAssertionLogger : public juce::Logger
{
    void logMessage(const juce::String& message) override
    {
        std::fprintf(stderr, "%s\n", message.toRawUTF8());
        if (message.contains("JUCE Assertion failure"))
            ADD_FAILURE() << message;
    }
};

bool onlyListing(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--gtest_list_tests") == 0)
            return true;
    return false;
}

void useFreshHome()
{
    const auto home = juce::File::getSpecialLocation(juce::File::tempDirectory)
                          .getChildFile("hv-test-home-" + juce::String::toHexString(juce::Random::getSystemRandom().nextInt64()));
    home.createDirectory();
    setenv("HOME", home.getFullPathName().toRawUTF8(), 1);
}
}

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    if (onlyListing(argc, argv))
        return RUN_ALL_TESTS();

    useFreshHome();
    const auto home = juce::File::getSpecialLocation(juce::File::userHomeDirectory);

    // A factory that makes no application still counts as a standalone app, and only then does
    // JUCE install its tolerant X error handler (Xlib's default one exits on the first error).
    juce::JUCEApplicationBase::createInstance = []() -> juce::JUCEApplicationBase* { return nullptr; };
    FailOnAssertionLogger logger;
    juce::Logger::setCurrentLogger(&logger);
    int result = 0;
    {
        juce::ScopedJuceInitialiser_GUI gui;
        // After the initialiser: the settings file's save timer needs the message manager.
        UnreachableServers::writeInto(home);
        result = RUN_ALL_TESTS();
    }
    juce::Logger::setCurrentLogger(nullptr);
    home.deleteRecursively();
    return result;
}
