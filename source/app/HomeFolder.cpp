#include "app/HomeFolder.h"

namespace HomeFolder
{
juce::File halvane()
{
    const auto home = juce::File::getSpecialLocation(juce::File::userHomeDirectory);
    if (home == juce::File())
        return {};
    return home.getChildFile("Halvane");
}
}
