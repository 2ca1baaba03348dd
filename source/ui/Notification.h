#pragma once

#include <juce_graphics/juce_graphics.h>

#include <cstdint>

// One line of the notification strip: a pending update of the application or of a pedal model.
struct Notification
{
    juce::String key;            // "APP_UPDATE" or platform tag + "_UPDATE"
    int button = -1;             // slot 0..5 of the button showing it
    int device = 0;              // 0 for the application
    uint32_t colour = 0xFF000000;  // text colour while its device is the connected one
    juce::Rectangle<int> bounds;

    static constexpr int kMaxButtons = 6;
    static constexpr const char* kAppUpdateKey = "APP_UPDATE";

    // Where entry `index` of the strip sits.
    static juce::Rectangle<int> boundsFor(int index) { return { 39, 418 + 18 * index, 498, 16 }; }
};
