#pragma once

#include <juce_core/juce_core.h>

namespace HomeFolder
{
    // "<home>/Halvane", where the log file and, by default, the user's files live. An empty File
    // when the home folder is not known (an empty $HOME would otherwise put it at the root).
    juce::File halvane();
}
