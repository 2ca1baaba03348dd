// The demo: the Halvane Update Tool with a simulated Nimbrel plugged in and a local update
// server, under its own home folder (~/.cache/halvane-demo) so that the user's own settings and
// log stay untouched. Takes no options.
#include "demo/DemoApplication.h"

juce::JUCEApplicationBase* juce_CreateApplication()
{
    return new DemoApplication();
}

int main(int argc, char* argv[])
{
    // Before JUCE starts any thread or reads $HOME.
    DemoSession::useHome(DemoSession::defaultHome());
    juce::JUCEApplicationBase::createInstance = &juce_CreateApplication;
    return juce::JUCEApplicationBase::main(argc, (const char**) argv);
}
