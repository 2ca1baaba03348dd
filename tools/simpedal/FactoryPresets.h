#pragma once

#include "presets/Preset.h"

// The presets a simulated pedal holds when new or after a factory reset: valid, distinct records
// for each slot, so a test can tell slots apart and a round trip shows every byte.
namespace FactoryPresets
{
    // Parameter block length of the models whose layout the application does not know.
    int bodyLength(int model);
    Preset make(int model, int slot);
}
