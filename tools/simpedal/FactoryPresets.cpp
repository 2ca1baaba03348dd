#include "simpedal/FactoryPresets.h"

namespace
{
const char* const kNameStems[] = { "Tape", "Analog", "Digital", "Reverse", "Dotted", "Swell", "Shimmer", "Hall" };

void fillNimbrelFields(Preset& preset, int slot)
{
    preset.DelayType = static_cast<uint8_t>(slot % 8);
    preset.Delay = 20.0f + static_cast<float>(slot) * 7.5f;
    preset.Ratio = static_cast<float>(slot % 4) * 0.25f;
    preset.Feedback = static_cast<float>(slot % 10) / 10.0f;
    preset.Mix = 0.5f;
    preset.Mod = static_cast<float>(slot % 5) * 0.2f;
    preset.Sensitivity = 0.75f;
    preset.Tone = static_cast<float>(slot % 16) / 16.0f;
    preset.Saturation = static_cast<float>(slot % 3) * 0.125f;
    preset.Dynamics = static_cast<uint8_t>(slot % 3);
    preset.DynDest = static_cast<uint8_t>(slot % 2);
    preset.Trails = slot % 2 == 1;
    preset.FootState = static_cast<uint8_t>(slot % 4);
}

void fillBody(Preset& preset, int model, int slot)
{
    preset.body.resize(static_cast<size_t>(FactoryPresets::bodyLength(model)));
    for (size_t i = 0; i < preset.body.size(); ++i)
        preset.body[i] = static_cast<uint8_t>(slot * 7 + static_cast<int>(i) * 13 + model);
}
}

int FactoryPresets::bodyLength(int model)
{
    return model == 3 ? 48 : 24;
}

Preset FactoryPresets::make(int model, int slot)
{
    Preset preset(nullptr, model);
    preset.SetName(juce::String(kNameStems[slot % 8]) + " " + juce::String(slot + 1).paddedLeft('0', 3));
    if (model == Preset::kNimbrelModel)
        fillNimbrelFields(preset, slot);
    else
        fillBody(preset, model, slot);
    preset.ClearModified();
    return preset;
}
