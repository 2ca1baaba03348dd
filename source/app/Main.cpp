#include "app/HVPlatformUpdater.h"

START_JUCE_APPLICATION(HVPlatformUpdater)
